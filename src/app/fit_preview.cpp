#include "app/fit_preview.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

// The graph's own plot colours.
constexpr QRgb kPlotFill = 0xFF152030;
constexpr QRgb kGridColour = 0xFF3C3C3C;
constexpr QRgb kTextColour = 0xF0F0F0F0;
constexpr QRgb kLegendFill = 0xE0152030;
constexpr double kGridFrequencies[] = {20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000};
constexpr int kMargin = 36;
constexpr double kDbStep = 5.0;

QString frequencyText(double f) {
    return f >= 1000 ? QString::number(f / 1000) + QStringLiteral("k") : QString::number(f);
}

}  // namespace

FitPreview::FitPreview(QWidget* parent) : QWidget(parent) {
    setMinimumSize(420, 200);
}

void FitPreview::setCurves(std::vector<double> frequencies, std::vector<Curve> curves) {
    m_frequencies = std::move(frequencies);
    m_curves = std::move(curves);
    update();
}

void FitPreview::drawGrid(QPainter& p, const QRect& plot, double low, double high) const {
    const double f0 = m_frequencies.front(), f1 = m_frequencies.back();
    p.setPen(QPen(QColor::fromRgba(kGridColour), 1));
    for (double f : kGridFrequencies) {
        if (f < f0 || f > f1) continue;
        int x = plot.left() + int(std::lround(plot.width() * std::log(f / f0) / std::log(f1 / f0)));
        p.drawLine(x, plot.top(), x, plot.bottom());
        p.setPen(QColor::fromRgba(kTextColour));
        p.drawText(QRect(x - 30, plot.bottom() + 2, 60, kMargin / 2),
                   Qt::AlignHCenter | Qt::AlignTop, frequencyText(f));
        p.setPen(QPen(QColor::fromRgba(kGridColour), 1));
    }
    for (double db = std::ceil(low / kDbStep) * kDbStep; db <= high; db += kDbStep) {
        int y = plot.bottom() - int(std::lround(plot.height() * (db - low) / (high - low)));
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(QColor::fromRgba(kTextColour));
        p.drawText(QRect(0, y - 8, kMargin - 4, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(db));
        p.setPen(QPen(QColor::fromRgba(kGridColour), 1));
    }
}

void FitPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor::fromRgba(kPlotFill));
    if (m_frequencies.size() < 2 || m_curves.empty()) return;
    double low = 1e9, high = -1e9;
    for (const Curve& c : m_curves)
        for (double v : c.levels) low = std::min(low, v), high = std::max(high, v);
    low = std::floor(low / kDbStep) * kDbStep - kDbStep;
    high = std::ceil(high / kDbStep) * kDbStep + kDbStep;
    QRect plot = rect().adjusted(kMargin, kMargin / 2, -kMargin / 2, -kMargin);
    drawGrid(p, plot, low, high);
    p.setRenderHint(QPainter::Antialiasing);
    const double f0 = m_frequencies.front(), span = std::log(m_frequencies.back() / f0);
    int legendY = plot.top() + 4;
    const int legendWidth = 44 + [&] {
        int widest = 0;
        for (const Curve& c : m_curves)
            widest = std::max(widest, fontMetrics().horizontalAdvance(c.name));
        return widest;
    }();
    p.fillRect(QRect(plot.left() + 4, legendY - 2, legendWidth, 18 * int(m_curves.size()) + 4),
               QColor::fromRgba(kLegendFill));
    for (const Curve& c : m_curves) {
        QPainterPath path;
        for (size_t k = 0; k < m_frequencies.size() && k < c.levels.size(); ++k) {
            QPointF point(plot.left() + plot.width() * std::log(m_frequencies[k] / f0) / span,
                          plot.bottom() - plot.height() * (c.levels[k] - low) / (high - low));
            k ? path.lineTo(point) : path.moveTo(point);
        }
        p.setPen(QPen(QColor::fromRgba(c.colour), 2));
        p.drawPath(path);
        p.drawLine(plot.left() + 8, legendY + 8, plot.left() + 28, legendY + 8);
        p.setPen(QColor::fromRgba(kTextColour));
        p.drawText(QRect(plot.left() + 34, legendY, 200, 16), Qt::AlignLeft | Qt::AlignVCenter,
                   c.name);
        legendY += 18;
    }
}
