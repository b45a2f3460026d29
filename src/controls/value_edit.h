#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

#include "controls/skin_control.h"

class QLineEdit;

// A small numeric box: a coloured, framed face with a text edit in which the
// user types a number, steps it with the up and down arrows or the wheel.
// It keeps an integer value within limits (shown through
// a printf-style format) and reports every user change at once.
class ValueEdit : public SkinControl {
    Q_OBJECT
public:
    explicit ValueEdit(QWidget* parent = nullptr);

    // The owner's settings, made before the first drawing.
    void setRange(int minimum, int maximum);
    // Empty: no text.
    void setFormat(const QString& format);
    void setTextColour(QRgb colour);
    void setEditable(bool editable);
    bool editable() const { return m_editable; }

    void setColours(QRgb normal, QRgb focused);
    void setTextFont(int height, const QString& face);
    // value = trunc(x), clamped; shown at once, not reported.
    void setValue(double x);
    int value() const { return m_value; }

    // The text as shown, and the inner edit for the owner's tests.
    QString text() const;
    QLineEdit* edit() const { return m_edit; }

signals:
    void valueChanged(int value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void compose() override;

private:
    std::optional<int> readTyped() const;
    bool stepKey(int key);
    bool cancelTyping();
    void wheelStep(int delta);
    void focusGained();
    void focusLost();
    void notify();
    void showValue();
    void applyEditColours();

    bool m_editable = true;
    int m_value = 50;
    int m_minimum = 0;
    int m_maximum = 100;
    QRgb m_textColour = 0xFF000000;
    QRgb m_normalColour = qRgb(214, 232, 217);
    QRgb m_focusedColour = qRgb(137, 173, 209);
    int m_fontHeight = 14;
    QFont m_font;
    QString m_format = QStringLiteral("%0.0fdB");
    QLineEdit* m_edit = nullptr;
};
