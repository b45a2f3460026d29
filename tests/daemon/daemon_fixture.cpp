#include "daemon_fixture.h"

#include <stdexcept>

#include "support/wait_for.h"

DaemonFixture::DaemonFixture(ServerLimits limits) {
    std::vector<std::string> args{"--simulated"};
    std::string error;
    if (!m_choice.parse(args, error)) throw std::runtime_error(error);
    HttpServer::Config config{{{"127.0.0.1", 0}}, socket(), kToken, limits};
    m_daemon = std::make_unique<Daemon>(m_choice, config);
    if (!m_daemon->start(error)) throw std::runtime_error(error);
    m_port = m_daemon->server().ports().at(0);
    if (!waitFor([this] { return m_daemon->ui().valuesRead(); }))
        throw std::runtime_error("the simulated device was not read");
}

DaemonFixture::~DaemonFixture() {
    m_daemon->stop();
}
