#pragma once

#include <QFont>
#include <QRect>
#include <QString>

#include "controls/skin_control.h"
#include "resources/skin_image.h"

// An owner-drawn push or toggle button: its face is one frame of a horizontal
// strip of frames, with a text over it. A completed click is reported once
// the mouse event is done, so that what it opens or closes runs outside it.
class SkinButton : public SkinControl {
    Q_OBJECT
public:
    explicit SkinButton(QWidget* parent = nullptr);

    // Stores the background source; an id above 0 also loads that strip,
    // whose frame count becomes its width divided by the button's.
    void setImage(DrawingSurface* backgroundSource, SkinId pngId);
    void setTextStyle(double fontSize, const QString& face, QRgb normalColour, unsigned alignment,
                      QRgb onColour);
    void setText(const QString& text);
    QString text() const { return m_text; }
    // 0 push button, 1 toggle off, 2 toggle on.
    void setCheckType(int type);
    int checkType() const { return m_checkType; }

    int frameCount() const { return m_frameCount; }
    int currentFrame() const { return m_currentFrame; }
    bool hovering() const { return m_hover; }
    bool pressed() const { return m_pressed; }
    QRectF textBox();
    QColor currentTextColour() const { return QColor::fromRgba(m_currentColour); }
    const QImage& renderPicture() override;
    const QImage& picture() { return renderPicture(); }

signals:
    void clicked();

protected:
    void resizeEvent(QResizeEvent*) override;
    void moveEvent(QMoveEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    void compose() override;
    void inputStateChanged() override;

private:
    void ensureLayout();
    void invalidateLayout();
    void invalidateRender() { surface().invalidate(); }
    QRectF scaledHotRect() const;
    QRectF hoverArea() const;
    void evaluatePointer(const QPointF& pos);
    void buttonDown(const QPointF& pos);

    QString m_text;
    double m_fontSize = 12.0;
    unsigned m_alignment = 0;
    QRectF m_textBox;
    QString m_face = QString::fromUtf8("宋体");
    QRgb m_currentColour = 0xFF000000;
    QFont m_font;
    QRgb m_normalColour = 0xFF000000;
    QRgb m_onColour = 0xFF000000;
    int m_currentFrame = 0;
    int m_hoverFrame = 2;
    int m_frameCount = 4;
    SkinImage m_image;
    QRect m_hotRect;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
    bool m_hover = false;
    bool m_pressed = false;
    bool m_imageLoaded = false;
    bool m_layoutValid = false;
    int m_checkType = 0;
};
