#pragma once

#include <QFont>
#include <QString>

#include "controls/skin_control.h"

// A skinned label: a text over the piece of the skin beneath it. A text longer than the label is
// not wrapped or cut when single-line: its box widens about the centre.
class SkinLabel : public SkinControl {
public:
    explicit SkinLabel(QWidget* parent = nullptr);

    void setBackground(DrawingSurface* backgroundSource);
    void setText(const QString& text);
    QString text() const { return m_text; }
    void setTextStyle(double fontSize, const QString& face, QRgb colour, unsigned alignment);

    // Where the text went at the last drawing.
    QRectF textBox() const { return m_textBox; }
    const QImage& renderPicture() override;
    const QImage& picture() { return renderPicture(); }

protected:
    void resizeEvent(QResizeEvent*) override;
    void compose() override;

private:
    QString m_text;
    double m_fontSize = 12.0;
    QRgb m_colour = 0xFF000000;
    QString m_face = QString::fromUtf8("宋体");
    unsigned m_alignment = 0;
    QRectF m_textBox;
};
