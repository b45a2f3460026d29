#include "remote/remote_session.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include <nlohmann/json.hpp>

#include "files/preset_codec.h"
#include "files/preset_files.h"
#include "link/link.h"
#include "link/link_event.h"
#include "link/link_job.h"
#include "link/link_supervisor.h"
#include "link/preset_jobs.h"
#include "platform/clock.h"
#include "texts/link_texts.h"
#include "texts/preset_file_texts.h"
#include "texts/remote_texts.h"

using nlohmann::json;

namespace {

// Without a word from qx7d the loops look again after this long.
constexpr uint32_t kWaitingMs = 500;
constexpr uint32_t kIdleMs = 1000;
constexpr uint32_t kPauseMs = 50;

// How many bytes of a UTF-8 text fit in limit without cutting a character.
size_t wholeCharacters(const std::string& text, size_t limit) {
    if (text.size() <= limit) return text.size();
    size_t n = limit;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    return n;
}

bool validMode(int mode) {
    return mode >= 1 && mode <= DeviceInfo::kModes;
}

}  // namespace

RemoteSession::RemoteSession(Link& link, DaemonClient client)
    : m_link(link),
      m_client(std::move(client)),
      m_events([&link] { link.mirror().signalEdit(); }) {}

RemoteSession::~RemoteSession() {
    m_events.close();
}

void RemoteSession::install() {
    m_link.supervisor().setSession([this] { run(); });
}

void RemoteSession::run() {
    LinkState& state = m_link.state();
    Mirror& mirror = m_link.mirror();
    mirror.zero();
    m_link.setTitle("QX7 (qx7d)");
    m_link.ui().sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Started);
    uint32_t retry = kFirstRetryMs;
    while (state.running()) {
        switch (attach()) {
            case Attach::NotReached:
                m_link.sleep(retry);
                retry = std::min(retry * 2, kLastRetryMs);
                break;
            case Attach::Waiting:
                retry = kFirstRetryMs;
                mirror.clearEditSignal();
                mirror.waitForEdit(m_link.clock().realDuration(kWaitingMs));
                break;
            case Attach::Live:
                retry = kFirstRetryMs;
                steady();
                lost();
                break;
        }
    }
    m_events.close();
}

// The events are heard from before the values are fetched, so that no change
// falls between the two; what came before the fetch is in it.
RemoteSession::Attach RemoteSession::attach() {
    std::string error;
    if (!m_events.isOpen() && !m_events.open(m_client, error)) {
        tellReach(NotReached);
        return Attach::NotReached;
    }
    m_events.take();
    std::optional<Status> status = fetchStatus();
    if (!status) {
        m_events.close();
        tellReach(NotReached);
        return Attach::NotReached;
    }
    if (status->connection != "connected") {
        if (m_connectedShown)
            m_link.ui().sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Searching);
        m_connectedShown = m_readingShown = false;
        tellReach(NoDevice);
        return Attach::Waiting;
    }
    if (!status->read) {
        showReading(*status);
        return Attach::Waiting;
    }
    settlePending(status->deviceId);
    if (!readAll() || !applyEvents()) return Attach::Waiting;
    goLive(*status);
    return Attach::Live;
}

// Told as after a device's full read.
void RemoteSession::goLive(const Status& status) {
    DeviceInfo& device = m_link.device();
    std::vector<uint8_t> id = DaemonReply::idBytes(status.deviceId);
    device.setDeviceId(id.data(), id.size());
    device.version = status.version;
    device.magic = m_link.mirror().value(Mirror::kMagic);
    storeNames(status.names);
    m_lastDevice = status.deviceId;
    m_link.state().linkAlive = true;
    if (!m_connectedShown)
        m_link.ui().sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Connected);
    m_connectedShown = true;
    m_readingShown = false;
    m_reachShown.reset();
    m_link.progress().hide();
    LinkUi& ui = m_link.ui();
    ui.postEvent(LinkEvent::ReadSucceeded, 0);
    notifyReceived(0);
    ui.postEvent(LinkEvent::ReadComplete, 0);
    ui.postEvent(LinkEvent::ReadCompleteAfter, 0);
}

std::optional<RemoteSession::Status> RemoteSession::fetchStatus() {
    DaemonClient::Reply reply = m_client.request("GET", "/api/v1/status");
    return reply.status == 200 ? DaemonReply::status(reply.body) : std::nullopt;
}

void RemoteSession::showReading(const Status& status) {
    LinkProgress& progress = m_link.progress();
    if (!m_readingShown) {
        m_link.ui().sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Connected);
        m_connectedShown = m_readingShown = true;
        m_reachShown.reset();
        progress.setFormat(linktext::ReadDeviceProgress);
        progress.show();
    }
    progress.setMaximum(status.maximum > 0 ? status.maximum : Mirror::kSize);
    progress.setPosition(status.position);
}

bool RemoteSession::readAll() {
    DaemonClient::Reply reply = m_client.request("GET", "/api/v1/parameters");
    auto values = reply.status == 200 ? DaemonReply::parameters(reply.body) : std::nullopt;
    if (!values) return false;
    Mirror& mirror = m_link.mirror();
    for (int i = 0; i < Mirror::kSize; ++i)
        if (auto value = (*values)[static_cast<size_t>(i)]) mirror.applyParameterReply(i, *value);
    return true;
}

void RemoteSession::storeNames(const std::map<int, std::string>& names) {
    DeviceInfo& device = m_link.device();
    // As a name reply of the device: the operation word tells the pages.
    m_link.mirror().setReceivedMark(Mirror::kModeOperation, true);
    for (const auto& [mode, name] : names) {
        if (!validMode(mode) || name.empty()) continue;  // a name qx7d has not read
        device.storeModeName(mode, reinterpret_cast<const uint8_t*>(name.data()),
                             wholeCharacters(name, DeviceInfo::kNameSize));
    }
}

// The same rule as for a device that comes back: unsent edits go to the same
// device found again within the grace time, else they are dropped and counted.
void RemoteSession::settlePending(const std::string& deviceId) {
    Mirror& mirror = m_link.mirror();
    int pending = mirror.countPending();
    bool same = m_lastDevice && *m_lastDevice == deviceId &&
                ticksSince(m_link.clock().ticks(), m_lostAt) <= LinkSupervisor::kReconnectGraceMs;
    if (same || pending == 0) return;
    mirror.clearReceivedAndPending();
    m_link.ui().postEvent(LinkEvent::PendingDropped, pending);
}

// Suspended, the window hears nothing and sends nothing; a resume ends the
// link (not alive), and the values are fetched again.
void RemoteSession::steady() {
    Mirror& mirror = m_link.mirror();
    LinkState& state = m_link.state();
    while (state.running() && state.alive()) {
        if (state.pauseFlag) {
            m_events.take();
            if (!m_events.isOpen()) return;
            m_link.sleep(kPauseMs);
            continue;
        }
        // Cleared before the look, so that an edit or event made meanwhile ends the wait.
        mirror.clearEditSignal();
        if (!takeEvents() || !sendPending()) return;
        runJobs();
        mirror.waitForEdit(m_link.clock().realDuration(kIdleMs));
    }
}

bool RemoteSession::takeEvents() {
    bool live = applyEvents();
    notifyReceived(1);
    return live;
}

// A value the user changed and qx7d has not taken yet is not overwritten.
bool RemoteSession::applyEvents() {
    bool live = true;
    for (const std::string& text : m_events.take()) {
        DaemonReply::Event event = DaemonReply::event(text);
        if (event.kind == DaemonReply::Event::Kind::Parameter)
            m_link.mirror().applyParameterReply(event.index, event.value);
        else if (event.kind == DaemonReply::Event::Kind::Link && !event.live)
            live = false;
    }
    return live && m_events.isOpen();
}

void RemoteSession::notifyReceived(int from) {
    Mirror& mirror = m_link.mirror();
    for (int i = from; i < Mirror::kSize; ++i)
        if (mirror.takeReceived(i)) m_link.ui().postEvent(LinkEvent::ParameterReceived, i);
}

bool RemoteSession::sendPending() {
    Mirror& mirror = m_link.mirror();
    std::vector<Edit> edits;
    for (int i = 0; i < Mirror::kSize; ++i)
        if (mirror.pending(i)) edits.emplace_back(i, mirror.value(i));
    if (edits.empty()) return true;
    DaemonClient::Reply reply = patch(edits);
    if (reply.status == 400 && edits.size() > 1) {
        // One refused value refuses the batch: the others go one by one.
        for (const auto& edit : edits)
            if (!settle(edit, patch({edit}))) return false;
        return true;
    }
    for (const auto& edit : edits)
        if (!settle(edit, reply)) return false;
    return true;
}

DaemonClient::Reply RemoteSession::patch(const std::vector<Edit>& edits) {
    json values = json::array();
    for (auto [index, value] : edits) values.push_back({{"index", index}, {"value", value}});
    return m_client.request("PATCH", "/api/v1/parameters", json{{"values", values}}.dump());
}

// Taken: no longer pending, unless edited again meanwhile. Refused: the
// device's value comes back. Anything else: the device (or qx7d) is away and
// the edit waits for it.
bool RemoteSession::settle(const Edit& edit, const DaemonClient::Reply& reply) {
    auto [index, value] = edit;
    Mirror& mirror = m_link.mirror();
    if (reply.status == 200) {
        mirror.applyWriteAck(index, value);
        return true;
    }
    if (reply.status != 400) return false;
    mirror.applyWriteAck(index, value);
    DaemonClient::Reply now =
        m_client.request("GET", "/api/v1/parameters/" + std::to_string(index));
    if (auto device = now.status == 200 ? DaemonReply::parameter(now.body) : std::nullopt)
        mirror.applyParameterReply(index, *device);
    notifyReceived(0);
    refused(reply);
    return true;
}

void RemoteSession::lost() {
    m_link.state().linkAlive = false;
    m_lostAt = m_link.clock().ticks();
    m_link.device().setDeviceId(nullptr, 0);
    m_link.progress().hide();
    if (m_link.state().running() && m_connectedShown)
        m_link.ui().sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Searching);
    m_connectedShown = m_readingShown = false;
}

void RemoteSession::tellReach(Reach reach) {
    if (m_reachShown == reach) return;
    m_reachShown = reach;
    m_link.ui().postEvent(LinkEvent::DaemonReach, reach);
}

void RemoteSession::refused(const DaemonClient::Reply& reply) {
    m_link.message(formatText(remotetext::Refused, DaemonClient::problem(reply).c_str()));
}

// --- jobs ---

void RemoteSession::queue(std::function<void()> job) {
    {
        std::lock_guard lock(m_jobMutex);
        m_jobs.push_back(std::move(job));
    }
    m_link.mirror().signalEdit();
}

void RemoteSession::runJobs() {
    while (m_link.state().alive() && m_link.state().running()) {
        std::function<void()> job;
        {
            std::lock_guard lock(m_jobMutex);
            if (m_jobs.empty()) return;
            job = std::move(m_jobs.front());
            m_jobs.pop_front();
        }
        job();
        m_link.progress().hide();
    }
}

void RemoteSession::requestSaveToFile(const std::string& name) {
    queue([this, name] { saveToFile(name); });
}

void RemoteSession::requestSendFile(const std::string& name) {
    queue([this, name] { sendFile(name); });
}

bool RemoteSession::requestRecall(int mode) {
    if (!validMode(mode)) return false;
    queue([this, mode] { recall(mode); });
    return true;
}

bool RemoteSession::requestReadName(int mode) {
    if (!validMode(mode)) return false;
    queue([this] { m_link.device().nameReplied = readNames(); });
    return true;
}

bool RemoteSession::requestSaveName(int mode, const std::string& name) {
    if (!validMode(mode)) return false;
    queue([this, mode, name] { saveName(mode, name); });
    return true;
}

void RemoteSession::busy(const std::string& format) {
    LinkProgress& progress = m_link.progress();
    progress.setMaximum(100);
    progress.setPosition(0);
    progress.setFormat(format);
    progress.show();
}

// What qx7d holds after a job that replaced the values, told as after a read.
void RemoteSession::valuesReplaced(int job) {
    readAll();
    notifyReceived(0);
    m_link.ui().postEvent(LinkEvent::ReadComplete, 0);
    m_link.ui().postEvent(LinkEvent::ValuesReplaced, job);
}

bool RemoteSession::failedJob(const DaemonClient::Reply& reply, const TextTriple& failed) {
    if (reply.status == 200) return false;
    m_link.progress().hide();
    if (reply.status == 409 && reply.body.find("job_failed") != std::string::npos)
        m_link.message(failed);
    else
        refused(reply);
    return true;
}

void RemoteSession::recall(int mode) {
    busy(std::string(linktext::Call.get()) + "...");
    DaemonClient::Reply reply =
        m_client.request("POST", "/api/v1/modes/" + std::to_string(mode) + "/recall");
    if (failedJob(reply, linktext::RecallFailed)) return;
    valuesReplaced(static_cast<int>(LinkJob::Recall));
}

void RemoteSession::saveName(int mode, const std::string& name) {
    DaemonClient::Reply reply = m_client.request("PUT", "/api/v1/modes/" + std::to_string(mode),
                                                 json{{"name", name}}.dump());
    if (failedJob(reply, linktext::SaveFailed)) return;
    readNames();
    m_link.message(linktext::SaveSuccessful);
}

bool RemoteSession::readNames() {
    std::optional<Status> status = fetchStatus();
    if (status) storeNames(status->names);
    notifyReceived(0);
    return status.has_value();
}

// The daemon's file is checked and written again here as the device's own
// values would be, into the user's preset folders.
void RemoteSession::saveToFile(const std::string& name) {
    if (name.empty()) return (void)m_link.message(linktext::EnterFileName);
    busy(linktext::ReadDeviceProgress.get());
    DaemonClient::Reply reply = m_client.request("GET", "/api/v1/preset");
    if (failedJob(reply, linktext::SaveFailed)) return;
    PresetFiles file;
    const auto* bytes = reinterpret_cast<const uint8_t*>(reply.body.data());
    std::vector<uint16_t> values;
    if (PresetCodec::decode(bytes, reply.body.size(), file.preset()))
        values.assign(file.preset().values.begin(), file.preset().values.end());
    m_link.progress().hide();
    if (values.empty() || file.savePreset(name, values) != PresetFiles::kPresetOk) {
        m_link.message(linktext::SaveFailed);
        return;
    }
    m_link.message(file.lastSavedPath(), linktext::SaveSuccessful.get());
}

// The file is checked here first (qx7d checks it again), so that a damaged
// one is told as the window tells it without the daemon.
void RemoteSession::sendFile(const std::string& name) {
    if (name.empty()) return (void)m_link.message(linktext::EnterFileName);
    PresetFiles files;
    int loaded = files.loadPreset(name);
    if (loaded == PresetFiles::kPresetCorrupt)
        return (void)m_link.message(formatText(presetfiletext::FileDamaged, name.c_str(),
                                               PresetJobs::damageText(files.damage()).c_str()));
    if (loaded != PresetFiles::kPresetOk) return (void)m_link.message(linktext::NoFiles);
    std::ifstream in(files.presetFullPath(name), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    if (bytes.empty()) return (void)m_link.message(linktext::NoFiles);
    busy(linktext::UpdateSceneProgress.get());
    DaemonClient::Reply reply = m_client.request("PUT", "/api/v1/preset?confirm=1", bytes);
    if (failedJob(reply, linktext::WriteDataFailed)) return;
    valuesReplaced(static_cast<int>(LinkJob::SendFile));
}
