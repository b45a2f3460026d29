#pragma once

#include <memory>
#include <string>

#include "daemon/daemon_ui.h"
#include "daemon/http_server.h"
#include "link/link.h"
#include "link/preset_jobs.h"

class ApiRouter;
class TransportChoice;

// qx7d put together: the link on the chosen transport with its preset jobs,
// the API on it and the server in front of it.
class Daemon {
public:
    // The choice must outlive the daemon.
    Daemon(TransportChoice& choice, HttpServer::Config config);
    ~Daemon();
    Daemon(const Daemon&) = delete;
    Daemon& operator=(const Daemon&) = delete;

    // Opens the transport, binds the listeners and starts the link; false,
    // with a message, when one of them fails.
    bool start(std::string& error);
    void stop();

    Link& link() { return m_link; }
    DaemonUi& ui() { return m_ui; }
    HttpServer& server() { return *m_server; }

private:
    TransportChoice& m_choice;
    std::string m_presetFolder;
    DaemonUi m_ui;
    Link m_link;
    PresetJobs m_jobs;
    std::unique_ptr<ApiRouter> m_router;
    std::unique_ptr<HttpServer> m_server;
    bool m_started = false;
};
