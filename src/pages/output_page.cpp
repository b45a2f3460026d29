#include "pages/output_page.h"

#include <iterator>

#include "binding/output_field_codec.h"
#include "binding/page_number.h"
#include "filter/frequency_table.h"
#include "resources/skin_ids.h"
#include "texts/ui_texts.h"

namespace {

using Design = EqualiserPageDesign;
using Place = Design::Place;

constexpr int kSliders = 16;
constexpr int kHighPass = 14;
constexpr int kLowPass = 15;
constexpr int kMuteField = 41;  // to 43, one per mute button
constexpr int kUserQField = 48;

// Which output pages have a control: the pairs have the left, right and
// partner's delay and mutes, the centre and subwoofer one of each.
enum class On { All, Pairs, Singles, None };

struct Spot {
    On on;
    Place place;
};

constexpr Spot slider(On on, double x, double y) {
    return {on, {x, y, 170, 33}};
}
// Sliders 4 to 6 (the user Q and auto volume) no page shows.
constexpr Spot kSliderSpots[kSliders] = {
    slider(On::All, 490, 6),    slider(On::All, 490, 40),    slider(On::All, 490, 74),
    slider(On::All, 490, 108),  slider(On::None, 490, 74),   slider(On::None, 490, 108),
    slider(On::None, 490, 142), slider(On::Pairs, 490, 142), slider(On::Singles, 672, 142),
    slider(On::All, 672, 6),    slider(On::All, 672, 40),    slider(On::All, 672, 74),
    slider(On::All, 672, 108),  slider(On::Pairs, 672, 142), slider(On::All, 854, 6),
    slider(On::All, 854, 40)};
// The three delays' distances, then the slope labels.
constexpr Spot kSideLabels[] = {{On::Pairs, {490, 176, 170, 16.5}},
                                {On::Singles, {672, 176, 170, 16.5}},
                                {On::Pairs, {672, 176, 170, 16.5}},
                                {On::All, {854, 77, 170, 16.5}},
                                {On::All, {854, 116, 170, 16.5}}};
constexpr int kDistanceOf[] = {7, 8, 13, -1, -1};
constexpr Spot kSlopeCombos[] = {{On::All, {854, 94, 170, 50}}, {On::All, {854, 133, 170, 50}}};
constexpr Spot kButtons[] = {{On::Pairs, {854, 155, 77, 18}},
                             {On::Singles, {854, 155, 170, 18}},
                             {On::Pairs, {946, 155, 77, 18}},
                             {On::All, {854, 176, 77, 18}},
                             {On::All, {946, 176, 77, 18}}};

Design::Spot spot(int page, const Spot& s) {
    bool pair = pageNumber::isPair(page);
    bool present = s.on == On::All || (s.on == On::Pairs && pair) || (s.on == On::Singles && !pair);
    return {present, s.place};
}

Design pageDesign(int page) {
    Design d;
    d.bands = 8;
    d.top = 6;
    d.frequencyField = 10;
    d.qField = 20;
    d.gainField = 30;
    d.bypassField = 40;
    d.highPassSlider = kHighPass;
    d.lowPassSlider = kLowPass;
    d.highPassField = 58;
    d.highPassSlopeField = 59;
    d.lowPassField = 60;
    d.lowPassSlopeField = 61;
    d.highPassPositions = FrequencyTable::kLast;
    d.lowPassPositions = FrequencyTable::kLast;
    d.highPassMaximum = 20600;
    d.lowPassMinimum = 19;
    d.crossovers = true;
    d.graphMenu = true;
    d.copyField = 62;
    d.pasteField = 63;
    d.fixedTextsItem = OutputPage::kFixedTexts;
    for (int j = 0; j < d.bands; ++j)
        d.restFrequencies.push_back(
            OutputFieldCodec::restFrequency(page == pageNumber::Subwoofer, j));
    for (const Spot& s : kSliderSpots) d.sliders.push_back(spot(page, s));
    for (int k = 0; k < kSliders; ++k)
        d.sliderFields.push_back(k == kHighPass  ? d.highPassField
                                 : k == kLowPass ? d.lowPassField
                                                 : 44 + k);
    for (const Spot& s : kSideLabels) d.sideLabels.push_back(spot(page, s));
    d.sideLabelTexts = {nullptr, nullptr, nullptr, &uitext::HpfSlopeLabel, &uitext::LpfSlopeLabel};
    d.distanceLabels.assign(std::begin(kDistanceOf), std::end(kDistanceOf));
    for (const Spot& s : kSlopeCombos) d.combos.push_back(spot(page, s));
    const TextTriple* const muteTexts[3] = {&uitext::LeftMute, &uitext::Mute, &uitext::RightMute};
    for (int b = 0; b < 5; ++b)
        d.buttons.push_back({spot(page, kButtons[b]), b == 1 ? SkinId::WideButton : SkinId::Button,
                             b <= 2 ? 1 : 0, b <= 2 ? muteTexts[b] : nullptr, nullptr});
    d.buttons[3].fixedText = "REST";
    d.buttons[4].fixedText = "EQ PASS";
    return d;
}

}  // namespace

OutputPage::OutputPage(int pageIndex, QWidget* parent)
    : EqualiserPage(pageIndex, pageDesign(pageIndex), parent) {}

int OutputPage::ownField(int field) const {
    int b = field - kMuteField;
    if (b >= 0 && b < 3) return button(b).checkType() == 2 ? 1 : 0;
    int i = field - kUserQField;
    return i >= 0 && i < 2 ? m_userQ[size_t(i)] : -1;
}

bool OutputPage::setOwnField(int field, int value) {
    int b = field - kMuteField;
    if (b >= 0 && b < 3) {
        button(b).setCheckType(value < 1 ? 1 : 2);
        return true;
    }
    int i = field - kUserQField;
    if (i < 0 || i >= 2) return false;
    m_userQ[size_t(i)] = value;
    return true;
}

void OutputPage::ownButton(int b) {
    if (b >= 0 && b < 3) changed(kMuteField + b);
}
