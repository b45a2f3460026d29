#pragma once

#include <QObject>
#include <array>
#include <functional>
#include <memory>

#include "binding/page_number.h"
#include "controls/skin_button.h"
#include "pages/page.h"
#include "pages/system_page.h"

class DrawingSurface;
class EqualiserPage;
class Link;
class OutputPage;
class ParameterBinding;

// The main window's page area: ten pages, one shown at a time, and the row
// of navigation buttons that chooses it.
class PageStack : public QObject {
public:
    explicit PageStack(QWidget& window);
    ~PageStack() override;

    using ChangeHandler = std::function<void(int page, int field)>;

    // Every page, each attached to the binding and reporting its changes to
    // the handler; the system page asks jobs for the mode and file work. The microphone page also
    // tells the binding which microphone it edits, and reads the mirror itself when the user
    // switches microphone; refreshed names the indices it read.
    void createPages(ParameterBinding& binding, Link& link, SystemPage::Jobs jobs,
                     const ChangeHandler& changed, std::function<void(int index)> refreshed);
    Page& page(int i) { return *m_pages[static_cast<size_t>(i)]; }
    OutputPage& outputPage(int i);
    EqualiserPage& equaliserPage(int i);
    SystemPage& systemPage();
    bool complete() const;
    SkinButton& navigationButton(int i) { return m_buttons[static_cast<size_t>(i)]; }

    // The first placing creates the buttons, and gives the pages the skin.
    void placeButtons(DrawingSurface* background, double sx, double sy, bool create);
    void placePages(DrawingSurface* background, const QRect& area, bool create);
    // Shows page i and hides the others; none shows for an i outside the pages.
    void select(int i);
    void refreshTexts();
    // The shown page takes input or not.
    void setInputEnabled(bool enabled);

private:
    void add(int index, std::unique_ptr<Page> page);
    std::unique_ptr<EqualiserPage> createEqualiserPage(int index, Link& link,
                                                       ParameterBinding& binding,
                                                       std::function<void(int)> refreshed);

    QWidget& m_window;
    std::array<SkinButton, pageNumber::Count> m_buttons;
    std::array<std::unique_ptr<Page>, pageNumber::Count> m_pages;
    bool m_enabled = false;
};
