#include "controls/graph_picture.h"

#include <algorithm>

#include "controls/response_graph.h"

namespace {

bool validSize(QSize size) {
    return size.width() >= 1 && size.height() >= 1 && size.width() <= GraphPicture::kMaxSide &&
           size.height() <= GraphPicture::kMaxSide;
}

}  // namespace

QImage GraphPicture::render(const PageCurve& curve, QSize size) {
    if (!validSize(size)) return {};
    ResponseGraph graph;
    graph.setAttribute(Qt::WA_DontShowOnScreen);
    ResponseGraphModel::Options& options = graph.options();
    options.interactive = false;
    options.showSelection = false;
    options.showQHandles = false;
    options.showLabel = false;
    graph.limits() = curve.limits;
    graph.resize(size);
    graph.setScale(
        std::min(double(size.width()) / kDesignWidth, double(size.height()) / kDesignHeight));
    const int bands = static_cast<int>(curve.bands.size());
    graph.initialise(bands);
    for (int j = 0; j < bands; ++j) {
        const EqBand& b = curve.bands[size_t(j)];
        graph.setBandType(j, b.type);
        graph.setBandFrequency(j, b.frequency);
        graph.setBandQ(j, b.q);
        graph.setBandGain(j, b.gain);
    }
    graph.setCrossoverType(curve.highPassType);
    graph.setCrossoverType(curve.lowPassType);
    graph.setCrossoverFrequency(ResponseGraphModel::kHighPass, curve.highPassFrequency);
    graph.setCrossoverFrequency(ResponseGraphModel::kLowPass, curve.lowPassFrequency);
    graph.setEqEnabled(curve.eqEnabled);
    QImage picture = graph.renderPicture().copy();
    // The ratio's rounding can miss by a pixel; the caller asked for pixels.
    if (picture.size() != size)
        picture = picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(1);
    return picture;
}

QString GraphPicture::savePng(const PageCurve& curve, QSize size, const QString& path) {
    QImage picture = render(curve, size);
    if (picture.isNull()) return QStringLiteral("the size must be from 1x1 to %1x%1").arg(kMaxSide);
    if (!picture.save(path, "PNG")) return QStringLiteral("cannot write %1").arg(path);
    return {};
}
