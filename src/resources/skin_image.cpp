#include "resources/skin_image.h"

#include <QPainter>
#include <cmath>

#include "resources/skin_art.h"

SkinImage SkinImage::load(SkinId id) {
    SkinImage image;
    if (!SkinArt::exists(id)) return image;
    image.m_id = id;
    image.m_size = SkinArt::size(id);
    return image;
}

SkinImage SkinImage::fromImage(const QImage& plain) {
    SkinImage image;
    image.m_plain = plain;
    image.m_size = plain.size();
    return image;
}

void SkinImage::draw(QPainter& painter, const QRectF& target, const QRectF& source) const {
    if (isNull() || target.isEmpty() || source.isEmpty()) return;
    QTransform t = painter.deviceTransform();
    bool axisAligned = t.type() <= QTransform::TxScale;
    if (m_id == SkinId::None || !axisAligned) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        if (m_id != SkinId::None)
            painter.drawImage(target, toImage(), source);
        else
            painter.drawImage(target, m_plain, source);
        painter.restore();
        return;
    }
    // Render exactly the device pixels the target covers.
    QRectF device = t.mapRect(target);
    int left = static_cast<int>(std::lround(device.left()));
    int top = static_cast<int>(std::lround(device.top()));
    int right = static_cast<int>(std::lround(device.right()));
    int bottom = static_cast<int>(std::lround(device.bottom()));
    if (right <= left || bottom <= top) return;
    QImage piece = SkinArt::render(m_id, source, QSize(right - left, bottom - top));
    if (piece.isNull()) return;
    painter.save();
    painter.resetTransform();
    // Device coordinates; the paint device's pixel ratio is already in t.
    qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    piece.setDevicePixelRatio(dpr);
    painter.drawImage(QPointF(left / dpr, top / dpr), piece);
    painter.restore();
}

void SkinImage::draw(QPainter& painter, const QRectF& target) const {
    draw(painter, target, QRectF(QPointF(0, 0), QSizeF(m_size)));
}

QImage SkinImage::toImage() const {
    if (m_id != SkinId::None) return SkinArt::image(m_id);
    return m_plain;
}
