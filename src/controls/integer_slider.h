#pragma once

#include <QRectF>

#include "controls/skin_control.h"
#include "resources/skin_image.h"

// A compact horizontal slider for an integer, without a text of its own: the
// thumb is dragged, the wheel and the up and down arrow keys step it. Every
// user change is reported at once, clamped first.
class IntegerSlider : public SkinControl {
    Q_OBJECT
public:
    explicit IntegerSlider(QWidget* parent = nullptr);

    // The owner's settings.
    void setRange(int minimum, int maximum);
    void setSetValueScale(int scale) { m_setScale = scale; }

    void setSkin(DrawingSurface* background);
    // value = trunc(scale * x); shown at once, not reported.
    void setScaledValue(double x);
    int value() const { return m_value; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    // Client geometry after layout.
    QRectF thumbRect() const;
    double trackStart() const { return m_start; }
    double trackEnd() const { return m_end; }

signals:
    void valueChanged(int value);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void compose() override;

private:
    int clamped(int v) const;
    void relayout();
    void report();
    void stepBy(int direction);
    double positionOf(int value) const;

    int m_minimum = 0;
    int m_value = 50;
    int m_maximum = 100;
    int m_setScale = 10;
    double m_start = 0, m_cross = 0, m_end = 0;
    double m_thumbWidth = 0, m_thumbHeight = 0;
    SkinImage m_image;
};
