#pragma once

#include <QImage>
#include <QRectF>
#include <QString>
#include <array>

#include "controls/skin_control.h"
#include "filter/band_value_text.h"
#include "resources/skin_image.h"

class QLineEdit;

// One parametric equaliser band as a narrow skinned strip: gain box, band
// number, gain fader, three type icons, frequency box and Q box. Every user
// change names the sub-value that changed (0 gain, 1 frequency, 2 Q, 3 type).
// What the strip reports is read back from the texts its boxes show.
class BandStrip : public SkinControl {
    Q_OBJECT
public:
    explicit BandStrip(QWidget* parent = nullptr);
    ~BandStrip() override;

    void setStripIndex(int index);
    void setIconsShown(bool shown);

    void setSkin(DrawingSurface* background);
    void setSubValue(int sub, double value);
    double subValue(int sub) const;
    // What box s (0 gain, 1 frequency, 2 Q) shows.
    QString boxText(int sub) const;
    QLineEdit* box(int sub) const;

    // Client rectangles of the thumb and of type icon k, for the owner and tests.
    QRectF thumbRect() const;
    QRectF iconRect(int k) const;

signals:
    void subValueChanged(int sub);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void compose() override;
    void inputStateChanged() override;

private:
    void relayout();
    void createBoxes();
    void showValue(int sub, double value);
    double quantisedBox(int sub, int step) const;
    bool boxHoldsANumber(int sub) const;
    void stepBox(int sub, int step);
    void notify(int sub);
    bool handleKey(QKeyEvent* event);
    int boxSub(QObject* object) const;
    double thumbCentre() const;
    QRectF scaled(const QRectF& designRect) const;

    int m_index = 0;
    std::array<QLineEdit*, 3> m_boxes{};
    std::array<QString, 3> m_texts;
    bool m_boxEnter = false;  // an Enter from a box is on its way through the strip
    int m_focusedBox = 0;     // 1 ... 3 while box (sub-value + 1) has the keyboard focus
    BandValueText::GainRange m_gainRange;
    double m_gain = 0;
    int m_type = 7;
    double m_trackBottom = 0, m_trackTop = 0, m_trackX = 0;
    double m_thumbWidth = 0, m_thumbHeight = 0;
    SkinImage m_image;
    bool m_iconsShown = true;
    bool m_closing = false;
};
