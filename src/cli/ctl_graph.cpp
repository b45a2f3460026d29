#include "cli/ctl_graph.h"

#ifdef QX7_CTL_GRAPH
#include <QApplication>
#include <cstdlib>

#include "controls/graph_picture.h"

namespace {

std::string draw(const PageCurve& curve, int width, int height, const std::string& path) {
    return GraphPicture::savePng(curve, QSize(width, height), QString::fromStdString(path))
        .toStdString();
}

}  // namespace

std::string saveGraphPicture(const PageCurve& curve, int width, int height,
                             const std::string& path) {
    if (QCoreApplication::instance()) return draw(curve, width, height, path);
    // Whatever display there is, the picture is drawn without it; the
    // application lives only as long as the drawing.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int argc = 1;
    char name[] = "qx7ctl";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    return draw(curve, width, height, path);
}
#else
std::string saveGraphPicture(const PageCurve&, int, int, const std::string&) {
    return "this qx7ctl was built without the window parts (QX7_WITH_UI=OFF); graph needs them";
}
#endif
