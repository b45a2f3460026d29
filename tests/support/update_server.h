#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

// An update server on 127.0.0.1 for tests, UDP and TCP on one port that the
// kernel picks. It answers every version query with `answer` and every
// download request with `download` (sent in one go); then it closes the
// connection, or holds it silently when `hold` is set. With `trickleFrom`, a
// held connection gets only that many bytes at once and then one byte every
// 20 ms.
class UpdateServer {
public:
    UpdateServer();
    ~UpdateServer();
    UpdateServer(const UpdateServer&) = delete;
    UpdateServer& operator=(const UpdateServer&) = delete;

    bool ok() const { return m_port != 0; }
    uint16_t port() const { return m_port; }

    void setAnswer(std::vector<uint8_t> answer);
    void setDownload(std::vector<uint8_t> download, bool hold, size_t trickleFrom = SIZE_MAX);

    std::vector<std::vector<uint8_t>> queries() const;
    std::vector<std::vector<uint8_t>> requests() const;
    size_t connections() const { return m_connections; }

private:
    void serve();
    void serveQuery();
    void serveDownload();
    void trickle();

    struct Held {
        int fd;
        size_t sent;
    };

    int m_udp = -1;
    int m_tcp = -1;
    uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<size_t> m_connections{0};
    mutable std::mutex m_mutex;
    std::vector<uint8_t> m_answer;
    std::vector<uint8_t> m_download;
    bool m_hold = false;
    size_t m_trickleFrom = SIZE_MAX;
    std::vector<Held> m_held;
    std::vector<std::vector<uint8_t>> m_queries;
    std::vector<std::vector<uint8_t>> m_requests;
    std::thread m_thread;
};
