#include "resources/drawing_surface.h"

#include <QPainter>
#include <QtMath>
#include <algorithm>

#include "resources/skin_art.h"

namespace {

// Far beyond any screen; a broken layout must not allocate gigabytes.
constexpr int kMaxSide = 16384;

QSize devicePixels(int width, int height, qreal ratio) {
    return QSize(qCeil(width * ratio), qCeil(height * ratio));
}

QImage blank(int width, int height, qreal ratio) {
    QImage image(devicePixels(width, height, ratio), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    return image;
}

// A rectangle of logical pixels in the image's own pixels.
QRectF inPixels(const QImage& image, const QRectF& logical) {
    qreal r = image.devicePixelRatio();
    return QRectF(logical.topLeft() * r, logical.size() * r);
}

}  // namespace

DrawingSurface::DrawingSurface(SkinId bitmapId) {
    loadSkin(bitmapId);
}

DrawingSurface::DrawingSurface(const QRect& rect, qreal pixelRatio) : m_ratio(pixelRatio) {
    if (rect.width() <= 0 || rect.height() <= 0 || rect.width() > kMaxSide ||
        rect.height() > kMaxSide)
        return;
    m_image = blank(rect.width(), rect.height(), m_ratio);
    m_image.fill(Qt::black);
    setExtent(rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height());
    m_selected = true;
}

DrawingSurface::~DrawingSurface() {
    release();
}

bool DrawingSurface::loadSkin(SkinId bitmapId) {
    QSize natural = SkinArt::size(bitmapId);
    QImage picture =
        m_ratio == 1.0 ? SkinArt::image(bitmapId)
                       : SkinArt::render(bitmapId, QRectF(QPointF(0, 0), QSizeF(natural)),
                                         devicePixels(natural.width(), natural.height(), m_ratio));
    if (picture.isNull()) return false;
    m_image = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_image.setDevicePixelRatio(m_ratio);
    setExtent(0, 0, natural.width(), natural.height());
    m_selected = true;
    m_skinId = bitmapId;
    return true;
}

void DrawingSurface::setPixelRatio(qreal ratio) {
    if (ratio <= 0 || ratio == m_ratio) return;
    m_ratio = ratio;
    if (m_selected) recreate(m_left, m_top, m_right, m_bottom);
}

int DrawingSurface::width() const {
    return qRound(m_image.deviceIndependentSize().width());
}

int DrawingSurface::height() const {
    return qRound(m_image.deviceIndependentSize().height());
}

void DrawingSurface::release() {
    m_image = QImage();
    m_selected = false;
    m_skinId = SkinId::None;
}

void DrawingSurface::shareFrom(const DrawingSurface& other) {
    m_image = other.m_image;
    setExtent(other.m_left, other.m_top, other.m_right, other.m_bottom);
    m_selected = other.m_selected;
    m_skinId = other.m_skinId;
    m_ratio = other.m_ratio;
}

void DrawingSurface::recreate(int left, int top, int right, int bottom) {
    int width = right - left;
    int height = bottom - top;
    if (width <= 0 || height <= 0) return;
    if (width > kMaxSide || height > kMaxSide) return;
    release();
    setExtent(left, top, right, bottom);
    m_image = blank(width, height, m_ratio);
    m_image.fill(QColor::fromRgb(kRecreateFill));
    // The outline a rectangle drawn with the default pen leaves.
    QPainter p(&m_image);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, width - 1, height - 1);
    m_selected = true;
}

void DrawingSurface::growFor(int x, int y, int right, int bottom) {
    if (!m_selected || right > m_right || bottom > m_bottom) recreate(x, y, right, bottom);
    m_right = std::max(m_right, right);
    m_bottom = std::max(m_bottom, bottom);
}

void DrawingSurface::copyFrom(int x, int y, int right, int bottom, const DrawingSurface& source,
                              int sourceX, int sourceY) {
    copyFrom(x, y, right, bottom, source.image(), sourceX, sourceY);
}

void DrawingSurface::copyFrom(int x, int y, int right, int bottom, const QImage& source,
                              int sourceX, int sourceY) {
    if (right - x <= 0 || bottom - y <= 0) return;
    growFor(x, y, right, bottom);
    if (!m_selected || source.isNull()) return;
    m_skinId = SkinId::None;
    QPainter p(&m_image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    QRectF to(x, y, right - x, bottom - y);
    p.drawImage(to, source, inPixels(source, to.translated(sourceX - x, sourceY - y)));
}

void DrawingSurface::stretchFrom(int x, int y, int right, int bottom, const DrawingSurface& source,
                                 int sourceLeft, int sourceTop, int sourceRight, int sourceBottom) {
    int width = right - x;
    int height = bottom - y;
    QRect from(sourceLeft, sourceTop, sourceRight - sourceLeft, sourceBottom - sourceTop);
    if (width <= 0 || height <= 0 || from.width() <= 0 || from.height() <= 0) return;
    growFor(x, y, right, bottom);
    if (!m_selected || source.image().isNull()) return;
    m_skinId = SkinId::None;
    QPainter p(&m_image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    if (source.m_skinId != SkinId::None) {
        QImage sharp =
            SkinArt::render(source.m_skinId, QRectF(from), devicePixels(width, height, m_ratio));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(m_ratio);
            p.drawImage(QPoint(x, y), sharp);
            return;
        }
    }
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRectF(x, y, width, height), source.image(), inPixels(source.image(), from));
}

void DrawingSurface::fill(const QRect& rect, const QColor& colour) {
    m_right = std::max(m_right, rect.left() + rect.width());
    m_bottom = std::max(m_bottom, rect.top() + rect.height());
    if (!m_selected) return;
    m_skinId = SkinId::None;
    QPainter p(&m_image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(rect, colour);
}

QImage* DrawingSurface::dc() {
    if (!m_selected) return nullptr;
    m_skinId = SkinId::None;
    return &m_image;
}

void DrawingSurface::setExtent(int left, int top, int right, int bottom) {
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
}
