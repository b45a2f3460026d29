#pragma once

#include <atomic>
#include <string>

class LinkUi;
struct TextTriple;

// The progress dialog as the link drives it: nothing happens while the link
// run flag is 0, and every hide is followed by posting link event 8.
class LinkProgress {
public:
    LinkProgress(LinkUi& ui, const std::atomic<uint8_t>& runFlag) : m_ui(ui), m_runFlag(runFlag) {}

    void setMaximum(int maximum);
    void setFormat(const std::string& format);
    void setFormat(const TextTriple& format);  // in the current language
    void setPosition(int position);
    void show();
    void hide();

private:
    bool active() const { return m_runFlag.load() != 0; }

    LinkUi& m_ui;
    const std::atomic<uint8_t>& m_runFlag;
};
