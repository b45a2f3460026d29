#pragma once

#include <array>
#include <atomic>
#include <map>
#include <mutex>
#include <string>

#include "cli/console_ui.h"
#include "link/mirror.h"

// The link's user interface for qx7ctl: progress on standard error (unless
// quiet), every message box on standard error, and a count of the values the
// device has delivered per parameter, so that a command can wait for a read.
class CtlUi : public ConsoleUi {
public:
    explicit CtlUi(bool quiet) : ConsoleUi(stderr, quiet) {}

    void postEvent(int code, int argument) override;
    void sendEvent(int code, int argument) override;
    Answer messageBox(const std::string& text, const std::string& caption, int language,
                      Buttons buttons) override;

    uint32_t deliveries(int index) const;
    std::string lastMessage() const;
    // How often a message with this text was shown.
    uint64_t messageCount(const std::string& text) const;
    // The link asked which of several modules to take (a command line cannot answer).
    bool moduleChoiceAsked() const { return m_moduleChoiceAsked; }

private:
    std::array<std::atomic<uint32_t>, Mirror::kSize> m_deliveries{};
    std::atomic<bool> m_moduleChoiceAsked{false};
    mutable std::mutex m_messageMutex;
    std::string m_lastMessage;
    std::map<std::string, uint64_t> m_counts;
};
