#pragma once

#include <QColor>
#include <QComboBox>
#include <QFont>
#include <algorithm>

#include "controls/control_surface.h"
#include "resources/skin_image.h"

// An owner-drawn drop-down list: the closed face is one of two frames of a
// picture (1 while focused) with the selected item's text. The selection is
// the Qt combo's current index, whoever sets it. A choice from the list, the
// wheel or a key is reported once the event is done. The wheel acts only on a
// focused combo, keys and the mouse only on a shown and enabled one.
class SkinComboBox : public QComboBox {
    Q_OBJECT
public:
    // The page's and the header's faces.
    enum class Style { Page, Header };

    explicit SkinComboBox(QWidget* parent = nullptr);

    // rect is the control as a drop-down list gives it: its height is the
    // open list's; the face itself is as high as the skin at that width.
    void create(const QRect& rect);
    void place(const QRect& rect);

    void setSkin(DrawingSurface* backgroundSource, Style style);
    // An index outside the items selects item 0.
    void setSelection(int index);
    // No item: an empty face and a selection of -1 until one is chosen or set.
    void clearSelection();
    int selection() const { return m_none ? -1 : std::max(0, currentIndex()); }
    void setShown(bool shown);
    void setInputEnabled(bool enabled);
    void drawToSurface(DrawingSurface& target, bool relativeToRoot);

    void setFontHeight(int height);
    void setTextColour(const QColor& colour);
    void setFaceName(const QString& face);

    bool focused() const { return m_focused; }
    double scale() const { return m_scale; }
    QRect textRect() const { return m_textRect; }
    QString faceText() const { return m_faceText; }
    const QImage& picture();

signals:
    void selectionChosen();

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void choose(int index);
    bool acceptsInput() const { return m_shown && m_enabled; }
    void ensureLayout();
    void ensureRender();
    void compose();
    void invalidateLayout();
    void fitFace();
    void styleList();

    double m_scale = 1.0;
    bool m_none = false;
    bool m_focused = false;
    bool m_selectionRemoved = false;
    SkinImage m_image;
    bool m_imageLoaded = false;
    bool m_layoutValid = false;
    QString m_faceText;
    int m_fontHeight = 14;
    QRect m_textRect;
    QColor m_textColour{0x52, 0x52, 0x52};
    Style m_style = Style::Page;
    bool m_shown = true;
    bool m_enabled = true;
    int m_listHeight = 0;
    QFont m_listFont;
    QFont m_faceFont;
    QString m_faceName = QStringLiteral("Arial Bold");
    ControlSurface m_surface;
};
