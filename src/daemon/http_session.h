#pragma once

#include <memory>
#include <optional>

#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>

#include "daemon/api_router.h"

struct ServerContext;

// One HTTP/1.1 connection, on TCP (guarded: Host, Origin, token) or on the
// Unix socket (trusted by its file mode). Reads requests with the limits,
// answers them through the router, and hands a WebSocket upgrade of the events
// path to an EventSocket.
template <class Protocol>
class HttpSession : public std::enable_shared_from_this<HttpSession<Protocol>> {
public:
    using Stream = boost::beast::basic_stream<Protocol>;

    // slot is released when the connection ends, the WebSocket's included.
    HttpSession(typename Protocol::socket socket, ServerContext& context, bool guarded,
                std::shared_ptr<void> slot);
    void run();

private:
    using Request = boost::beast::http::request<boost::beast::http::string_body>;

    void read();
    void onRead(boost::beast::error_code ec);
    void serve();
    // Null when the request may go on, else the refusal and whether to delay it.
    std::optional<ApiResponse> refusal(const Request& request, bool& delay) const;
    void poll(std::function<std::optional<ApiResponse>()> pending);
    void reply(const ApiResponse& response, bool close = false);
    void replyLater(ApiResponse response);
    void onWrite(bool close, boost::beast::error_code ec);
    void shut();

    Stream m_stream;
    ServerContext& m_context;
    bool m_guarded;
    std::shared_ptr<void> m_slot;
    boost::beast::flat_buffer m_buffer;
    std::optional<boost::beast::http::request_parser<boost::beast::http::string_body>> m_parser;
    boost::beast::http::response<boost::beast::http::string_body> m_response;
    boost::asio::steady_timer m_timer;
    bool m_keepAlive = false;
};
