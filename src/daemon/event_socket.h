#pragma once

#include <deque>
#include <memory>
#include <string>

#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include "daemon/event_sink.h"

struct ServerContext;

// One client of the events WebSocket. Texts wait in a bounded queue; a
// client that does not take them fast enough is dropped, so that it can stall
// neither the others nor the link. What the client sends is read and dropped.
template <class Protocol>
class EventSocket : public EventSink, public std::enable_shared_from_this<EventSocket<Protocol>> {
public:
    using Stream = boost::beast::basic_stream<Protocol>;
    using Request = boost::beast::http::request<boost::beast::http::string_body>;

    EventSocket(Stream stream, ServerContext& context, std::shared_ptr<void> slot);
    void accept(Request request, std::string firstText);
    void send(std::shared_ptr<const std::string> text) override;

private:
    void onAccept(boost::beast::error_code ec);
    void read();
    void write();
    void drop();

    boost::beast::websocket::stream<Stream> m_ws;
    ServerContext& m_context;
    std::shared_ptr<void> m_slot;
    boost::beast::flat_buffer m_in;
    std::deque<std::shared_ptr<const std::string>> m_queue;
    std::shared_ptr<const std::string> m_sending;
    size_t m_queuedBytes = 0;
    std::string m_first;
    bool m_open = false;
    bool m_writing = false;
};
