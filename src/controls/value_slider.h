#pragma once

#include <QImage>
#include <QRectF>
#include <QString>

#include "controls/skin_control.h"
#include "filter/slider_scale.h"
#include "resources/skin_image.h"

// The horizontal value slider: a label band (the text up to the first colon on
// the left, the rest on the right), a track with a thumb, an optional level bar
// and an optional on/off toggle whose offset is added to the reported value
// (the output mute). A user change reports the value truncated (without the
// toggle offset).
class ValueSlider : public SkinControl {
    Q_OBJECT
public:
    explicit ValueSlider(QWidget* parent = nullptr);

    // The owner's settings.
    void setRange(double minimum, double maximum);
    // Values below the threshold move in fine steps.
    void setFineSteps(double threshold, double step);
    const SliderScale& scale() const { return m_scale; }
    void setLevelBar(bool on);
    void setLabelMode(bool on);  // the label band above the track
    void setTogglePresent(bool present);
    void setToggleOffset(int offset) { m_toggleOffset = offset; }
    void setLabelColour(QRgb colour);
    // When set, the label is rebuilt from it with the value at every drawing.
    void setLabelFormat(const QString& format);

    void setSkin(DrawingSurface* background);
    void setValue(double value);
    double valueWithToggle() const;
    double value() const { return m_value; }
    bool toggleOn() const { return m_toggleOffsetNow != 0; }

    void setLabelText(const QString& text);
    QString labelText() const;  // as drawn: from the format when there is one

    // Client geometry, for the owner and tests.
    QRectF thumbRect() const;
    QRectF toggleRect() const { return m_toggle; }
    double trackStart() const { return m_trackStart; }
    double trackEnd() const { return m_trackEnd; }

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
    void relayout();
    void notify();
    QRectF trackBand() const;

    bool m_levelBar = true;
    bool m_labelMode = false;
    bool m_togglePresent = false;
    int m_toggleOffset = 500;
    QRgb m_labelColour = 0xFF9D9D9D;
    SliderScale m_scale;
    QString m_labelFormat;
    QString m_label;
    int m_toggleOffsetNow = 0;
    QRectF m_toggle;
    double m_value = 0;
    double m_trackStart = 0, m_trackEnd = 0, m_trackY = 0;
    double m_barHeight = 4.0;
    double m_thumbWidth = 0, m_thumbHeight = 0;
    SkinImage m_image;
};
