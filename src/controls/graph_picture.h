#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include "filter/page_curve.h"

// A page's summed curve on its grid, drawn by the response graph itself but
// offscreen and without markers, label or menu: for "Save graph as PNG…" and
// for the command line. Needs a QApplication (the offscreen platform will do).
class GraphPicture {
public:
    // The graph's size on the page in design units; fonts scale with the
    // picture's size against it.
    static constexpr int kDesignWidth = 1051;
    static constexpr int kDesignHeight = 359;
    static constexpr int kMaxSide = 8192;

    // A null image for a size outside 1 ... kMaxSide.
    static QImage render(const PageCurve& curve, QSize size);
    // Empty when saved, else why not.
    static QString savePng(const PageCurve& curve, QSize size, const QString& path);
};
