#include "pages/output_page.h"

#include "binding/output_field_codec.h"
#include "binding/page_number.h"
#include "filter/frequency_table.h"
#include "resources/skin_ids.h"
#include "texts/ui_texts.h"

namespace {

using Design = EqualiserPageDesign;
using Layout = OutputPageLayout;

constexpr int kHighPass = 14;
constexpr int kLowPass = 15;
constexpr int kMuteField = 41;  // to 43, one per mute button
constexpr int kUserQField = 48;

Design::Spot spot(bool present, const Layout::Place& place) {
    return {present, place};
}

Design pageDesign(int page) {
    Design d;
    d.bands = Layout::kStrips;
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
    for (int k = 0; k < Layout::kSliders; ++k)
        d.sliders.push_back(spot(Layout::sliderPresent(page, k), Layout::slider(k)));
    for (int c = 0; c < Layout::kCaptions; ++c) {
        d.sideLabels.push_back(spot(Layout::captionPresent(page, c), Layout::caption(c)));
        int k = Layout::captionSlider(c);
        d.distanceLabels.push_back(k < kHighPass ? k : -1);
    }
    d.sideLabelTexts = {nullptr, nullptr, nullptr, &uitext::HpfSlopeLabel, &uitext::LpfSlopeLabel};
    for (int i = 0; i < Layout::kSelectors; ++i)
        d.combos.push_back(spot(Layout::selectorPresent(page, i), Layout::selector(i)));
    const TextTriple* const muteTexts[3] = {&uitext::LeftMute, &uitext::Mute, &uitext::RightMute};
    for (int b = 0; b < Layout::kButtons; ++b)
        d.buttons.push_back({spot(Layout::buttonPresent(page, b), Layout::button(b)),
                             b == 1 ? SkinId::WideButton : SkinId::Button, b <= 2 ? 1 : 0,
                             b <= 2 ? muteTexts[b] : nullptr, nullptr});
    d.buttons[3].fixedText = "REST";
    d.buttons[4].fixedText = "EQ PASS";
    return d;
}

}  // namespace

OutputPage::OutputPage(int pageIndex, QWidget* parent)
    : EqualiserPage(pageIndex, pageDesign(pageIndex), parent) {}

int OutputPage::fieldOfSlider(int k) const {
    if (k == kHighPass) return design().highPassField;
    if (k == kLowPass) return design().lowPassField;
    return 44 + k;
}

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
