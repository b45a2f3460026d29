#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

#include "controls/control_surface.h"
#include "resources/skin_image.h"

// A skinned label: its background, an optional fill, an optional picture
// stretched over it and a text. A text longer than the label is not wrapped
// or cut when single-line: its box widens about the centre.
class SkinLabel : public QWidget {
public:
    explicit SkinLabel(QWidget* parent = nullptr);

    void create(unsigned controlId, const QRect& rect);
    unsigned controlId() const { return m_controlId; }

    // A fill colour whose alpha is 0 draws nothing; an id above 0 replaces the picture.
    void SetBackground(DrawingSurface* backgroundSource, QRgb fillColour, int pngId);
    void SetText(const QString& text);
    QString text() const { return m_text; }
    void SetTextStyle(double fontSize, const QString& face, QRgb colour, unsigned alignment);
    void DrawToSurface(DrawingSurface& target, int relativeToRoot);

    // Where the text went at the last drawing.
    QRectF textBox() const { return m_textBox; }
    const QImage& picture();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void moveEvent(QMoveEvent*) override;
    void focusOutEvent(QFocusEvent*) override;

private:
    void ensureRender();
    void compose();

    unsigned m_controlId = 0;
    QString m_text;
    double m_fontSize = 12.0;
    QRgb m_colour = 0xFF000000;
    QString m_face = QString::fromUtf8("宋体");
    unsigned m_alignment = 0;
    SkinImage m_image;
    QRgb m_fill = 0;
    QRectF m_textBox;
    ControlSurface m_surface;
};
