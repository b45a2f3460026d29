#include "daemon/http_session.h"

#include <boost/asio/dispatch.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/local/stream_protocol.hpp>
#include <boost/beast/websocket.hpp>

#include "daemon/event_socket.h"
#include "daemon/request_guard.h"
#include "daemon/server_context.h"

namespace beast = boost::beast;
namespace http = beast::http;

namespace {

constexpr std::chrono::milliseconds kPollInterval{5};

std::string_view view(beast::string_view s) {
    return {s.data(), s.size()};
}

std::string pathOf(std::string_view target) {
    return std::string(target.substr(0, target.find('?')));
}

// The "token" of the query; only the events WebSocket takes it there.
std::string_view queryToken(std::string_view target) {
    size_t at = target.find("?token=");
    if (at == std::string_view::npos) at = target.find("&token=");
    if (at == std::string_view::npos) return {};
    std::string_view rest = target.substr(at + 7);
    return rest.substr(0, rest.find('&'));
}

}  // namespace

template <class Protocol>
HttpSession<Protocol>::HttpSession(typename Protocol::socket socket, ServerContext& context,
                                   bool guarded, std::shared_ptr<void> slot)
    : m_stream(std::move(socket)),
      m_context(context),
      m_guarded(guarded),
      m_slot(std::move(slot)),
      m_timer(m_stream.get_executor()) {}

template <class Protocol>
void HttpSession<Protocol>::run() {
    boost::asio::dispatch(m_stream.get_executor(),
                          [self = this->shared_from_this()] { self->read(); });
}

template <class Protocol>
void HttpSession<Protocol>::read() {
    m_parser.emplace();
    m_parser->body_limit(m_context.limits.bodyBytes);
    m_parser->header_limit(static_cast<uint32_t>(m_context.limits.headerBytes));
    m_stream.expires_after(m_context.limits.idle);
    http::async_read(
        m_stream, m_buffer, *m_parser,
        [self = this->shared_from_this()](beast::error_code ec, size_t) { self->onRead(ec); });
}

template <class Protocol>
void HttpSession<Protocol>::onRead(beast::error_code ec) {
    m_keepAlive = false;
    if (!ec) return serve();
    if (ec == http::error::body_limit)
        return reply(ApiRouter::error(413, "too_large", "the body is too large"), true);
    if (ec == http::error::header_limit)
        return reply(ApiRouter::error(431, "headers_too_large", "the headers are too large"), true);
    // A malformed request is told so; a closed or silent connection just ends.
    bool malformed =
        ec.category() == beast::http::make_error_code(http::error::bad_target).category() &&
        ec != http::error::end_of_stream && ec != http::error::partial_message;
    if (malformed)
        return reply(ApiRouter::error(400, "bad_request", "not an HTTP/1.1 request"), true);
    shut();
}

template <class Protocol>
std::optional<ApiResponse> HttpSession<Protocol>::refusal(const Request& request,
                                                          bool& delay) const {
    delay = false;
    if (static_cast<size_t>(std::distance(request.begin(), request.end())) >
        m_context.limits.headerCount)
        return ApiRouter::error(431, "too_many_headers", "the request has too many headers");
    if (!m_guarded) return std::nullopt;
    std::string path = pathOf(view(request.target()));
    RequestGuard::Request asked{
        view(request[http::field::host]), view(request[http::field::origin]),
        view(request[http::field::authorization]),
        path == ApiRouter::kEventsPath ? queryToken(view(request.target())) : std::string_view(),
        !ApiRouter::isPublic(path)};
    switch (m_context.guard.check(asked)) {
        case RequestGuard::Verdict::BadHost:
            return ApiRouter::error(403, "bad_host", "the Host is not one this server listens as");
        case RequestGuard::Verdict::BadOrigin:
            return ApiRouter::error(403, "bad_origin", "requests from other sites are refused");
        case RequestGuard::Verdict::NoToken:
            delay = true;
            return ApiRouter::error(401, "unauthorized", "a valid bearer token is needed");
        default:
            return std::nullopt;
    }
}

template <class Protocol>
void HttpSession<Protocol>::serve() {
    Request& request = m_parser->get();
    m_keepAlive = request.keep_alive();
    bool delay = false;
    if (std::optional<ApiResponse> refused = refusal(request, delay)) {
        m_keepAlive = false;
        if (delay) return replyLater(*refused);
        return reply(*refused, true);
    }
    std::string target(view(request.target()));
    if (beast::websocket::is_upgrade(request) && pathOf(target) == ApiRouter::kEventsPath) {
        auto socket = std::make_shared<EventSocket<Protocol>>(std::move(m_stream), m_context,
                                                              std::move(m_slot));
        socket->accept(m_parser->release(), m_context.router.linkEvent());
        return;
    }
    ApiResult result = m_context.router.handle(
        {std::string(view(request.method_string())), target, std::move(request.body())});
    if (result.pending) return poll(std::move(result.pending));
    reply(result.response);
}

// A job's answer: looked for every few milliseconds, the server's thread free between.
template <class Protocol>
void HttpSession<Protocol>::poll(std::function<std::optional<ApiResponse>()> pending) {
    if (std::optional<ApiResponse> done = pending()) return reply(*done);
    m_stream.expires_never();
    m_timer.expires_after(kPollInterval);
    m_timer.async_wait([self = this->shared_from_this(),
                        pending = std::move(pending)](beast::error_code ec) mutable {
        if (!ec) self->poll(std::move(pending));
    });
}

template <class Protocol>
void HttpSession<Protocol>::replyLater(ApiResponse response) {
    m_timer.expires_after(m_context.limits.refusalDelay);
    m_timer.async_wait([self = this->shared_from_this(), response](beast::error_code ec) {
        if (!ec) self->reply(response, true);
    });
}

template <class Protocol>
void HttpSession<Protocol>::reply(const ApiResponse& response, bool close) {
    if (close) m_keepAlive = false;
    m_response = {};
    m_response.version(11);
    m_response.result(static_cast<http::status>(response.status));
    m_response.set(http::field::server, "qx7d");
    m_response.set(http::field::content_type, response.contentType);
    m_response.set(http::field::cache_control, "no-store");
    m_response.set("X-Content-Type-Options", "nosniff");
    m_response.body() = response.body;
    m_response.keep_alive(m_keepAlive);
    m_response.prepare_payload();
    m_stream.expires_after(m_context.limits.idle);
    http::async_write(m_stream, m_response,
                      [self = this->shared_from_this()](beast::error_code ec, size_t) {
                          self->onWrite(!self->m_keepAlive, ec);
                      });
}

template <class Protocol>
void HttpSession<Protocol>::onWrite(bool close, beast::error_code ec) {
    if (ec || close) return shut();
    read();
}

template <class Protocol>
void HttpSession<Protocol>::shut() {
    beast::error_code ignored;
    m_stream.socket().shutdown(Protocol::socket::shutdown_both, ignored);
    m_stream.close();
}

template class HttpSession<boost::asio::ip::tcp>;
template class HttpSession<boost::asio::local::stream_protocol>;
