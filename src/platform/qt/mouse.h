#pragma once

class QPoint;
class QWidget;

// Mouse capture, cursors and window dragging for our skinned windows.
class Mouse {
public:
    enum class Cursor { Arrow, Hand };

    // While a widget holds the capture it receives every mouse event, inside or not.
    static void capture(QWidget* widget);
    static void release();
    static QWidget* captured();

    // The arrow is the default, so setting it gives the widget back the
    // cursor of its parent; a hand set on a window would otherwise be
    // inherited by everything in it.
    static void setCursor(QWidget* widget, Cursor cursor);

    // Moves the top-level window with the pointer until the left button is
    // released, as if its caption had been grabbed, with the hand cursor
    // until then. globalPos is where the button went down.
    static void startWindowMove(QWidget* window, const QPoint& globalPos);
};
