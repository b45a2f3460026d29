#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "link/link_ui.h"

// The link's user interface inside the daemon: nobody sits at it, so message
// boxes are noted and answered with the safe choice (OK for a notice, No for a
// question), and every event goes to a listener that tells the clients.
class DaemonUi : public LinkUi {
public:
    enum class Connection { Stopped, Searching, Connected };
    // code as in LinkEvent, or one of the codes below; called on the link's threads.
    using Listener = std::function<void(int code, int argument)>;
    static constexpr int kProgress = 100;  // argument: position
    static constexpr int kMessage = 101;
    static constexpr int kValuesChanged = 102;  // told on the reader thread

    void setListener(Listener listener);

    void postEvent(int code, int argument) override;
    void sendEvent(int code, int argument) override;
    Answer messageBox(const std::string& text, const std::string& caption, int language,
                      Buttons buttons) override;
    void progressSetMaximum(int maximum) override { m_maximum = maximum > 0 ? maximum : 1; }
    void progressSetFormat(const std::string&) override {}
    void progressSetPosition(int position) override;
    void progressShow() override {}
    void progressHide() override {}
    void setWindowTitle(const std::string&) override {}
    void valuesChanged() override { tell(kValuesChanged, 0); }

    Connection connection() const { return m_connection; }
    // Connected, and every value has been read from the device since.
    bool valuesRead() const { return m_connection == Connection::Connected && m_read; }
    int progressPosition() const { return m_position; }
    int progressMaximum() const { return m_maximum; }
    std::string lastMessage() const;

private:
    void handle(int code, int argument);
    void tell(int code, int argument);

    std::mutex m_mutex;
    Listener m_listener;
    std::atomic<Connection> m_connection{Connection::Stopped};
    std::atomic<bool> m_read{false};
    std::atomic<int> m_position{0};
    std::atomic<int> m_maximum{1};
    mutable std::mutex m_messageMutex;
    std::string m_lastMessage;
};
