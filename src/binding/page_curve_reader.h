#pragma once

#include "filter/page_curve.h"

class Mirror;

// A page's curve from the mirror, read the way the page shows its fields.
class PageCurveReader {
public:
    // No bands for a page without any.
    static PageCurve read(int page, const Mirror& mirror);
};
