#pragma once

#include <QImage>
#include <QWidget>

#include "controls/control_surface.h"

// What the skinned controls share: whether they are shown and take input, the focused look, a drag
// in progress, and the surface they compose their picture on, paint from and copy onto a page.
class SkinControl : public QWidget {
public:
    explicit SkinControl(QWidget* parent = nullptr);

    // Places and shows the control.
    void create(const QRect& rect);

    void setShown(bool shown);
    void setInputEnabled(bool enabled);
    bool shown() const { return m_shown; }
    bool enabledForInput() const { return m_enabled; }
    bool focusedLook() const { return m_focused; }
    bool dragging() const { return m_dragging; }

    // The composed picture, brought up to date as painting does.
    virtual const QImage& renderPicture();
    // Copies the picture onto the target at the control's place in the root
    // window's client coordinates (relativeToRoot) or its parent's.
    void drawToSurface(DrawingSurface& target, bool relativeToRoot);
    // The picture is composed again at the next painting.
    virtual void invalidate();

protected:
    bool acceptsInput() const { return m_shown && m_enabled; }
    void setFocusedLook(bool focused) { m_focused = focused; }
    // Takes the mouse and shows the hand until endDrag gives both back.
    void beginDrag();
    void endDrag();
    ControlSurface& surface() { return m_surface; }

    // The picture is composed again and painted at once.
    void redrawNow();
    // Draws the picture on the surface when it is out of date.
    virtual void compose() = 0;
    // Called after setShown and setInputEnabled changed the state, before the redraw.
    virtual void inputStateChanged() {}

    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool m_shown = true;
    bool m_enabled = true;
    bool m_focused = false;
    bool m_dragging = false;
    ControlSurface m_surface;
};
