#include "test_http.h"

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/local/stream_protocol.hpp>
#include <boost/asio/read.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace testhttp {
namespace {

template <class Socket>
Reply exchange(Socket& socket, const std::string& method, const std::string& target,
               const std::string& body, const Headers& headers, const std::string& host) {
    http::request<http::string_body> request(http::string_to_verb(method), target, 11);
    request.method_string(method);
    request.set(http::field::host, host);
    for (const auto& [name, value] : headers) request.set(name, value);
    request.body() = body;
    request.prepare_payload();
    beast::error_code ec;
    http::write(socket, request, ec);
    beast::flat_buffer buffer;
    http::response<http::string_body> response;
    http::read(socket, buffer, response, ec);
    if (ec) return {};
    return {static_cast<int>(response.result_int()), response.body()};
}

tcp::endpoint loopback(unsigned port) {
    return {asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)};
}

}  // namespace

Reply tcp(unsigned port, const std::string& method, const std::string& target,
          const std::string& body, const Headers& headers) {
    asio::io_context io;
    tcp::socket socket(io);
    socket.connect(loopback(port));
    std::string host = "127.0.0.1:" + std::to_string(port);
    for (const auto& [name, value] : headers)
        if (name == "Host") host = value;
    return exchange(socket, method, target, body, headers, host);
}

Reply local(const std::string& path, const std::string& method, const std::string& target,
            const std::string& body) {
    asio::io_context io;
    asio::local::stream_protocol::socket socket(io);
    socket.connect(asio::local::stream_protocol::endpoint(path));
    return exchange(socket, method, target, body, {}, "localhost");
}

std::string raw(unsigned port, const std::string& bytes) {
    asio::io_context io;
    tcp::socket socket(io);
    socket.connect(loopback(port));
    beast::error_code ec;
    asio::write(socket, asio::buffer(bytes), ec);
    std::string out;
    asio::read(socket, asio::dynamic_buffer(out), ec);
    return out;
}

struct Events::Socket {
    asio::io_context io;
    beast::websocket::stream<tcp::socket> ws{io};
};

Events::Events(unsigned port, const std::string& token, bool read)
    : m_socket(std::make_unique<Socket>()) {
    beast::error_code ec;
    m_socket->ws.next_layer().connect(loopback(port), ec);
    if (!ec)
        m_socket->ws.handshake("127.0.0.1:" + std::to_string(port), "/api/v1/events?token=" + token,
                               ec);
    m_open = !ec;
    if (!m_open || !read) return;
    m_reader = std::thread([this] {
        beast::flat_buffer buffer;
        beast::error_code error;
        for (;;) {
            m_socket->ws.read(buffer, error);
            if (error) return;
            std::lock_guard lock(m_mutex);
            m_texts.push_back(beast::buffers_to_string(buffer.data()));
            buffer.clear();
        }
    });
}

Events::~Events() {
    beast::error_code ignored;
    m_socket->ws.next_layer().shutdown(tcp::socket::shutdown_both, ignored);
    if (m_reader.joinable()) m_reader.join();
    m_socket->ws.next_layer().close(ignored);
}

std::vector<std::string> Events::texts() const {
    std::lock_guard lock(m_mutex);
    return {m_texts.begin(), m_texts.end()};
}

bool Events::received(const std::string& type, int index, int value) const {
    std::lock_guard lock(m_mutex);
    for (const std::string& t : m_texts) {
        nlohmann::json e = nlohmann::json::parse(t, nullptr, false);
        if (e.is_object() && e.value("type", "") == type &&
            (index < 0 || (e.value("index", -1) == index && e.value("value", -1) == value)))
            return true;
    }
    return false;
}

}  // namespace testhttp
