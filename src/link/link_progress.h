#pragma once

#include <string>

#include "link/link_state.h"

class LinkUi;
struct TextTriple;

// The progress dialog as the link drives it: nothing happens once the link
// was stopped, and every hide is followed by posting link event 8.
class LinkProgress {
public:
    LinkProgress(LinkUi& ui, const LinkState& state) : m_ui(ui), m_state(state) {}

    void setMaximum(int maximum);
    void setFormat(const std::string& format);
    void setFormat(const TextTriple& format);  // in the current language
    void setPosition(int position);
    void show();
    void hide();

private:
    bool active() const { return !m_state.stopping(); }

    LinkUi& m_ui;
    const LinkState& m_state;
};
