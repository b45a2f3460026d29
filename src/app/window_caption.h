#pragma once

#include <QObject>
#include <functional>
#include <vector>

class QAction;
class QPoint;
class QWidget;
class UndoControl;

// The frameless window's caption band: dragging it moves the window, a
// double click in the top-left corner asks for the about box, and its context
// menu offers undo and redo and the given actions.
class WindowCaption : public QObject {
public:
    WindowCaption(QWidget& window, UndoControl& undo);

    // How high the band is now, in the window's pixels.
    void setHeight(double height) { m_height = height; }
    void setAboutHandler(std::function<void()> handler) { m_about = std::move(handler); }
    void setMenuActions(std::vector<QAction*> actions) { m_actions = std::move(actions); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool onBand(const QPoint& pos) const;
    void press(const QPoint& pos, const QPoint& globalPos);
    void showMenu(const QPoint& globalPos);

    QWidget& m_window;
    UndoControl& m_undo;
    double m_height = 26;
    std::function<void()> m_about;
    std::vector<QAction*> m_actions;
};
