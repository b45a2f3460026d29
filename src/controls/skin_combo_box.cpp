#include "controls/skin_combo_box.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWheelEvent>
#include <utility>

#include "platform/qt/font_faces.h"
#include "resources/skin_ids.h"

namespace {

struct Skin {
    SkinId picture;
    QSize face;
    int left, top, right, bottom;  // the text rectangle in skin pixels
};

Skin skin(SkinComboBox::Style style) {
    if (style == SkinComboBox::Style::Header) return {SkinId::HeaderCombo, {100, 19}, 6, 1, 80, 18};
    return {SkinId::PageCombo, {169, 19}, 4, 1, 151, 18};
}

// Dark text on a light list.
const QColor kListTextColour(0x52, 0x52, 0x52);
const QColor kListBase(0xee, 0xf0, 0xf3);

}  // namespace

SkinComboBox::SkinComboBox(QWidget* parent) : QComboBox(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QComboBox::activated, this, [this](int index) { choose(index); });
    // The selected item removed: item 0, as for any selection beyond the items.
    connect(model(), &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                m_selectionRemoved = currentIndex() >= first && currentIndex() <= last;
            });
    connect(model(), &QAbstractItemModel::rowsRemoved, this, [this] {
        if (std::exchange(m_selectionRemoved, false)) setCurrentIndex(count() > 0 ? 0 : -1);
    });
}

void SkinComboBox::create(const QRect& rect) {
    place(rect);
    show();
}

void SkinComboBox::place(const QRect& rect) {
    m_listHeight = rect.height();
    setGeometry(rect);
    fitFace();
}

void SkinComboBox::fitFace() {
    Skin s = skin(m_style);
    int faceHeight =
        std::max(1, static_cast<int>(s.face.height() * width() / double(s.face.width())));
    if (height() != faceHeight) resize(width(), faceHeight);
}

void SkinComboBox::setSkin(DrawingSurface* backgroundSource, Style style) {
    m_style = style;
    m_image = SkinImage::load(skin(style).picture);
    m_imageLoaded = !m_image.isNull();
    m_surface.setSource(backgroundSource);
    invalidateLayout();
    // Layout again once the current event is done, as a resize would.
    QTimer::singleShot(0, this, [this] {
        fitFace();
        invalidateLayout();
        update();
    });
}

void SkinComboBox::setSelection(int index) {
    setCurrentIndex(index < 0 || index >= count() ? 0 : index);
    m_none = false;
    m_surface.invalidate();
    update();
}

void SkinComboBox::setShown(bool shown) {
    m_shown = shown;
    m_surface.invalidate();
    update();
}

void SkinComboBox::setInputEnabled(bool enabled) {
    m_enabled = enabled;
    m_surface.invalidate();
    update();
}

void SkinComboBox::drawToSurface(DrawingSurface& target, bool relativeToRoot) {
    if (!m_imageLoaded) return;
    ensureLayout();
    ensureRender();
    m_surface.drawTo(this, target, relativeToRoot);
}

void SkinComboBox::setFontHeight(int height) {
    m_fontHeight = height;
    invalidateLayout();
}

void SkinComboBox::setTextColour(const QColor& colour) {
    m_textColour = colour;
    m_surface.invalidate();
    update();
}

void SkinComboBox::setFaceName(const QString& face) {
    m_faceName = face;
    invalidateLayout();
}

const QImage& SkinComboBox::picture() {
    ensureLayout();
    ensureRender();
    return m_surface.composed().image();
}

void SkinComboBox::clearSelection() {
    m_none = true;
    m_surface.invalidate();
    update();
}

void SkinComboBox::choose(int index) {
    setCurrentIndex(std::max(0, index));
    m_none = false;
    m_surface.invalidate();
    update();
    QMetaObject::invokeMethod(this, &SkinComboBox::selectionChosen, Qt::QueuedConnection);
}

void SkinComboBox::invalidateLayout() {
    m_layoutValid = false;
    m_surface.invalidate();
    update();
}

// The open list in the list text colour, on a background it reads on.
void SkinComboBox::styleList() {
    QPalette palette = view()->palette();
    palette.setColor(QPalette::Base, kListBase);
    palette.setColor(QPalette::Window, kListBase);
    palette.setColor(QPalette::Text, kListTextColour);
    palette.setColor(QPalette::Highlight, QColor(0x2b, 0xb8, 0xec));
    palette.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
    view()->setPalette(palette);
}

void SkinComboBox::ensureLayout() {
    if (m_layoutValid) return;
    m_layoutValid = true;
    m_surface.captureBackground(this);
    Skin s = skin(m_style);
    m_scale = width() / static_cast<double>(s.face.width());
    auto scaled = [&](int v) { return static_cast<int>(v * m_scale); };
    m_textRect = QRect(QPoint(scaled(s.left), scaled(s.top)),
                       QPoint(scaled(s.right) - 1, scaled(s.bottom) - 1));
    m_listFont = FontFaces::pixelFont(m_faceName, m_fontHeight * m_scale);
    m_faceFont = FontFaces::pixelFont(m_faceName, m_fontHeight * m_scale * 1.2);
    m_listFont.setStyleHint(QFont::SansSerif);
    m_faceFont.setStyleHint(QFont::SansSerif);
    setFont(m_listFont);
    view()->setFont(m_listFont);
    // As many rows as the list height the owner gave leaves room for.
    int row = QFontMetrics(m_listFont).height() + 4;
    if (m_listHeight > height()) setMaxVisibleItems(std::max(3, (m_listHeight - height()) / row));
    styleList();
}

// The background was captured with the layout.
void SkinComboBox::ensureRender() {
    m_surface.render(this, [this] { compose(); });
}

void SkinComboBox::compose() {
    QImage* dc = m_surface.composeOnBackground(this, m_shown);
    if (!dc) return;
    QPainter p(dc);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    Skin s = skin(m_style);
    int frame = m_focused ? 1 : 0;
    m_image.draw(p, QRectF(0, 0, s.face.width() * m_scale, s.face.height() * m_scale),
                 QRectF(frame * s.face.width(), 0, s.face.width(), s.face.height()));
    m_faceText = count() > 0 && !m_none ? itemText(selection()) : QString();
    p.setFont(m_faceFont);
    p.setPen(m_textColour);
    p.drawText(m_textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip,
               m_faceText);
}

void SkinComboBox::paintEvent(QPaintEvent* event) {
    if (!m_imageLoaded) {
        QComboBox::paintEvent(event);
        return;
    }
    ensureLayout();
    ensureRender();
    QPainter p(this);
    p.drawImage(0, 0, m_surface.composed().image());
}

void SkinComboBox::resizeEvent(QResizeEvent* event) {
    QComboBox::resizeEvent(event);
    invalidateLayout();
}

void SkinComboBox::moveEvent(QMoveEvent* event) {
    QComboBox::moveEvent(event);
    invalidateLayout();
}

void SkinComboBox::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    m_focused = true;
    m_surface.invalidate();
    update();
}

void SkinComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    m_focused = false;
    m_surface.invalidate();
    update();
}

void SkinComboBox::mousePressEvent(QMouseEvent* event) {
    if (acceptsInput()) QComboBox::mousePressEvent(event);
}

void SkinComboBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (acceptsInput()) QComboBox::mouseDoubleClickEvent(event);
}

// A wheel turned over a list the user is not working in scrolls the page, as
// on the desktop this control comes from; it never changes the selection.
void SkinComboBox::wheelEvent(QWheelEvent* event) {
    if (acceptsInput() && hasFocus())
        QComboBox::wheelEvent(event);
    else
        event->ignore();
}

void SkinComboBox::keyPressEvent(QKeyEvent* event) {
    if (acceptsInput() && hasFocus())
        QComboBox::keyPressEvent(event);
    else
        event->ignore();
}
