#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class DaemonClient;

// The events WebSocket of a running qx7d, read on a thread of its own: every
// text is kept in order for the taker, who is woken for each one and when the
// socket ends.
class DaemonEvents {
public:
    explicit DaemonEvents(std::function<void()> wake);
    ~DaemonEvents();
    DaemonEvents(const DaemonEvents&) = delete;
    DaemonEvents& operator=(const DaemonEvents&) = delete;

    // Connects and starts reading; false, with a message, when qx7d did not
    // take the connection.
    bool open(const DaemonClient& client, std::string& error);
    // Ends the reading at once and drops what was not taken.
    void close();
    // False once the socket ended (or before it was opened).
    bool isOpen() const;
    std::vector<std::string> take();

private:
    template <class Stream>
    void startReading(std::shared_ptr<void> owner, Stream& stream, int fd);
    void push(std::string text);

    std::function<void()> m_wake;
    mutable std::mutex m_mutex;
    std::deque<std::string> m_texts;
    bool m_open = false;
    int m_fd = -1;
    std::shared_ptr<void> m_owner;  // the stream, kept until the thread is joined
    std::jthread m_thread;
};
