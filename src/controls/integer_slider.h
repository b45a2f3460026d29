#pragma once

#include <QRectF>
#include <QSize>
#include <QWidget>

#include "controls/control_surface.h"
#include "resources/skin_image.h"

// A compact slider for an integer, horizontal or vertical, without a text of
// its own: the thumb is dragged, the wheel and the up and down arrow keys
// step it. Every change is sent at once to the parent as the slider's own
// message number with its index and the value, clamped first.
class IntegerSlider : public QWidget {
public:
    // A layout row in design units: the picture's size, the track's minimum
    // end, the thumb centre across the track, the maximum end, the thumb size.
    struct LayoutRow {
        QSize design;
        double start, cross, end;
        QSize thumb;
    };
    static constexpr int kLayoutRows = 15;
    // Row 0 for a number outside the table.
    static const LayoutRow& layoutRow(int row);

    explicit IntegerSlider(QWidget* parent = nullptr);

    void create(unsigned controlId, const QRect& rect);
    unsigned controlId() const { return m_id; }

    // The owner's settings.
    void setIndex(int index) { m_index = index; }
    int index() const { return m_index; }
    void setVertical(bool vertical);
    void setRange(int minimum, int maximum);
    void setSetValueScale(int scale) { m_setScale = scale; }
    // At and above it the wheel and keys move ten steps.
    void setCoarseThreshold(int threshold) { m_coarse = threshold; }
    void setStep(double step) { m_step = step; }
    void SetShown(bool shown);
    void SetEnabled(bool enabled);

    void SetSkin(DrawingSurface* background, int pngId, int layoutRow);
    // value = trunc(scale * x); shown at once, not reported.
    void SetScaledValue(double x);
    int value() const { return m_value; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    bool focusedLook() const { return m_focused; }
    bool dragging() const { return m_dragging; }

    void DrawToSurface(DrawingSurface& target, int relativeToRoot);
    const QImage& renderPicture();

    // Client geometry after layout.
    QRectF thumbRect() const;
    double trackStart() const { return m_start; }
    double trackEnd() const { return m_end; }
    double cross() const { return m_cross; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool acceptsInput() const { return m_shown && m_enabled; }
    int clamped(int v) const;
    void relayout();
    void report();
    void stepBy(int direction);
    void invalidate();
    void compose();
    double positionOf(int value) const;

    unsigned m_id = 0;
    int m_index = 0;
    bool m_focused = false;
    bool m_dragging = false;
    bool m_vertical = true;
    int m_minimum = 0;
    int m_value = 50;
    int m_maximum = 100;
    int m_setScale = 10;
    int m_coarse = 30000;
    double m_step = 1.0;
    double m_start = 86, m_cross = 9, m_end = 12;
    double m_thumbWidth = 16, m_thumbHeight = 23;
    int m_row = 0;
    SkinImage m_image;
    bool m_shown = true;
    bool m_enabled = true;
    ControlSurface m_surface;
};
