#include "controls/control_surface.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

QRect ControlSurface::rectInRoot(const QWidget* widget) {
    QPoint origin =
        widget->window() == widget ? QPoint(0, 0) : widget->mapTo(widget->window(), QPoint(0, 0));
    return QRect(origin, widget->size());
}

void ControlSurface::captureBackground(const QWidget* widget) {
    m_backgroundValid = true;
    m_composedValid = false;
    // Both pictures follow the screen's pixel ratio, so the control is drawn sharp there.
    m_background.setPixelRatio(widget->devicePixelRatioF());
    m_composed.setPixelRatio(widget->devicePixelRatioF());
    int w = widget->width();
    int h = widget->height();
    if (w <= 0 || h <= 0) return;
    m_background.recreate(0, 0, w, h);
    if (m_source && m_source->selected()) {
        QRect r = rectInRoot(widget);
        m_background.copyFrom(0, 0, w, h, *m_source, r.left(), r.top());
    } else {
        m_background.fill(QRect(0, 0, w, h), QColor::fromRgba(kNoSourceFill));
    }
}

void ControlSurface::composeBackgroundOnly() {
    if (m_background.image().isNull()) return;
    m_composed.shareFrom(m_background);
}

QImage* ControlSurface::composeOnBackground(const QWidget* widget, bool shown) {
    if (!shown) {
        composeBackgroundOnly();
        return nullptr;
    }
    int w = widget->width();
    int h = widget->height();
    m_composed.recreate(0, 0, std::max(1, w), std::max(1, h));
    m_composed.copyFrom(0, 0, w, h, m_background, 0, 0);
    return m_composed.dc();
}

void ControlSurface::release() {
    m_background.release();
    m_composed.release();
    m_backgroundValid = false;
    m_composedValid = false;
}

const QImage& ControlSurface::render(const QWidget* widget, const std::function<void()>& compose) {
    if (widget->devicePixelRatioF() != m_background.pixelRatio()) m_backgroundValid = false;
    if (!m_backgroundValid) captureBackground(widget);
    if (!m_composedValid) {
        compose();
        m_composedValid = true;
    }
    return m_composed.image();
}

void ControlSurface::paintSourcePiece(QWidget* widget, const DrawingSurface* source) {
    QPainter p(widget);
    if (!source || !source->selected()) {
        p.fillRect(widget->rect(), QColor::fromRgba(kNoSourceFill));
        return;
    }
    const QImage& skin = source->image();
    qreal r = skin.devicePixelRatio();
    QRect inRoot = rectInRoot(widget);
    p.drawImage(QRectF(widget->rect()), skin,
                QRectF(QPointF(inRoot.topLeft()) * r, QSizeF(inRoot.size()) * r));
}

void ControlSurface::paint(QWidget* widget, const QImage& picture) {
    QPainter p(widget);
    if (picture.isNull()) {
        p.fillRect(widget->rect(), QColor::fromRgba(kNoSourceFill));
        return;
    }
    p.drawImage(QPoint(0, 0), picture);
}

void ControlSurface::drawTo(const QWidget* widget, DrawingSurface& target,
                            bool relativeToRoot) const {
    QImage* dc = target.dc();
    if (!dc || m_composed.isEmpty()) return;
    QPoint at = relativeToRoot ? rectInRoot(widget).topLeft() : widget->pos();
    QPainter p(dc);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(at, m_composed.image());
}
