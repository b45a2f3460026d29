#include "update/update_worker.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "link/link_ui.h"
#include "platform/clock.h"
#include "platform/net/host_port.h"
#include "platform/net/tcp_stream.h"
#include "platform/net/udp_socket.h"
#include "texts/language.h"
#include "texts/software_update_texts.h"
#include "update/update_installer.h"

namespace {

constexpr uint32_t kIntervalMs = 10000;
constexpr uint32_t kAnswerWaitMs = 10000;
constexpr uint32_t kDownloadWaitMs = 30000;
constexpr auto kSlice = std::chrono::milliseconds(50);

}  // namespace

UpdateWorker::UpdateWorker(LinkUi& ui, const Clock& clock, Config config,
                           std::function<void()> quit)
    : m_ui(ui), m_clock(clock), m_config(std::move(config)), m_quit(std::move(quit)) {}

UpdateWorker::~UpdateWorker() {
    cancel();
}

bool UpdateWorker::parseServer(const std::string& text, std::string& host, uint16_t& port) {
    host.clear();
    port = kPort;
    auto server = HostPort::parse(text, kPort);
    if (!server) return false;
    host = server->host;
    port = server->port;
    return true;
}

bool UpdateWorker::start() {
    if (m_config.host.empty() || m_thread.joinable()) return false;
    m_running = true;
    m_thread = std::jthread([this] {
        run();
        m_running = false;
    });
    return true;
}

void UpdateWorker::cancel() {
    {
        std::lock_guard lock(m_mutex);
        m_cancel = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable() && m_thread.get_id() != std::this_thread::get_id()) m_thread.join();
}

bool UpdateWorker::pause(uint32_t ms) {
    std::unique_lock lock(m_mutex);
    return !m_wake.wait_for(lock, m_clock.realDuration(ms), [this] { return cancelled(); });
}

std::chrono::steady_clock::time_point UpdateWorker::deadlineIn(uint32_t ms) const {
    return std::chrono::steady_clock::now() + m_clock.realDuration(ms);
}

uint32_t UpdateWorker::sliceBefore(std::chrono::steady_clock::time_point deadline) {
    auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::nanoseconds::zero()) return 0;
    auto slice = std::min<std::chrono::nanoseconds>(left, kSlice);
    return static_cast<uint32_t>(std::chrono::ceil<std::chrono::milliseconds>(slice).count());
}

long UpdateWorker::receiveBy(const std::function<long(uint32_t ms)>& receive,
                             std::chrono::steady_clock::time_point deadline) const {
    for (uint32_t ms; !cancelled() && (ms = sliceBefore(deadline)) > 0;)
        if (long n = receive(ms)) return n;
    return 0;
}

void UpdateWorker::run() {
    if (m_config.publicKey.size() != UpdateInstaller::kKeySize) {
        tell(updatetext::UpdatesOff);
        m_end = End::UpdatesOff;
        return;
    }
    End end = pause(50) ? loop() : End::Cancelled;
    m_end = end;
}

bool UpdateWorker::stopped() const {
    return cancelled() || m_ui.progressCancelled();
}

void UpdateWorker::tell(const TextTriple& text) {
    m_ui.messageBox(text.get(), updatetext::Tip.get(), Language::index(), LinkUi::Buttons::Ok);
}

// A name server that never answers is abandoned by a cancel; a name that does
// not resolve is asked again with a growing pause.
UpdateWorker::End UpdateWorker::loop() {
    auto wait = [this](uint32_t ms) { return pause(ms); };
    while (pause(kIntervalMs)) {
        std::optional<SocketAddress> server =
            NameLookup::untilFound(m_config.host, m_config.resolve, wait);
        if (!server) return End::Cancelled;
        if (std::optional<End> end = exchange(server->withPort(m_config.port))) return *end;
    }
    return End::Cancelled;
}

std::optional<UpdateWorker::End> UpdateWorker::exchange(const SocketAddress& server) {
    std::vector<uint8_t> datagram = query(server);
    for (const UpdatePacket& packet : UpdatePacket::scan(datagram.data(), datagram.size())) {
        if (packet.command != UpdatePacket::kVersionAnswer) continue;
        if (std::optional<End> end = answer(packet, server)) return end;
    }
    return cancelled() ? std::optional<End>(End::Cancelled) : std::nullopt;
}

std::vector<uint8_t> UpdateWorker::query(const SocketAddress& server) {
    // Connected, so that the kernel passes on datagrams from the server only.
    UdpSocket socket;
    if (!socket.connect(server)) return {};
    std::vector<uint8_t> packet =
        UpdatePacket::versionQuery(m_config.fileVersion, m_config.machine);
    ++m_queries;
    if (!socket.send(packet.data(), packet.size())) return {};
    std::vector<uint8_t> datagram(kChunk);
    long n =
        receiveBy([&](uint32_t ms) { return socket.receive(datagram.data(), datagram.size(), ms); },
                  deadlineIn(kAnswerWaitMs));
    datagram.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return datagram;
}

std::optional<UpdateWorker::End> UpdateWorker::answer(const UpdatePacket& packet,
                                                      const SocketAddress& server) {
    if (packet.machineId() == m_config.machine) return End::SameMachine;
    if (!packet.updateAvailable()) return std::nullopt;
    LinkUi::Answer a = m_ui.messageBox(updatetext::UpdateQuestion.get(), updatetext::Tip.get(),
                                       Language::index(), LinkUi::Buttons::OkCancel);
    if (a != LinkUi::Yes) return End::Declined;
    if (cancelled()) return End::Cancelled;
    return downloadAndInstall(server, packet.token());
}

std::optional<UpdateWorker::End> UpdateWorker::downloadAndInstall(
    const SocketAddress& server, const std::vector<uint8_t>& token) {
    TcpStream stream;
    std::vector<uint8_t> request = UpdatePacket::downloadRequest(token);
    if (!connect(stream, server) ||
        !stream.send(request.data(), request.size(), static_cast<uint32_t>(kSlice.count())))
        return std::nullopt;

    std::error_code ec;
    std::filesystem::create_directories(m_config.cacheFolder, ec);
    std::string path = (std::filesystem::path(m_config.cacheFolder) / "qx7-update-XXXXXX").string();
    int fd = ::mkstemp(path.data());
    if (fd < 0) return std::nullopt;
    ::close(fd);
    bool complete = download(stream, path);
    m_ui.progressSetCancellable(false);
    m_ui.progressHide();
    if (!complete) {
        std::filesystem::remove(path, ec);
        return stopped() ? std::optional<End>(End::Cancelled) : std::nullopt;
    }
    ++m_downloads;
    return install(path);
}

bool UpdateWorker::connect(TcpStream& stream, const SocketAddress& server) {
    const auto deadline = deadlineIn(kDownloadWaitMs);
    TcpStream::Connecting state = stream.beginConnect(server);
    for (uint32_t ms; state == TcpStream::Connecting::Waiting && !cancelled() &&
                      (ms = sliceBefore(deadline)) > 0;)
        state = stream.awaitConnected(ms);
    return state == TcpStream::Connecting::Connected;
}

bool UpdateWorker::download(TcpStream& stream, const std::string& path) {
    // The download start, and perhaps the first bytes of the file behind it.
    std::vector<uint8_t> head;
    std::optional<UpdatePacket> start;
    const auto deadline = deadlineIn(kDownloadWaitMs);
    while (!start && head.size() < kChunk) {
        uint8_t chunk[kChunk];
        long n = receiveBy(
            [&](uint32_t ms) { return stream.receive(chunk, kChunk - head.size(), ms); }, deadline);
        if (n <= 0) return false;
        head.insert(head.end(), chunk, chunk + n);
        for (UpdatePacket& p : UpdatePacket::scan(head.data(), head.size()))
            if (p.command == UpdatePacket::kDownloadStart && p.downloadSize()) {
                start = std::move(p);
                break;
            }
    }
    if (!start) return false;
    const uint64_t size = *start->downloadSize();
    if (size <= UpdateInstaller::kSignatureSize + UpdateInstaller::kLengthSize ||
        size > kMaxDownload)
        return false;

    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    m_ui.progressSetMaximum(static_cast<int>(size));
    m_ui.progressSetFormat(updatetext::DownloadProgress.get());
    m_ui.progressSetPosition(0);
    m_ui.progressSetCancellable(true);
    m_ui.progressShow();
    uint64_t count = std::min<uint64_t>(size, head.size() - start->end);
    bool ok = std::fwrite(head.data() + start->end, 1, count, file) == count &&
              receiveFile(stream, file, count, size);
    ok = std::fclose(file) == 0 && ok;
    if (ok) m_ui.progressSetPosition(static_cast<int>(size));
    return ok;
}

// A server that trickles is given up like one that stopped: the whole file
// has a deadline and every window a least amount of bytes.
bool UpdateWorker::receiveFile(TcpStream& stream, FILE* file, uint64_t count, uint64_t size) {
    const auto deadline = deadlineIn(kDownloadDeadlineMs);
    auto windowEnd = deadlineIn(kRateWindowMs);
    uint64_t windowStart = count;
    while (count < size) {
        m_ui.progressSetPosition(static_cast<int>(count));
        if (m_ui.progressCancelled()) return false;
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        if (now >= windowEnd) {
            if (count - windowStart < kMinBytesPerWindow) return false;
            windowStart = count;
            windowEnd = deadlineIn(kRateWindowMs);
        }
        const auto until = std::min(deadline, windowEnd);
        uint8_t chunk[kChunk];
        const size_t wanted = std::min<uint64_t>(kChunk, size - count);
        long n = receiveBy([&](uint32_t ms) { return stream.receive(chunk, wanted, ms); }, until);
        if (n < 0 || cancelled()) return false;
        // Only the end of a window or of the whole time goes round again.
        if (n == 0) continue;
        if (std::fwrite(chunk, 1, static_cast<size_t>(n), file) != static_cast<size_t>(n))
            return false;
        count += static_cast<uint64_t>(n);
    }
    return true;
}

UpdateWorker::End UpdateWorker::install(const std::string& path) {
    std::error_code ec;
    // A cancel that came with the last chunk still installs nothing.
    if (stopped()) {
        std::filesystem::remove(path, ec);
        return End::Cancelled;
    }
    UpdateInstaller installer(m_config.executable, m_config.publicKey, m_config.fileVersion);
    switch (installer.install(path)) {
        case UpdateInstaller::Result::NotVerified:
            tell(updatetext::NotVerified);
            return End::NotVerified;
        case UpdateInstaller::Result::OtherPlatform:
            tell(updatetext::OtherPlatform);
            return End::OtherPlatform;
        case UpdateInstaller::Result::NotNewer:
            tell(updatetext::NotNewer);
            return End::NotNewer;
        case UpdateInstaller::Result::NotWritable:
            tell(updatetext::UsePackageManager);
            return End::NotWritable;
        case UpdateInstaller::Result::Failed:
            tell(updatetext::CannotInstall);
            return End::Failed;
        case UpdateInstaller::Result::Installed:
            break;
    }
    return startInstalled(installer);
}

UpdateWorker::End UpdateWorker::startInstalled(const UpdateInstaller& installer) {
    if (m_config.releaseLock) m_config.releaseLock();
    const auto wait =
        std::chrono::duration_cast<std::chrono::milliseconds>(m_clock.realDuration(kConfirmWaitMs));
    if (installer.startInstalled(m_config.arguments, wait) == UpdateInstaller::Start::Restored) {
        if (m_config.retakeLock) m_config.retakeLock();
        tell(updatetext::NotStarted);
        return End::NotStarted;
    }
    if (m_quit) m_quit();
    return End::Installed;
}
