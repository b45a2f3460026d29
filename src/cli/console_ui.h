#pragma once

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

#include "link/link_ui.h"

// The link's user interface on a terminal: connection states, progress and
// messages are printed; message boxes are answered at once with OK.
class ConsoleUi : public LinkUi {
public:
    explicit ConsoleUi(std::FILE* out = stdout, bool quiet = false) : m_out(out), m_quiet(quiet) {}

    void postEvent(int code, int argument) override;
    void sendEvent(int code, int argument) override;
    Answer messageBox(const std::string& text, const std::string& caption, int language,
                      Buttons buttons) override;
    void progressSetMaximum(int maximum) override;
    void progressSetFormat(const std::string& format) override;
    void progressSetPosition(int position) override;
    void progressShow() override;
    void progressHide() override;
    void setWindowTitle(const std::string& title) override;

    bool connected() const { return m_connected; }

private:
    void handleEvent(int code, int argument);
    void print(const std::string& line);
    void printProgress();

    std::FILE* m_out;
    bool m_quiet;
    std::mutex m_mutex;
    std::atomic<int> m_received{0};
    std::atomic<bool> m_connected{false};
    int m_maximum = 1;
    int m_position = 0;
    int m_shownPercent = -1;
    bool m_visible = false;
    std::string m_format;
};
