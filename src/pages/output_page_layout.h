#pragma once

#include <QRect>
#include <array>

// Where an output page puts its controls, in design units of the 1077 x 681
// canvas, and which of them each page has.
class OutputPageLayout {
public:
    static constexpr int kStrips = 8;
    static constexpr int kRowLabels = 4;
    static constexpr int kSliders = 16;
    static constexpr int kCaptions = 5;
    static constexpr int kSelectors = 2;
    static constexpr int kButtons = 5;

    struct Place {
        double x, y, width, height;
    };

    static Place strip(int j);
    static Place rowLabel(int r);
    static Place slider(int k);
    static Place caption(int c);
    static Place selector(int i);
    static Place button(int b);
    // Left, top, right and bottom, each scaled on its own axis.
    static Place graph();

    // Pair pages have the left, right and partner's delay; the centre and
    // subwoofer pages one delay and one mute.
    static bool sliderPresent(int page, int k);
    static bool buttonPresent(int page, int b);
    // A caption follows slider 7, 8, 13, 14 or 15; a selector slider 14 or 15.
    static bool captionPresent(int page, int c);
    static bool selectorPresent(int page, int i);
    static int captionSlider(int c);

    // A design place on a root window of scale sx, sy and s = min(sx, sy).
    static QRect scaled(const Place& place, double sx, double sy);
    static QRect scaledEdges(const Place& place, double sx, double sy);
};
