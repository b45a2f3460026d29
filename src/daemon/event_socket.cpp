#include "daemon/event_socket.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/local/stream_protocol.hpp>

#include "daemon/event_hub.h"
#include "daemon/server_context.h"

namespace beast = boost::beast;
namespace websocket = beast::websocket;

template <class Protocol>
EventSocket<Protocol>::EventSocket(Stream stream, ServerContext& context,
                                   std::shared_ptr<void> slot)
    : m_ws(std::move(stream)), m_context(context), m_slot(std::move(slot)) {}

template <class Protocol>
void EventSocket<Protocol>::accept(Request request, std::string firstText) {
    m_first = std::move(firstText);
    beast::get_lowest_layer(m_ws).expires_never();
    m_ws.set_option(websocket::stream_base::timeout::suggested(beast::role_type::server));
    m_ws.read_message_max(m_context.limits.messageBytes);
    m_ws.async_accept(
        request, [self = this->shared_from_this()](beast::error_code ec) { self->onAccept(ec); });
}

template <class Protocol>
void EventSocket<Protocol>::onAccept(beast::error_code ec) {
    if (ec) return;
    m_open = true;
    m_context.hub.add(this->shared_from_this());
    send(std::make_shared<const std::string>(std::move(m_first)));
    read();
}

template <class Protocol>
void EventSocket<Protocol>::read() {
    m_ws.async_read(m_in, [self = this->shared_from_this()](beast::error_code ec, size_t) {
        if (ec) {
            self->drop();
            return;
        }
        self->m_in.clear();
        self->read();
    });
}

template <class Protocol>
void EventSocket<Protocol>::send(std::shared_ptr<const std::string> text) {
    if (!m_open) return;
    if (m_queuedBytes + text->size() > m_context.limits.queuedBytes) {
        drop();
        return;
    }
    m_queuedBytes += text->size();
    m_queue.push_back(std::move(text));
    if (!m_writing) write();
}

// The text in flight is held apart from the queue, which a drop may clear.
template <class Protocol>
void EventSocket<Protocol>::write() {
    m_writing = true;
    m_sending = std::move(m_queue.front());
    m_queue.pop_front();
    m_queuedBytes -= m_sending->size();
    m_ws.text(true);
    m_ws.async_write(boost::asio::buffer(*m_sending),
                     [self = this->shared_from_this()](beast::error_code ec, size_t) {
                         self->m_writing = false;
                         self->m_sending.reset();
                         if (ec || !self->m_open) return self->drop();
                         if (!self->m_queue.empty()) self->write();
                     });
}

// Closing the socket ends the pending read and write; their handlers hold
// the last references.
template <class Protocol>
void EventSocket<Protocol>::drop() {
    m_open = false;
    m_queue.clear();
    m_queuedBytes = 0;
    beast::error_code ignored;
    beast::get_lowest_layer(m_ws).socket().shutdown(Protocol::socket::shutdown_both, ignored);
    beast::get_lowest_layer(m_ws).socket().close(ignored);
}

template class EventSocket<boost::asio::ip::tcp>;
template class EventSocket<boost::asio::local::stream_protocol>;
