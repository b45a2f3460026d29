#pragma once

#include <string>

#include "filter/page_curve.h"

// Writes a page's curve as a PNG picture of width x height pixels, drawn by
// the window's graph on the offscreen platform (no display needed). Empty
// when written, else why not.
std::string saveGraphPicture(const PageCurve& curve, int width, int height,
                             const std::string& path);
