#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>

#include "controls/control_surface.h"

// What the skinned controls share: the identifier they report under, whether
// they are shown and take input, the focused look, a drag in progress, and the
// surface they compose their picture on, paint from and copy onto a page.
class SkinControl : public QWidget {
public:
    explicit SkinControl(QWidget* parent = nullptr, unsigned controlId = 0);

    // Places the control and gives it its control identifier.
    void create(unsigned controlId, const QRect& rect);
    unsigned controlId() const { return m_id; }

    void SetShown(bool shown);
    void SetEnabled(bool enabled);
    bool shown() const { return m_shown; }
    bool enabledForInput() const { return m_enabled; }
    bool focusedLook() const { return m_focused; }
    bool dragging() const { return m_dragging; }

    // The composed picture, brought up to date as painting does.
    virtual const QImage& renderPicture();
    // Copies the picture onto the target at the control's place in the root
    // window's client coordinates (relativeToRoot) or its parent's.
    void DrawToSurface(DrawingSurface& target, bool relativeToRoot);
    // The picture is composed again at the next painting.
    virtual void invalidate();

protected:
    bool acceptsInput() const { return m_shown && m_enabled; }
    void setFocusedLook(bool focused) { m_focused = focused; }
    // Takes the mouse and shows the hand until endDrag gives both back.
    void beginDrag();
    void endDrag();
    // The parent hears of a user change as a message numbered by the control's identifier.
    intptr_t notifyParent(intptr_t wParam, intptr_t lParam);
    ControlSurface& surface() { return m_surface; }

    // The picture is composed again and painted at once.
    void redrawNow();
    // Draws the picture on the surface when it is out of date.
    virtual void compose() = 0;
    // Called after SetShown and SetEnabled changed the state, before the redraw.
    virtual void inputStateChanged() {}

    void paintEvent(QPaintEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    unsigned m_id = 0;
    bool m_shown = true;
    bool m_enabled = true;
    bool m_focused = false;
    bool m_dragging = false;
    ControlSurface m_surface;
};
