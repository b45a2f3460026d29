#include "pages/output_page_layout.h"

#include "binding/page_number.h"

#include <algorithm>
#include <cmath>

namespace {

using Place = OutputPageLayout::Place;

constexpr Place kRowLabelsAt[OutputPageLayout::kRowLabels] = {
    {8, 9, 30, 32}, {8, 99, 30, 16}, {8, 140, 30, 32}, {8, 174, 30, 16}};
constexpr double kSliderColumns[OutputPageLayout::kSliders][2] = {
    {490, 6},   {490, 40}, {490, 74}, {490, 108}, {490, 74},  {490, 108}, {490, 142}, {490, 142},
    {672, 142}, {672, 6},  {672, 40}, {672, 74},  {672, 108}, {672, 142}, {854, 6},   {854, 40}};
constexpr Place kCaptionsAt[OutputPageLayout::kCaptions] = {{490, 176, 170, 16.5},
                                                            {672, 176, 170, 16.5},
                                                            {672, 176, 170, 16.5},
                                                            {854, 77, 170, 16.5},
                                                            {854, 116, 170, 16.5}};
constexpr Place kSelectorsAt[OutputPageLayout::kSelectors] = {{854, 94, 170, 50},
                                                              {854, 133, 170, 50}};
constexpr Place kButtonsAt[OutputPageLayout::kButtons] = {{854, 155, 77, 18},
                                                          {854, 155, 170, 18},
                                                          {946, 155, 77, 18},
                                                          {854, 176, 77, 18},
                                                          {946, 176, 77, 18}};
constexpr int kCaptionSliders[OutputPageLayout::kCaptions] = {7, 8, 13, 14, 15};

}  // namespace

Place OutputPageLayout::strip(int j) {
    return {41.0 + 55 * j, 6, 52, 189};
}
Place OutputPageLayout::rowLabel(int r) {
    return kRowLabelsAt[r];
}
Place OutputPageLayout::slider(int k) {
    return {kSliderColumns[k][0], kSliderColumns[k][1], 170, 33};
}
Place OutputPageLayout::caption(int c) {
    return kCaptionsAt[c];
}
Place OutputPageLayout::selector(int i) {
    return kSelectorsAt[i];
}
Place OutputPageLayout::button(int b) {
    return kButtonsAt[b];
}
Place OutputPageLayout::graph() {
    return {13, 199, 1064, 558};
}

bool OutputPageLayout::sliderPresent(int page, int k) {
    if (k <= 3 || (k >= 9 && k <= 12) || k == 14 || k == 15) return true;
    if (k == 7 || k == 13) return pageNumber::isPair(page);
    if (k == 8) return !pageNumber::isPair(page);
    return false;  // 4, 5 and 6: no page has them
}

bool OutputPageLayout::buttonPresent(int page, int b) {
    if (b == 0 || b == 2) return pageNumber::isPair(page);
    if (b == 1) return !pageNumber::isPair(page);
    return b == 3 || b == 4;
}

int OutputPageLayout::captionSlider(int c) {
    return kCaptionSliders[c];
}

bool OutputPageLayout::captionPresent(int page, int c) {
    return sliderPresent(page, captionSlider(c));
}

bool OutputPageLayout::selectorPresent(int page, int i) {
    return sliderPresent(page, 14 + i);
}

QRect OutputPageLayout::scaled(const Place& p, double sx, double sy) {
    double s = std::min(sx, sy);
    return QRect(static_cast<int>(p.x * sx), static_cast<int>(p.y * sy),
                 static_cast<int>(p.width * s), static_cast<int>(p.height * s));
}

QRect OutputPageLayout::scaledEdges(const Place& p, double sx, double sy) {
    return QRect(QPoint(static_cast<int>(p.x * sx), static_cast<int>(p.y * sy)),
                 QPoint(static_cast<int>(p.width * sx) - 1, static_cast<int>(p.height * sy) - 1));
}
