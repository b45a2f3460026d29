#include "link/link_progress.h"

#include "link/link_event.h"
#include "link/link_ui.h"
#include "texts/text_triple.h"

void LinkProgress::setMaximum(int maximum) {
    if (active()) m_ui.progressSetMaximum(maximum);
}

void LinkProgress::setFormat(const std::string& format) {
    if (active()) m_ui.progressSetFormat(format);
}

void LinkProgress::setFormat(const TextTriple& format) { setFormat(std::string(format.get())); }

void LinkProgress::setPosition(int position) {
    if (active()) m_ui.progressSetPosition(position);
}

void LinkProgress::show() {
    if (active()) m_ui.progressShow();
}

void LinkProgress::hide() {
    if (!active()) return;
    m_ui.progressHide();
    m_ui.postEvent(LinkEvent::ProgressHidden, 0);
}
