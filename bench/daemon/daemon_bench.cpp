// qx7d's figures: a device change reaching 20 WebSocket clients, an API write
// reaching the device, status requests per second on loopback, and the
// daemon's CPU and memory with 20 idle clients. Prints them; fails nothing.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <boost/beast/websocket.hpp>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "binding/parameter_index.h"
#include "daemon/daemon_fixture.h"  // of the tests
#include "link/link_supervisor.h"
#include "support/temp_folder.h"
#include "support/wait_for.h"

namespace {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;
using Clock = std::chrono::steady_clock;

double ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void printPercentiles(const char* what, std::vector<double> samples) {
    if (samples.empty()) {
        std::printf("%-44s no samples\n", what);
        return;
    }
    std::sort(samples.begin(), samples.end());
    auto at = [&](double q) { return samples[static_cast<size_t>(q * (samples.size() - 1))]; };
    std::printf("%-44s p50 %7.2f ms  p99 %7.2f ms  max %7.2f ms  (%zu samples)\n", what, at(0.5),
                at(0.99), samples.back(), samples.size());
}

tcp::endpoint loopback(unsigned port) {
    return {asio::ip::make_address("127.0.0.1"), static_cast<unsigned short>(port)};
}

// A client of the events that notes when each value of one parameter arrives.
class Listener {
public:
    Listener(unsigned port, int index) : m_index(index) {
        m_ws.next_layer().connect(loopback(port));
        m_ws.handshake("127.0.0.1:" + std::to_string(port),
                       std::string("/api/v1/events?token=") + DaemonFixture::kToken);
        m_thread = std::thread([this] { run(); });
    }
    ~Listener() {
        beast::error_code ignored;
        m_ws.next_layer().shutdown(tcp::socket::shutdown_both, ignored);
        m_thread.join();
    }
    // When the value arrived after since; nothing while it has not.
    std::optional<Clock::time_point> arrival(int value, Clock::time_point since) {
        std::lock_guard lock(m_mutex);
        for (auto& [v, t] : m_seen)
            if (v == value && t >= since) return t;
        return std::nullopt;
    }

private:
    void run() {
        beast::flat_buffer buffer;
        beast::error_code ec;
        std::string mark = "\"index\":" + std::to_string(m_index) + ",";
        for (;;) {
            m_ws.read(buffer, ec);
            if (ec) return;
            auto now = Clock::now();
            std::string text = beast::buffers_to_string(buffer.data());
            buffer.clear();
            size_t at = text.find(mark);
            size_t value = text.find("\"value\":");
            if (at == std::string::npos || value == std::string::npos) continue;
            std::lock_guard lock(m_mutex);
            m_seen.emplace_back(std::atoi(text.c_str() + value + 8), now);
        }
    }

    int m_index;
    asio::io_context m_io;
    beast::websocket::stream<tcp::socket> m_ws{m_io};
    std::thread m_thread;
    std::mutex m_mutex;
    std::vector<std::pair<int, Clock::time_point>> m_seen;
};

// Requests on one kept-alive connection.
class KeptAlive {
public:
    explicit KeptAlive(unsigned port) : m_host("127.0.0.1:" + std::to_string(port)) {
        m_socket.connect(loopback(port));
    }
    int request(http::verb verb, const std::string& target, const std::string& body = {}) {
        http::request<http::string_body> request(verb, target, 11);
        request.set(http::field::host, m_host);
        request.set(http::field::authorization, std::string("Bearer ") + DaemonFixture::kToken);
        request.body() = body;
        request.prepare_payload();
        http::write(m_socket, request);
        http::response<http::string_body> response;
        http::read(m_socket, m_buffer, response);
        return static_cast<int>(response.result_int());
    }

private:
    std::string m_host;
    asio::io_context m_io;
    tcp::socket m_socket{m_io};
    beast::flat_buffer m_buffer;
};

void deviceChangeToClients(DaemonFixture& fixture) {
    constexpr int kIndex = parameterIndex::EffectVolume;
    std::vector<std::unique_ptr<Listener>> clients;
    for (int i = 0; i < 20; ++i)
        clients.push_back(std::make_unique<Listener>(fixture.port(), kIndex));
    std::vector<double> samples;
    std::vector<double> served;  // from the moment the mirror holds the value
    Mirror& mirror = fixture.daemon().link().mirror();
    for (int i = 0; i < 100; ++i) {
        int value = 500 + i % 100;
        if (fixture.device().value(kIndex) == value) continue;
        auto start = Clock::now();
        fixture.device().changeAndReport(kIndex, static_cast<uint16_t>(value));
        // Spins, to part the link's share from the server's.
        while (mirror.value(kIndex) != value && Clock::now() - start < std::chrono::seconds(5)) {
        }
        auto held = Clock::now();
        for (auto& client : clients) {
            std::optional<Clock::time_point> seen;
            if (!waitFor([&] { return (seen = client->arrival(value, start)).has_value(); },
                         std::chrono::seconds(5)))
                continue;
            samples.push_back(ms(*seen - start));
            served.push_back(ms(*seen - held));
        }
    }
    printPercentiles("device change -> 20 WebSocket clients", samples);
    printPercentiles("  of which mirror -> 20 WebSocket clients", served);
}

// Writes one after the other (gap 0), or at random moments up to gapMs
// apart, so that some find the link quiet or between its keep-alive frames.
void writeToWire(DaemonFixture& fixture, int count, int gapMs) {
    KeptAlive client(fixture.port());
    std::vector<double> samples;
    std::vector<double> answered;  // until the response is back
    std::mt19937 random(7);
    std::uniform_int_distribution<int> gap(0, gapMs);
    for (int i = 0; i < count; ++i) {
        if (gapMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(gap(random)));
        int percent = 20 + i % 50;
        uint16_t code = static_cast<uint16_t>(500 + percent);
        if (fixture.device().value(parameterIndex::MicVolume) == code) continue;
        auto start = Clock::now();
        client.request(http::verb::put, "/api/v1/master",
                       "{\"mic\":" + std::to_string(percent) + "}");
        answered.push_back(ms(Clock::now() - start));
        // Spins: the sample is the moment the device holds the value.
        while (fixture.device().value(parameterIndex::MicVolume) != code &&
               Clock::now() - start < std::chrono::seconds(5)) {
        }
        samples.push_back(ms(Clock::now() - start));
    }
    std::string what = gapMs > 0 ? "API write -> device, 0-" + std::to_string(gapMs) + " ms apart"
                                 : std::string("API write -> device, back to back");
    printPercentiles(what.c_str(), samples);
    printPercentiles("  of which the HTTP response", answered);
}

void statusRate(DaemonFixture& fixture) {
    constexpr int kClients = 4;
    std::atomic<long> done{0};
    std::atomic<bool> stop{false};
    std::vector<std::thread> threads;
    for (int c = 0; c < kClients; ++c)
        threads.emplace_back([&] {
            KeptAlive client(fixture.port());
            while (!stop)
                if (client.request(http::verb::get, "/api/v1/status") == 200) ++done;
        });
    auto start = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(3));
    stop = true;
    for (auto& t : threads) t.join();
    std::printf("%-44s %8.0f requests/s (%d kept-alive clients)\n", "GET /api/v1/status",
                done / (ms(Clock::now() - start) / 1000.0), kClients);
}

long cpuTicks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i) fields >> skip;
    long user = 0, system = 0;
    fields >> user >> system;
    return user + system;
}

long rssKiB(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

// A qx7d of its own on the simulated device, measured from outside.
void idleClients() {
    TempFolder folder;
    const unsigned port = 18000 + static_cast<unsigned>(getpid() % 2000);
    TempFolder::write(folder.path("token"), std::string(DaemonFixture::kToken) + "\n");
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        std::string listen = "127.0.0.1:" + std::to_string(port);
        std::string socket = folder.path("qx7d.sock");
        std::string token = folder.path("token");
        std::freopen("/dev/null", "w", stdout);
        execl(QX7D_PATH, "qx7d", "--simulated", "--listen", listen.c_str(), "--socket",
              socket.c_str(), "--token-file", token.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    auto ready = [&] {
        try {
            KeptAlive probe(port);
            return probe.request(http::verb::get, "/api/v1/master") == 200;
        } catch (...) {
            return false;
        }
    };
    if (!waitFor(ready, std::chrono::seconds(60))) {
        std::printf("qx7d did not become ready\n");
    } else {
        std::vector<std::unique_ptr<Listener>> clients;
        for (int i = 0; i < 20; ++i) clients.push_back(std::make_unique<Listener>(port, 0));
        std::this_thread::sleep_for(std::chrono::seconds(2));
        long before = cpuTicks(pid);
        auto start = Clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(10));
        double cpu = (cpuTicks(pid) - before) * 1000.0 / sysconf(_SC_CLK_TCK) /
                     ms(Clock::now() - start) * 100.0;
        std::printf("%-44s CPU %5.2f %% of a core  RSS %5.1f MiB\n",
                    "qx7d, 20 idle clients (link polling included)", cpu, rssKiB(pid) / 1024.0);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

}  // namespace

int main() {
    {
        DaemonFixture fixture;
        // The values are read; the preset names follow (about 340 ms) before the
        // steady loop that sends writes begins. Figures are of the steady loop.
        LinkSupervisor& supervisor = fixture.daemon().link().supervisor();
        waitFor([&] { return supervisor.steadyIterations() > 0; });
        deviceChangeToClients(fixture);
        writeToWire(fixture, 200, 0);
        writeToWire(fixture, 60, 1500);
        statusRate(fixture);
    }
    idleClients();
    return 0;
}
