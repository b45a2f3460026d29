#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "link/link_ui.h"

// A LinkUi that remembers everything the link told it, for tests.
class RecordingUi : public LinkUi {
public:
    struct Event {
        int code;
        int argument;
        bool sent;
    };
    struct Message {
        std::string text;
        std::string caption;
        int language;
    };

    void postEvent(int code, int argument) override;
    void sendEvent(int code, int argument) override;
    Answer messageBox(const std::string& text, const std::string& caption, int language,
                      Buttons buttons) override;
    void progressSetMaximum(int maximum) override;
    void progressSetFormat(const std::string& format) override;
    void progressSetPosition(int position) override;
    void progressShow() override;
    void progressHide() override;
    void progressSetCancellable(bool cancellable) override;
    bool progressCancelled() const override;
    void setWindowTitle(const std::string& title) override;

    // Runs on the link's thread while the box is "open"; its answer is returned.
    void onMessageBox(std::function<Answer(const Message&)> handler);
    // Runs on the link's thread for every event, after it was recorded.
    void onEvent(std::function<void(const Event&)> handler);

    std::vector<Event> events() const;
    std::vector<Message> messages() const;
    int countEvents(int code, int argument) const;
    int countMessages(const std::string& text) const;
    std::vector<std::string> progressLog()
        const;  // "max 1746", "format ...", "pos 5", "show", "hide"
    std::string title() const;
    // Cancel counts as pressed once the progress reached this position.
    void cancelAtPosition(int position);
    void clear();

private:
    void record(const Event& event);

    mutable std::mutex m_mutex;
    std::vector<Event> m_events;
    std::vector<Message> m_messages;
    std::vector<std::string> m_progress;
    std::string m_title;
    int m_cancelAt = -1;
    bool m_cancelled = false;
    std::function<Answer(const Message&)> m_handler;
    std::function<void(const Event&)> m_eventHandler;
};
