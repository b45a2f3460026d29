#include "daemon/http_server.h"

#include <atomic>
#include <cstdio>
#include <thread>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/local/stream_protocol.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>

#include <sys/stat.h>
#include <unistd.h>

#include "daemon/api_router.h"
#include "daemon/daemon_ui.h"
#include "daemon/event_hub.h"
#include "daemon/http_session.h"
#include "daemon/request_guard.h"
#include "daemon/server_context.h"
#include "link/link_event.h"

namespace asio = boost::asio;
using tcp = asio::ip::tcp;
using local = asio::local::stream_protocol;

namespace {

constexpr std::chrono::milliseconds kWatchInterval{100};

}  // namespace

struct HttpServer::Inner {
    Inner(ApiRouter& router, DaemonUi& ui, Config config)
        : ui(ui),
          config(std::move(config)),
          guard(this->config.token, {}),
          context{router, guard, hub, this->config.limits} {}

    template <class Acceptor>
    void accept(Acceptor& acceptor, bool guarded);
    bool bindTcp(std::string& error);
    bool bindUnix(std::string& error);
    // Tells the clients of changed values. Values from the device are told at
    // once (tellChangesSoon); the scan every kWatchInterval catches what
    // changes the mirror without the device, such as a job's own writes.
    void watch();
    // From any thread; one scan serves every change told before it runs.
    void tellChangesSoon();
    void tellChanges();
    // A share of the connection limit, given back when its last holder ends.
    std::shared_ptr<void> slot();

    DaemonUi& ui;
    Config config;
    RequestGuard guard;
    EventHub hub;
    ServerContext context;
    asio::io_context io{1};
    asio::steady_timer watchTimer{io};
    std::vector<std::unique_ptr<tcp::acceptor>> tcpAcceptors;
    std::unique_ptr<local::acceptor> unixAcceptor;
    std::vector<unsigned> ports;
    std::jthread thread;
    bool running = false;
    std::atomic<bool> changesQueued{false};
};

void HttpServer::Inner::watch() {
    tellChanges();
    watchTimer.expires_after(kWatchInterval);
    watchTimer.async_wait([this](boost::system::error_code ec) {
        if (!ec) watch();
    });
}

void HttpServer::Inner::tellChangesSoon() {
    if (changesQueued.exchange(true)) return;
    asio::post(io, [this] {
        changesQueued = false;
        tellChanges();
    });
}

void HttpServer::Inner::tellChanges() {
    for (const std::string& text : context.router.changedEvents()) hub.broadcast(text);
}

std::shared_ptr<void> HttpServer::Inner::slot() {
    ++context.connections;
    std::atomic<size_t>* count = &context.connections;
    return std::shared_ptr<void>(nullptr, [count](void*) { --*count; });
}

template <class Acceptor>
void HttpServer::Inner::accept(Acceptor& acceptor, bool guarded) {
    using Protocol = typename Acceptor::protocol_type;
    acceptor.async_accept(
        [this, &acceptor, guarded](boost::system::error_code ec, typename Protocol::socket socket) {
            if (ec == asio::error::operation_aborted) return;
            // Past the limit a connection is closed at once, unread.
            if (!ec && context.connections < context.limits.connections)
                std::make_shared<HttpSession<Protocol>>(std::move(socket), context, guarded, slot())
                    ->run();
            accept(acceptor, guarded);
        });
}

bool HttpServer::Inner::bindTcp(std::string& error) {
    for (const Listen& listen : config.tcp) {
        boost::system::error_code ec;
        auto address = asio::ip::make_address(listen.address, ec);
        if (ec) {
            error = "not an address: " + listen.address;
            return false;
        }
        auto acceptor = std::make_unique<tcp::acceptor>(io);
        tcp::endpoint endpoint(address, static_cast<unsigned short>(listen.port));
        acceptor->open(endpoint.protocol(), ec);
        if (!ec) acceptor->set_option(asio::socket_base::reuse_address(true), ec);
        if (!ec) acceptor->bind(endpoint, ec);
        if (!ec) acceptor->listen(asio::socket_base::max_listen_connections, ec);
        if (ec) {
            error = "cannot listen on " + listen.address + ":" + std::to_string(listen.port) +
                    ": " + ec.message();
            return false;
        }
        unsigned port = acceptor->local_endpoint().port();
        ports.push_back(port);
        guard.addHosts(RequestGuard::hostsFor(listen.address, port));
        tcpAcceptors.push_back(std::move(acceptor));
    }
    return true;
}

bool HttpServer::Inner::bindUnix(std::string& error) {
    if (config.unixPath.empty()) return true;
    struct stat st {};
    // Only a socket left by an earlier run is replaced, never another file.
    if (::lstat(config.unixPath.c_str(), &st) == 0 && S_ISSOCK(st.st_mode))
        ::unlink(config.unixPath.c_str());
    boost::system::error_code ec;
    unixAcceptor = std::make_unique<local::acceptor>(io);
    unixAcceptor->open(local(), ec);
    // The socket file is made with mode 0600 from the start.
    mode_t before = ::umask(0177);
    if (!ec) unixAcceptor->bind(local::endpoint(config.unixPath), ec);
    ::umask(before);
    if (!ec) unixAcceptor->listen(asio::socket_base::max_listen_connections, ec);
    if (ec) {
        error = "cannot listen on " + config.unixPath + ": " + ec.message();
        return false;
    }
    return true;
}

HttpServer::HttpServer(ApiRouter& router, DaemonUi& ui, Config config)
    : m_inner(std::make_unique<Inner>(router, ui, std::move(config))) {}

HttpServer::~HttpServer() {
    stop();
}

bool HttpServer::start(std::string& error) {
    Inner& in = *m_inner;
    if (!in.bindTcp(error) || !in.bindUnix(error)) return false;
    for (auto& acceptor : in.tcpAcceptors) in.accept(*acceptor, true);
    if (in.unixAcceptor) in.accept(*in.unixAcceptor, false);
    ApiRouter& router = in.context.router;
    router.setWritten([this](const std::string& text) { m_inner->hub.broadcast(text); });
    in.watch();
    in.ui.setListener([this, &router](int code, int) {
        if (code == DaemonUi::kValuesChanged) return m_inner->tellChangesSoon();
        asio::post(m_inner->io, [this, &router, code] {
            // The values just read are taken as told now, before a client can
            // hear of the read and change one: a scan after that would swallow it.
            if (code == LinkEvent::ReadComplete) m_inner->tellChanges();
            std::string text = router.eventText(code);
            if (!text.empty()) m_inner->hub.broadcast(text);
        });
    });
    in.running = true;
    in.thread = std::jthread([&in] { in.io.run(); });
    return true;
}

void HttpServer::stop() {
    Inner& in = *m_inner;
    if (!in.running) return;
    in.ui.setListener({});
    in.io.stop();
    in.thread.join();
    in.running = false;
    if (!in.config.unixPath.empty()) ::unlink(in.config.unixPath.c_str());
}

std::vector<unsigned> HttpServer::ports() const {
    return m_inner->ports;
}

void HttpServer::broadcast(const std::string& text) {
    asio::post(m_inner->io, [this, text] { m_inner->hub.broadcast(text); });
}

size_t HttpServer::connections() const {
    return m_inner->context.connections;
}
