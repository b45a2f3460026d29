#pragma once

#include <QObject>
#include <functional>

class QAction;
class QKeySequence;
class QWidget;

// The main window's keys, as actions: Escape takes back the typing in a field
// or else asks the exit question, as the caption's close button does (a stray
// key must not end the user's session); Ctrl+R opens the routing page, Ctrl+W
// the Wi-Fi settings and Ctrl+U the firmware upgrade. An Escape meant for an
// open list or menu closes only that.
class WindowShortcuts : public QObject {
public:
    struct Handlers {
        std::function<void()> routing;
        std::function<void()> wifi;
        std::function<void()> upgrade;
    };

    WindowShortcuts(QWidget& window, Handlers handlers);

    QAction* wifiAction() const { return m_wifi; }
    QAction* upgradeAction() const { return m_upgrade; }
    void refreshTexts();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* add(const QKeySequence& keys, std::function<void()> fn);
    void escape();
    bool cancelTyping();

    QWidget& m_window;
    QAction* m_wifi;
    QAction* m_upgrade;
};
