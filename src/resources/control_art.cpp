#include "resources/control_art.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "resources/skin_layout.h"
#include "resources/skin_painter.h"
#include "resources/skin_palette.h"

using namespace SkinPalette;
namespace Strip = SkinLayout::BandStrip;
namespace Slide = SkinLayout::Slider;

namespace {

// A fader cap: metal with grip lines and an index line, lit when focused.
// The index line runs across the direction of travel.
void faderCap(QPainter& p, const QRectF& r, bool focused, Qt::Orientation travel) {
    SkinPainter sp(p);
    sp.key(r, 2.5, QColor(0xe2, 0xe6, 0xeb), QColor(0x86, 0x8d, 0x97), keyBorder);
    QPointF c = r.center();
    auto across = [&](double d, double inset) {
        if (travel == Qt::Vertical)
            p.drawLine(QPointF(r.left() + inset, c.y() + d), QPointF(r.right() - inset, c.y() + d));
        else
            p.drawLine(QPointF(c.x() + d, r.top() + inset), QPointF(c.x() + d, r.bottom() - inset));
    };
    p.setPen(QPen(QColor(0, 0, 0, 70), 0.8));
    for (double d : {-5.0, -3.0, 3.0, 5.0}) across(d, 3);
    p.setPen(QPen(focused ? accent : QColor(0x20, 0x23, 0x28), 1.8));
    across(0, 1.5);
    if (focused) {
        p.setPen(QPen(QColor(accent.red(), accent.green(), accent.blue(), 170), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
    }
}

// Filter-type icons: 0 peaking, 1 high shelf, 2 low shelf.
void typeIcon(QPainter& p, const QRectF& r, int type, bool selected) {
    p.setPen(selected ? QPen(accentEdge, 0.8) : QPen(QColor(0x33, 0x38, 0x40), 0.8));
    p.setBrush(selected ? QBrush(accentDeep) : QBrush(QColor(0x24, 0x27, 0x2d)));
    p.drawRoundedRect(r.adjusted(0.4, 0.4, -0.4, -0.4), 2.5, 2.5);
    QPainterPath curve;
    double l = r.left() + 2.5, w = r.width() - 5, top = r.top() + 3.5, bottom = r.bottom() - 3.5;
    switch (type) {
        case 0:
            curve.moveTo(l, bottom - 1);
            curve.cubicTo(l + w * 0.35, bottom - 1, l + w * 0.38, top, l + w * 0.5, top);
            curve.cubicTo(l + w * 0.62, top, l + w * 0.65, bottom - 1, l + w, bottom - 1);
            break;
        case 1:
            curve.moveTo(l, bottom - 1);
            curve.lineTo(l + w * 0.3, bottom - 1);
            curve.cubicTo(l + w * 0.55, bottom - 1, l + w * 0.5, top, l + w * 0.75, top);
            curve.lineTo(l + w, top);
            break;
        default:
            curve.moveTo(l, top);
            curve.lineTo(l + w * 0.25, top);
            curve.cubicTo(l + w * 0.5, top, l + w * 0.45, bottom - 1, l + w * 0.7, bottom - 1);
            curve.lineTo(l + w, bottom - 1);
            break;
    }
    p.setPen(QPen(selected ? QColor(255, 255, 255) : dimGlyph, 1.3, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
}

void stripFace(QPainter& p) {
    SkinPainter sp(p);
    sp.panel(QRectF(Strip::kFace), 4, panelTop, panelBottom, panelBorder);
    for (QRect box : {Strip::kGainBox, Strip::kFrequencyBox, Strip::kQBox})
        sp.well(QRectF(box).adjusted(-1, -1, 1, 1), 2, valueBox, QColor(0x14, 0x15, 0x17));

    QRectF badge(Strip::kBandNumberBox);
    p.setPen(QPen(QColor(0x3a, 0x40, 0x49), 1));
    p.setBrush(QColor(0x2a, 0x2e, 0x35));
    p.drawEllipse(badge.center(), 7.5, 7.5);

    // Fader slot with a scale every 6 dB from +12 to -24; 0 dB stands out.
    double x = Strip::kTrackX, top = Strip::kTrackTop, bottom = Strip::kTrackBottom;
    sp.well(QRectF(x - 2, top - 4, 4, bottom - top + 8), 2, QColor(0x05, 0x06, 0x07),
            QColor(0x26, 0x2a, 0x30));
    for (int g = 12; g >= -24; g -= 6) {
        double y = bottom - (bottom - top) * (g + 24) / 36.0;
        bool zero = g == 0;
        p.setPen(QPen(zero ? accent : QColor(0x4a, 0x50, 0x5a), zero ? 1.2 : 0.9));
        p.drawLine(QPointF(x + 5, y), QPointF(x + (zero ? 13 : 10), y));
        p.drawLine(QPointF(x - 5, y), QPointF(x - (zero ? 9 : 7), y));
    }
    sp.well(QRectF(Strip::kIconArea).adjusted(-0.5, -1.5, 0.5, 1.5), 3, QColor(0x15, 0x17, 0x1b));
}

}  // namespace

void ControlArt::bandStrip(QPainter& p) {
    stripFace(p);
    faderCap(p, QRectF(Strip::kThumbFocused), true, Qt::Vertical);
    faderCap(p, QRectF(Strip::kThumb), false, Qt::Vertical);
    for (int column = 0; column < 3; ++column) {
        QRect c = Strip::kIconColumn[column];
        for (int icon = 0; icon < 3; ++icon) {
            QRectF r(c.left(), c.top() + icon * Strip::kIconPitch, Strip::kIconSize,
                     Strip::kIconSize);
            typeIcon(p, r, icon, icon == column);
        }
    }
}

namespace {

void sliderTrack(QPainter& p, const QRect& area, int end) {
    SkinPainter sp(p);
    double y = area.top() + Slide::kGrooveY;
    double start = Slide::kGrooveStart;
    sp.well(QRectF(start - 3, y - 3, end - start + 6, 6), 3, QColor(0x05, 0x06, 0x07),
            QColor(0x2a, 0x2e, 0x35));
    p.setPen(QPen(QColor(0x44, 0x4a, 0x53), 0.8));
    for (int i = 0; i <= 10; ++i) {
        double x = start + (end - start) * i / 10.0;
        p.drawLine(QPointF(x, y + 5), QPointF(x, y + (i % 5 == 0 ? 8.5 : 7)));
    }
}

void toggle(QPainter& p, const QRect& r, bool on) {
    QRectF c = QRectF(r).adjusted(0.8, 0.8, -0.8, -0.8);
    if (on) {
        QRadialGradient lit(c.center(), c.width() / 2);
        lit.setColorAt(0, greenTop.lighter(115));
        lit.setColorAt(1, greenBottom);
        p.setPen(QPen(QColor(0x0b, 0x45, 0x26), 0.8));
        p.setBrush(lit);
    } else {
        p.setPen(QPen(QColor(0x4a, 0x50, 0x5a), 0.8));
        p.setBrush(QColor(0x24, 0x27, 0x2d));
    }
    p.drawEllipse(c);
    // A power glyph: an open ring with a bar.
    QPointF m = c.center();
    double rad = c.width() * 0.26;
    QPen pen(on ? QColor(255, 255, 255) : dimGlyph, 1.2, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(m.x() - rad, m.y() - rad + 0.6, 2 * rad, 2 * rad), 120 * 16, 300 * 16);
    p.drawLine(QPointF(m.x(), m.y() - rad - 0.8), QPointF(m.x(), m.y() + 0.4));
}

}  // namespace

void ControlArt::slider(QPainter& p) {
    sliderTrack(p, Slide::kTrack, Slide::kGrooveEnd);
    sliderTrack(p, Slide::kTrackWithToggle, Slide::kGrooveEndWithToggle);
    faderCap(p, QRectF(Slide::kThumb).adjusted(1, 0, -1, 0), false, Qt::Horizontal);
    faderCap(p, QRectF(Slide::kThumbFocused).adjusted(1, 0, -1, 0), true, Qt::Horizontal);
    toggle(p, Slide::kToggleOff, false);
    toggle(p, Slide::kToggleOn, true);
}

namespace {

namespace Int = SkinLayout::IntegerSlider;

// One track variant: the groove, lit with the accent or dim, and a tick every
// tenth of the range below it.
void integerTrack(QPainter& p, const QRect& area, bool lit) {
    SkinPainter sp(p);
    double y = area.top() + Int::kGrooveY;
    double start = Int::kGrooveStart, end = Int::kGrooveEnd;
    QRectF groove(start - 2.5, y - 2.5, end - start + 5, 5);
    if (lit) {
        QLinearGradient fill(0, groove.top(), 0, groove.bottom());
        fill.setColorAt(0, accentLight);
        fill.setColorAt(1, accentDeep);
        p.setPen(QPen(accentEdge, 0.8));
        p.setBrush(fill);
        p.drawRoundedRect(groove, 2.5, 2.5);
    } else {
        sp.well(groove, 2.5, QColor(0x05, 0x06, 0x07), QColor(0x2a, 0x2e, 0x35));
    }
    p.setPen(QPen(
        lit ? QColor(accent.red(), accent.green(), accent.blue(), 150) : QColor(0x44, 0x4a, 0x53),
        0.8));
    for (int i = 0; i <= 10; ++i) {
        double x = start + (end - start) * i / 10.0;
        p.drawLine(QPointF(x, y + 6), QPointF(x, y + (i % 5 == 0 ? 11 : 9)));
    }
}

}  // namespace

void ControlArt::integerSlider(QPainter& p) {
    integerTrack(p, Int::kTrackLit, true);
    integerTrack(p, Int::kTrackDim, false);
    faderCap(p, QRectF(Int::kThumb).adjusted(1, 0.5, -1, -0.5), false, Qt::Horizontal);
    faderCap(p, QRectF(Int::kThumbFocused).adjusted(1, 0.5, -1, -0.5), true, Qt::Horizontal);
}
