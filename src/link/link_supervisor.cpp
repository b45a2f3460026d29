#include "link/link_supervisor.h"

#include <algorithm>

#include "link/link.h"
#include "link/link_event.h"
#include "link/link_parameter_index.h"
#include "link/transport.h"
#include "link/transport_type.h"
#include "platform/clock.h"
#include "texts/link_texts.h"

namespace {
constexpr int kFullReadTarget = parameterIndex::LastForFullRead;
constexpr int kIdleKeepAlive = 15;
constexpr uint16_t kPresenceValue = 1;
constexpr uint16_t kRelayPresenceValue = 3;
}  // namespace

LinkSupervisor::LinkSupervisor(Link& link) : m_link(link), m_state(link.state()) {}

LinkSupervisor::~LinkSupervisor() {
    join();
}

void LinkSupervisor::setJob(LinkJob kind, Job job) {
    m_jobs[kind] = std::move(job);
}

void LinkSupervisor::requestJob(LinkJob kind) {
    {
        std::lock_guard lock(m_queueMutex);
        if (std::find(m_queue.begin(), m_queue.end(), kind) == m_queue.end())
            m_queue.push_back(kind);
    }
    m_link.mirror().signalEdit();  // ends an idle sleep now
}

bool LinkSupervisor::jobQueued(LinkJob kind) const {
    std::lock_guard lock(m_queueMutex);
    return std::find(m_queue.begin(), m_queue.end(), kind) != m_queue.end();
}

std::optional<LinkJob> LinkSupervisor::takeJob() {
    std::lock_guard lock(m_queueMutex);
    if (m_queue.empty()) return std::nullopt;
    LinkJob kind = m_queue.front();
    m_queue.pop_front();
    return kind;
}

bool LinkSupervisor::start() {
    if (m_thread.joinable()) return true;
    // Made here, not by the thread: a Stop that comes before the thread
    // runs must still end it.
    if (m_state.stopping()) m_state.stop = std::stop_source();
    m_link.module().clear();
    try {
        m_threadRunning = true;
        m_thread = std::jthread([this] {
            // Every sleep ends on the stop by itself; these waits need a word.
            std::stop_callback wake(m_state.stopToken(), [this] {
                m_state.replySemaphore.release();
                m_link.mirror().signalEdit();
            });
            run();
            std::lock_guard lock(m_endMutex);
            m_threadRunning = false;
            m_ended.notify_all();
        });
    } catch (const std::system_error&) {
        m_threadRunning = false;
        m_link.message(linktext::kThreadFailed);
        return false;
    }
    return true;
}

void LinkSupervisor::stop() {
    m_state.stop.request_stop();
    m_state.linkAlive = false;
    if (Transport* t = m_link.transport()) t->close();
    std::unique_lock lock(m_endMutex);
    m_ended.wait_for(lock, std::chrono::milliseconds(2000), [this] { return !m_threadRunning; });
}

void LinkSupervisor::join() {
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

bool LinkSupervisor::joinWithin(uint32_t ms) {
    {
        std::unique_lock lock(m_endMutex);
        if (!m_ended.wait_for(lock, std::chrono::milliseconds(ms),
                              [this] { return !m_threadRunning; }))
            return false;
    }
    join();
    return true;
}

bool LinkSupervisor::sleep(uint32_t ms) const {
    return m_link.sleep(ms);
}

void LinkSupervisor::idleSleep(uint32_t ms) const {
    m_link.mirror().waitForEdit(m_link.clock().realDuration(ms));
}

// A request for another transport ends it too, within a slice.
void LinkSupervisor::sleepWhileRunning(uint32_t ms) const {
    constexpr uint32_t kSliceMs = 50;
    for (uint32_t slept = 0; slept < ms && m_state.running(); slept += kSliceMs)
        sleep(std::min(kSliceMs, ms - slept));
}

void LinkSupervisor::run() {
    if (m_state.running())
        m_link.ui().sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Started);
    sleep(500);
    m_link.mirror().zero();
    m_state.transportType = m_initialType;
    m_link.setTitle(std::string("QX7") + titleSuffix(m_initialType));
    if (m_state.running())
        m_link.ui().sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Started);
    while (true) {
        takeTransportRequest();
        if (!m_state.running()) break;
        connectionCycle();
    }
}

bool LinkSupervisor::requestTransport(TransportType type) {
    if (!m_link.transportFor(type)) return false;
    m_state.transportRequest = type;
    m_link.mirror().signalEdit();  // ends an idle sleep now
    return true;
}

void LinkSupervisor::takeTransportRequest() {
    std::optional<TransportType> type = m_state.transportRequest.exchange(std::nullopt);
    if (!type || m_state.stopping()) return;
    if (Transport* old = m_link.transport()) old->close();
    m_state.linkAlive = false;
    m_state.transportType = *type;
    m_link.setTitle(std::string("QX7") + titleSuffix(*type));
    m_link.ui().sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Searching);
}

void LinkSupervisor::connectionCycle() {
    m_state.timing.setDefaults();
    m_state.timing.setForTransport(m_state.transportType);
    m_state.lastReplyTime = m_link.clock().ticks();

    Transport* transport = m_link.transport();
    if (!transport) {
        sleep(100);
        return;
    }
    m_state.linkAlive = false;
    // The serial line may share the device with USB: the search lets go of it.
    Transport* serial = m_link.transportFor(TransportType::Serial);
    if (m_state.transportType == TransportType::UsbHid && serial && serial != transport &&
        serial->isConnected())
        serial->close();
    transport->connect(m_link.handshakeFor(m_state.transportType));
    if (!m_state.running()) return;

    if (handshake() == Handshake::Restart) return;
    if (!m_state.running()) return;
    m_link.ui().sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Connected);
    ++m_connections;
    m_foundAt = m_link.clock().ticks();
    sleep(10);

    occupancyCheck();
    // Stopped while a message box was open: nothing more to say to the device.
    if (!m_state.running()) return;
    settlePendingEdits();
    m_link.mirror().clearReceivedAndRetries();
    sleepWhileRunning(2000);
    m_link.writeParameterDirect(Mirror::kPresence, kPresenceValue);
    fullReadWithNotification();
    readModeNames(m_link.mirror().value(Mirror::kCurrentMode) & 0xFF);
    sleep(20);
    if (steadyMayGoOn()) steadyLoop();
    linkLost();
}

LinkSupervisor::Handshake LinkSupervisor::handshake() {
    Mirror& mirror = m_link.mirror();
    m_state.linkAlive = true;
    int iteration = 0;
    while (mirror.value(Mirror::kMagic) != Mirror::kDeviceMagic && m_state.running()) {
        ++iteration;
        m_link.helloAndWait();
        m_link.readParameter(Mirror::kMagic);
        sleep(40);
        if (iteration > 11) {
            sleepWhileRunning(2000);
            return Handshake::Restart;
        }
        if (m_link.device().magic == Mirror::kDeviceMagic) break;
        if (m_state.missedReplies >= m_state.timing.missedLimit - 2 || !m_link.isConnected())
            return Handshake::Restart;
        if (!m_state.alive()) break;
    }
    return Handshake::Done;
}

void LinkSupervisor::occupancyCheck() {
    Mirror& mirror = m_link.mirror();
    const uint16_t expected =
        m_state.transportType == TransportType::Relay ? kRelayPresenceValue : kPresenceValue;
    while (m_state.missedReplies <= m_state.timing.missedLimit && m_state.alive() &&
           m_state.running()) {
        int foreign = 0;
        for (int k = 0; k < 10; ++k) {
            m_link.requestParameter(Mirror::kPresence, 200);
            sleep(20);
            if (m_link.device().deviceIdNumber() == 0) m_link.send(Command::ReadDeviceId, {0});
            sleep(80);
            uint16_t presence = mirror.value(Mirror::kPresence);
            if (presence != 0 && presence != expected) ++foreign;
        }
        if (foreign < 2) return;
        m_link.message(linktext::EquipmentOccupied);
        sleepWhileRunning(2000);
    }
}

void LinkSupervisor::readModeNames(int lastMode) {
    DeviceInfo& device = m_link.device();
    for (int p = 1; p <= DeviceInfo::kModes; ++p) {
        device.clearNameReceived(p);
        m_link.send(Command::ReadModeName, {static_cast<uint8_t>(p)});
        sleep(20);
    }
    for (int round = 0; round < 2; ++round) {
        for (int p = 1; p <= DeviceInfo::kModes; ++p) {
            if (device.nameReceived(p)) continue;
            m_link.send(Command::ReadModeName, {static_cast<uint8_t>(p)});
            sleep(20);
        }
    }
    if (lastMode != 0) {
        m_link.send(Command::ReadModeName, {static_cast<uint8_t>(lastMode)});
        sleep(20);
    }
    m_link.readParameter(Mirror::kCurrentMode);
}

bool LinkSupervisor::fullRead() {
    Mirror& mirror = m_link.mirror();
    LinkProgress& progress = m_link.progress();
    const int retries = 3;

    mirror.clearReceivedAndRetries();
    m_link.helloAndWait();
    progress.setMaximum(Mirror::kSize);
    progress.setFormat(linktext::ReadDeviceProgress);
    progress.show();
    progress.setPosition(0);

    TransportType type = m_state.transportType;
    if (type == TransportType::Network || type == TransportType::Relay) {
        sleep(500);
    } else {
        for (int attempt = 0; attempt <= retries; ++attempt) {
            m_link.send(Command::BulkRead, {0});
            sleep(500);
            if (mirror.countReceived() > 10) break;
            if (!m_link.isConnected()) {
                // Otherwise the dialog would stay up for the whole search.
                progress.hide();
                return false;
            }
        }
        int shown = 0;
        for (int k = 0; k < 200; ++k) {
            int count = mirror.countReceived();
            if (count > shown) {
                shown = count;
                progress.setPosition(count);
            } else if (ticksSince(m_link.clock().ticks(), m_state.lastReplyTime) < 1500) {
                break;
            }
            if (count >= kFullReadTarget) break;
            sleep(50);
        }
    }

    sleep(100);
    mirror.setReadCursor(0);
    int count = 0;
    int shown = 0;
    for (int pass = 0; pass < 8; ++pass) {
        count = 0;
        for (int i = 0; i < Mirror::kSize && m_state.alive(); ++i) {
            if (mirror.received(i)) {
                ++count;
                continue;
            }
            if (m_link.isConnected()) m_state.replySemaphore.acquire(m_link.clock(), 2);
            if (count > shown) {
                shown = count;
                progress.setPosition(count);
            }
            m_link.requestBatch(Command::ReadParameters,
                                mirror.takeReadBatch(Mirror::kContinue, 32),
                                static_cast<uint32_t>(m_state.timing.readWait.load()));
        }
        progress.setPosition(count);
        if (!m_state.alive()) {
            progress.hide();
            m_link.message(linktext::ReadDataFailed);
            return false;
        }
        sleep(30);
    }
    progress.setPosition(count);
    sleep(10);
    progress.hide();
    return true;
}

bool LinkSupervisor::fullReadWithNotification() {
    if (!fullRead()) return false;
    LinkUi& ui = m_link.ui();
    LinkProgress& progress = m_link.progress();
    Mirror& mirror = m_link.mirror();

    ui.postEvent(LinkEvent::ReadSucceeded, 0);
    progress.hide();
    progress.setFormat(linktext::UpdateDisplayProgress);
    progress.setPosition(0);
    progress.show();
    sleep(1);
    for (int i = 0; i < Mirror::kSize; ++i) {
        if (mirror.takeReceived(i)) ui.postEvent(LinkEvent::ParameterReceived, i);
        if (i % 34 == 1) progress.setPosition(i);
    }
    ui.postEvent(LinkEvent::ReadComplete, 0);
    ui.postEvent(LinkEvent::ReadCompleteAfter, 0);
    sleep(100);
    progress.hide();
    return true;
}

bool LinkSupervisor::steadyMayGoOn() const {
    return m_state.missedReplies < m_state.timing.missedLimit && m_state.alive() &&
           m_state.running();
}

void LinkSupervisor::steadyLoop() {
    int idle = 0;
    while (steadyMayGoOn()) steadyIteration(idle);
}

void LinkSupervisor::steadyIteration(int& idle) {
    ++m_steadyIterations;
    sleep(10);
    while (m_state.pauseFlag && m_state.running() && m_state.alive()) sleep(10);

    if (m_state.transportType != TransportType::Network && m_moduleStep && m_moduleStep()) idle = 0;
    if (pendingScan()) idle = 0;
    serveReadRequests();
    notifyReceived();
    if (runJobs()) idle = 0;

    if (idle < kIdleKeepAlive) {
        ++idle;
        idleSleep(idle < 10 ? 50 : 100);
    } else {
        idle = keepAlive() ? 0 : 10;
        idleSleep(100);
    }
}

bool LinkSupervisor::pendingScan() {
    Mirror& mirror = m_link.mirror();
    mirror.clearEditSignal();
    bool sent = false;
    for (int i = 0; i < Mirror::kSize && m_state.alive(); ++i) {
        if (!mirror.pending(i)) continue;
        bool answered = m_link.requestBatch(Command::WriteParameters,
                                            mirror.takeWriteBatch(i, Mirror::kMaxWriteBatch),
                                            static_cast<uint32_t>(m_state.timing.replyWait.load()));
        sent = true;
        if (!answered && !m_link.isConnected()) {
            m_link.progress().hide();
            m_state.linkAlive = false;
        }
    }
    return sent;
}

void LinkSupervisor::serveReadRequests() {
    Mirror& mirror = m_link.mirror();
    for (int i = 0; i < Mirror::kSize; ++i) {
        if (!mirror.takeReadRequest(i)) continue;
        m_link.readParameter(i);
        sleep(10);
    }
}

void LinkSupervisor::notifyReceived() {
    Mirror& mirror = m_link.mirror();
    for (int i = 1; i < Mirror::kSize; ++i)
        if (mirror.takeReceived(i)) m_link.ui().postEvent(LinkEvent::ParameterReceived, i);
}

bool LinkSupervisor::runJobs() {
    bool ran = false;
    while (m_state.alive()) {
        std::optional<LinkJob> kind = takeJob();
        if (!kind) break;
        sleep(100);
        if (auto job = m_jobs.find(*kind); job != m_jobs.end() && job->second) job->second();
        ran = true;
        m_link.progress().hide();
    }
    return ran;
}

bool LinkSupervisor::keepAlive() {
    std::vector<uint8_t> indices;
    for (int index : parameterIndex::KeepAlive)
        Frame::putU16(indices, static_cast<uint16_t>(index));
    m_link.send(Command::ReadParameters, indices);
    bool sent = keepAliveGap();
    m_link.writeParameterDirect(Mirror::kPresence, kPresenceValue);
    return sent;
}

// The 50 ms between the keep-alive's two frames: an edit made now goes out after
// the usual 10 ms pause instead of waiting for the presence write.
bool LinkSupervisor::keepAliveGap() {
    constexpr uint32_t kGapMs = 50, kPauseMs = 10;
    const Clock& clock = m_link.clock();
    const uint32_t start = clock.ticks();
    sleep(kPauseMs);
    uint32_t elapsed = ticksSince(clock.ticks(), start);
    if (elapsed >= kGapMs || !m_link.mirror().waitForEdit(clock.realDuration(kGapMs - elapsed)))
        return false;
    if (!m_state.running() || !m_state.alive()) return false;
    bool sent = pendingScan();
    elapsed = ticksSince(clock.ticks(), start);
    if (elapsed < kGapMs) sleep(kGapMs - elapsed);
    return sent;
}

// Edits that stay pending are not overwritten by the full read and go out in
// the steady loop: right after a cable glitch, wrong on a device that may hold
// another room's tuning or was changed by hand meanwhile.
void LinkSupervisor::settlePendingEdits() {
    Transport* transport = m_link.transport();
    DeviceMark found{transport ? transport->identity() : std::string(),
                     m_link.device().deviceIdNumber()};
    bool same = m_lastDevice && *m_lastDevice == found &&
                ticksSince(m_foundAt, m_lostAt) <= kReconnectGraceMs;
    m_lastDevice = found;
    Mirror& mirror = m_link.mirror();
    int pending = mirror.countPending();
    if (same || pending == 0) return;
    mirror.clearReceivedAndPending();
    m_link.ui().postEvent(LinkEvent::PendingDropped, pending);
}

void LinkSupervisor::linkLost() {
    m_state.linkAlive = false;
    m_lostAt = m_link.clock().ticks();
    // Read again at the next connection, which may be another device.
    m_link.device().setDeviceId(nullptr, 0);
    if (m_state.running())
        m_link.ui().sendEvent(LinkEvent::ConnectionState, LinkEvent::Connection::Searching);
}
