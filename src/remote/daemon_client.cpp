#include "remote/daemon_client.h"

#include <chrono>
#include <cstdlib>
#include <fstream>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/local/stream_protocol.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <nlohmann/json.hpp>

#include "files/settings.h"

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;

namespace {

constexpr size_t kMaxReplyBytes = 8 * 1024 * 1024;

// Every step runs against one deadline, so that a qx7d that accepts and then
// never answers costs its caller the time-out and not forever.
// connect(socket, handler) starts the connection.
template <class Socket, class Connect>
DaemonClient::Reply exchange(asio::io_context& io, Socket& socket, Connect connect,
                             http::request<http::string_body>& request,
                             std::chrono::milliseconds timeout) {
    DaemonClient::Reply reply;
    beast::error_code result = asio::error::timed_out;
    bool done = false;
    beast::flat_buffer buffer;
    http::response_parser<http::string_body> parser;
    parser.body_limit(kMaxReplyBytes);
    auto finish = [&](beast::error_code ec) {
        result = ec;
        done = true;
    };
    connect(socket, [&](beast::error_code ec, auto&&...) {
        if (ec) return finish(ec);
        http::async_write(socket, request, [&](beast::error_code ec, size_t) {
            if (ec) return finish(ec);
            http::async_read(socket, buffer, parser,
                             [&](beast::error_code ec, size_t) { finish(ec); });
        });
    });
    io.run_for(timeout);
    if (!done) {
        beast::error_code ignored;
        socket.close(ignored);
        io.restart();
        io.run();  // the cancelled handlers, which still refer to this frame
        result = asio::error::timed_out;
    }
    if (result) {
        reply.error =
            result == asio::error::timed_out ? "qx7d did not answer in time" : result.message();
        return reply;
    }
    reply.status = static_cast<int>(parser.get().result_int());
    reply.body = std::move(parser.get().body());
    return reply;
}

std::string readToken(const std::string& path) {
    std::ifstream in(path);
    std::string token;
    std::getline(in, token);
    return token;
}

}  // namespace

std::string DaemonClient::defaultSocket() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime && *runtime ? std::string(runtime) + "/qx7d.sock" : std::string();
}

std::string DaemonClient::tokenPath() {
    return Settings::userDataFolder() + kTokenFile;
}

bool DaemonClient::configure(const std::string& target, std::string& error) {
    constexpr std::string_view kScheme = "http://";
    if (target.rfind(kScheme, 0) != 0) {
        m_tcp = false;
        m_socket = target.empty() ? defaultSocket() : target;
        if (m_socket.empty()) error = "XDG_RUNTIME_DIR is not set: name qx7d's socket or URL";
        return !m_socket.empty();
    }
    std::string rest = target.substr(kScheme.size());
    size_t fragment = rest.find("#token=");
    m_token = fragment == std::string::npos ? readToken(tokenPath()) : rest.substr(fragment + 7);
    rest = rest.substr(0, std::min(fragment, rest.find('/')));
    size_t colon = rest.rfind(':');
    if (rest.empty() || colon == std::string::npos || colon + 1 == rest.size()) {
        error = "not http://HOST:PORT: " + target;
        return false;
    }
    m_tcp = true;
    m_host = rest;
    m_address = rest.substr(0, colon);
    if (m_address.size() > 2 && m_address.front() == '[')
        m_address = m_address.substr(1, m_address.size() - 2);
    m_port = rest.substr(colon + 1);
    return true;
}

DaemonClient::Reply DaemonClient::request(const std::string& method, const std::string& path,
                                          const std::string& body) const {
    http::request<http::string_body> request(http::string_to_verb(method), path, 11);
    request.set(http::field::host, m_tcp ? m_host : "localhost");
    if (m_tcp) request.set(http::field::authorization, "Bearer " + m_token);
    request.set(http::field::content_type, "application/json");
    request.body() = body;
    request.prepare_payload();
    asio::io_context io;
    if (!m_tcp) {
        asio::local::stream_protocol::socket socket(io);
        asio::local::stream_protocol::endpoint endpoint(m_socket);
        auto connect = [&](auto& s, auto handler) { s.async_connect(endpoint, handler); };
        return exchange(io, socket, connect, request, m_timeout);
    }
    beast::error_code ec;
    asio::ip::tcp::resolver resolver(io);
    auto endpoints = resolver.resolve(m_address, m_port, ec);
    if (ec) return {0, {}, ec.message()};
    asio::ip::tcp::socket socket(io);
    // Each address in turn ("localhost" may name ::1 before 127.0.0.1).
    auto connect = [&](auto& s, auto handler) { asio::async_connect(s, endpoints, handler); };
    return exchange(io, socket, connect, request, m_timeout);
}

std::string DaemonClient::problem(const Reply& reply) {
    if (reply.status == 0) return reply.error;
    nlohmann::json doc = nlohmann::json::parse(reply.body, nullptr, false);
    if (doc.is_object() && doc.contains("error") && doc["error"].is_object())
        return doc["error"].value("message", "") + " (" + std::to_string(reply.status) + ")";
    return "qx7d answered " + std::to_string(reply.status);
}
