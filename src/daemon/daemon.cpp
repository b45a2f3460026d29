#include "daemon/daemon.h"

#include <cstdlib>
#include <filesystem>

#include "connect/transport_choice.h"
#include "daemon/api_router.h"
#include "link/link_supervisor.h"
#include "platform/clock.h"

namespace {

// A folder of our own for the preset files of transfers; empty when none can be made.
std::string makePresetFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qx7d-XXXXXX").string();
    return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

}  // namespace

Daemon::Daemon(TransportChoice& choice, HttpServer::Config config)
    : m_choice(choice),
      m_presetFolder(makePresetFolder()),
      m_link(m_ui, Clock::system()),
      m_jobs(m_link),
      m_router(std::make_unique<ApiRouter>(m_link, m_jobs, m_ui,
                                           choice.simulated() ? "simulated" : "", m_presetFolder)),
      m_server(std::make_unique<HttpServer>(*m_router, m_ui, std::move(config))) {}

Daemon::~Daemon() {
    stop();
    std::error_code ignored;
    if (!m_presetFolder.empty()) std::filesystem::remove_all(m_presetFolder, ignored);
}

bool Daemon::start(std::string& error) {
    if (m_presetFolder.empty()) {
        error = "cannot make a temporary folder for preset transfers";
        return false;
    }
    if (!m_choice.install(m_link, error) || !m_server->start(error)) return false;
    if (!m_link.supervisor().start()) {
        error = "the link could not be started";
        return false;
    }
    m_started = true;
    return true;
}

// The link first, so that no event arrives at a server going down.
void Daemon::stop() {
    if (!m_started) return;
    m_started = false;
    m_link.supervisor().stop();
    m_link.supervisor().join();
    m_server->stop();
}
