#include "remote/daemon_events.h"

#include <sys/socket.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/local/stream_protocol.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/websocket.hpp>

#include "remote/daemon_client.h"

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace websocket = beast::websocket;

namespace {

constexpr const char* kEventsPath = "/api/v1/events";
constexpr size_t kMaxMessageBytes = 64 * 1024;

// The socket and its io_context, owned together.
template <class Socket>
struct Connection {
    asio::io_context io;
    websocket::stream<Socket> ws{io};
};

}  // namespace

DaemonEvents::DaemonEvents(std::function<void()> wake) : m_wake(std::move(wake)) {}

DaemonEvents::~DaemonEvents() {
    close();
}

bool DaemonEvents::open(const DaemonClient& client, std::string& error) {
    close();
    beast::error_code ec;
    if (!client.tcp()) {
        auto c = std::make_shared<Connection<asio::local::stream_protocol::socket>>();
        c->ws.next_layer().connect(asio::local::stream_protocol::endpoint(client.socketPath()), ec);
        if (!ec) c->ws.handshake("localhost", kEventsPath, ec);
        if (ec) {
            error = ec.message();
            return false;
        }
        startReading(c, c->ws, c->ws.next_layer().native_handle());
        return true;
    }
    auto c = std::make_shared<Connection<asio::ip::tcp::socket>>();
    asio::ip::tcp::resolver resolver(c->io);
    auto endpoints = resolver.resolve(client.address(), client.port(), ec);
    if (!ec) asio::connect(c->ws.next_layer(), endpoints, ec);
    std::string bearer = "Bearer " + client.token();
    c->ws.set_option(websocket::stream_base::decorator([bearer](websocket::request_type& request) {
        request.set(beast::http::field::authorization, bearer);
    }));
    if (!ec) c->ws.handshake(client.hostPort(), kEventsPath, ec);
    if (ec) {
        error = ec.message();
        return false;
    }
    startReading(c, c->ws, c->ws.next_layer().native_handle());
    return true;
}

template <class Stream>
void DaemonEvents::startReading(std::shared_ptr<void> owner, Stream& stream, int fd) {
    stream.read_message_max(kMaxMessageBytes);
    {
        std::lock_guard lock(m_mutex);
        m_open = true;
        m_fd = fd;
        m_owner = std::move(owner);
    }
    m_thread = std::jthread([this, &stream] {
        beast::flat_buffer buffer;
        beast::error_code ec;
        while (!ec) {
            stream.read(buffer, ec);
            if (!ec) push(beast::buffers_to_string(buffer.data()));
            buffer.clear();
        }
        {
            std::lock_guard lock(m_mutex);
            m_open = false;
        }
        m_wake();
    });
}

void DaemonEvents::push(std::string text) {
    {
        std::lock_guard lock(m_mutex);
        m_texts.push_back(std::move(text));
    }
    m_wake();
}

// A blocking read ends when its socket is shut down; the socket itself is
// closed only after the thread, so that its number cannot be reused meanwhile.
void DaemonEvents::close() {
    {
        std::lock_guard lock(m_mutex);
        if (m_fd >= 0) ::shutdown(m_fd, SHUT_RDWR);
    }
    if (m_thread.joinable()) m_thread.join();
    std::lock_guard lock(m_mutex);
    m_fd = -1;
    m_open = false;
    m_owner.reset();
    m_texts.clear();
}

bool DaemonEvents::isOpen() const {
    std::lock_guard lock(m_mutex);
    return m_open;
}

std::vector<std::string> DaemonEvents::take() {
    std::lock_guard lock(m_mutex);
    std::vector<std::string> out(std::make_move_iterator(m_texts.begin()),
                                 std::make_move_iterator(m_texts.end()));
    m_texts.clear();
    return out;
}
