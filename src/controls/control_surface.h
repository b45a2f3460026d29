#pragma once

#include <functional>

#include "resources/drawing_surface.h"

class QWidget;

// What every skinned control keeps: the skin surface it copies its background
// from, the copy of that background, and its finished picture, which it
// paints to the screen and can copy onto a page's surface.
class ControlSurface {
public:
    static constexpr QRgb kNoSourceFill = 0xFFF0F0F0;

    void setSource(DrawingSurface* source) { m_source = source; }
    DrawingSurface* source() const { return m_source; }

    // Copies the piece of the source under the widget (at its place in the
    // root window's client area) into the background, or fills the background
    // with 0xF0F0F0 when there is no source. The picture is then out of date.
    void captureBackground(const QWidget* widget);
    DrawingSurface& background() { return m_background; }
    DrawingSurface& composed() { return m_composed; }
    // The composed picture becomes a copy of the background.
    void composeBackgroundOnly();
    // Starts the picture afresh at the widget's size as a copy of the background
    // and returns it to draw the rest on. A hidden control's picture is the
    // background alone: null then.
    QImage* composeOnBackground(const QWidget* widget, bool shown = true);

    // The picture is composed again at the next render; after invalidateBackground
    // the background is captured again first.
    void invalidate() { m_composedValid = false; }
    void invalidateBackground() { m_backgroundValid = false; }
    // Lets both pictures go; the next render makes them again.
    void release();
    // Brings the composed picture up to date, calling compose to draw it when it
    // is out of date, and returns it.
    const QImage& render(const QWidget* widget, const std::function<void()>& compose);
    // Paints the picture onto the widget, or the no-source fill when there is none.
    static void paint(QWidget* widget, const QImage& picture);
    // Paints the piece of the source under the widget (at its place in the root
    // window), at the source's pixel ratio, or the no-source fill.
    static void paintSourcePiece(QWidget* widget, const DrawingSurface* source);

    // Copies the composed picture onto the target at the widget's position in
    // the root window's client coordinates (relativeToRoot) or its parent's.
    void drawTo(const QWidget* widget, DrawingSurface& target, bool relativeToRoot) const;

    // The widget's rectangle in its root window's client coordinates.
    static QRect rectInRoot(const QWidget* widget);

private:
    DrawingSurface* m_source = nullptr;
    DrawingSurface m_background;
    DrawingSurface m_composed;
    bool m_backgroundValid = false;
    bool m_composedValid = false;
};
