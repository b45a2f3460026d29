#include "app/page_slot.h"

#include <QPainter>

#include "controls/control_surface.h"
#include "platform/qt/font_faces.h"
#include "resources/drawing_surface.h"

PageSlot::PageSlot(int pageIndex, DrawingSurface* background, QWidget* parent)
    : QWidget(parent), m_pageIndex(pageIndex), m_background(background) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PageSlot::setTitle(const QString& title) {
    if (title == m_title) return;
    m_title = title;
    update();
}

void PageSlot::paintEvent(QPaintEvent*) {
    ControlSurface::paintSourcePiece(this, m_background);
    QPainter p(this);
    double s = std::min(width() / 1077.0, height() / 572.0);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(FontFaces::pixelFont(QString::fromUtf8("微软雅黑"), std::max(8.0, 40 * s)));
    p.setPen(QColor(255, 255, 255, 28));
    p.drawText(rect(), Qt::AlignCenter, m_title);
}
