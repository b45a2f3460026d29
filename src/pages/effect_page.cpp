#include "pages/effect_page.h"

#include <algorithm>
#include <cmath>

#include "binding/output_field_codec.h"
#include "filter/slider_scale.h"
#include "resources/skin_ids.h"
#include "texts/ui_texts.h"

namespace {

using Codec = OutputFieldCodec;
using Design = EqualiserPageDesign;

constexpr int kSliders = 13;
constexpr int kHighPass = 3;
constexpr int kLowPass = 4;

// Per slider: its field, its highest value, whether it holds a time sent as
// samples, and the row of its text (with the format that follows the row).
struct EffectSlider {
    int field;
    double maximum;
    bool samples;
    const TextTriple* row;
    const char* format;
};
const EffectSlider kEffectSliders[kSliders] = {
    {45, 100, false, nullptr, nullptr},
    {46, 100, false, nullptr, nullptr},
    {50, 340, true, &uitext::EchoDelayTime, ":%dms"},
    {41, 205, false, nullptr, nullptr},
    {42, 64, false, nullptr, nullptr},
    {48, 50, true, &uitext::EchoPreDelay, ":%5dms"},
    {49, 90, false, &uitext::EchoRepeatRatio, ":%d%%"},
    {47, 50, true, &uitext::EchoRightDelay, ":%dms"},
    {-1, 100, false, nullptr, nullptr},
    {-1, 100, false, nullptr, nullptr},
    {-1, 100, false, nullptr, nullptr},
    {54, 70, true, &uitext::ReverbPreDelay, ":%dms"},
    {55, 5000, false, &uitext::ReverbTime, ":%dms"},
};

Design::Spot at(double x, double y, double w = 170, double h = 33) {
    return {true, {x, y, w, h}};
}

Design pageDesign(int page) {
    bool echo = page == EffectPage::kEchoPage;
    Design d;
    d.bands = 5;
    d.top = 6;
    d.frequencyField = 10;
    d.qField = 20;
    d.gainField = 30;
    d.bypassField = 40;
    d.highPassSlider = kHighPass;
    d.lowPassSlider = kLowPass;
    d.highPassField = 41;
    d.highPassSlopeField = 43;
    d.lowPassField = 42;
    d.lowPassSlopeField = 44;
    d.highPassPositions = 205;
    d.lowPassPositions = 64;
    d.highPassMaximum = 1000;
    d.fixedTextsItem = EffectPage::kFixedTexts;
    d.sliderIdsByIndex = false;
    d.restFrequencies = {125, 250, 1000, 2500, 8000};
    d.sliders.resize(kSliders);
    d.sliders[0] = at(327, 6);
    d.sliders[1] = at(327, 40);
    d.sliders[kHighPass] = at(512, 6);
    d.sliders[kLowPass] = at(512, 40);
    if (echo) {
        d.sliders[2] = at(327, 74);
        d.sliders[5] = at(697, 6);
        d.sliders[6] = at(697, 40);
        d.sliders[7] = at(697, 74);
    } else {
        d.sliders[11] = at(327, 74);
        d.sliders[12] = at(327, 108);
    }
    d.sideLabels = {at(512, 82, 170, 16.5), at(512, 128, 170, 16.5)};
    d.sideLabelTexts = {&uitext::HpfSlopeLabel, &uitext::LpfSlopeLabel};
    d.combos = {at(512, 99, 170, 50), at(512, 145, 170, 50)};
    for (int b = 0; b < 5; ++b)
        d.buttons.push_back(
            {{}, b == 1 ? SkinId::WideButton : SkinId::Button, b < 3 ? 1 : 0, nullptr, nullptr});
    d.buttons[3] = {at(327, 167, 77, 18), SkinId::Button, 0, nullptr, "REST"};
    d.buttons[4] = {at(421, 167, 77, 18), SkinId::Button, 0, nullptr, "EQ PASS"};
    return d;
}

QString label(const std::string& format, double value) {
    return QString::fromStdString(SliderScale::formatLabel(format, value));
}

}  // namespace

EffectPage::EffectPage(int pageIndex, QWidget* parent)
    : EqualiserPage(pageIndex, pageDesign(pageIndex), parent) {}

EqualiserPage::SliderRange EffectPage::sliderRange(int k) const {
    return {kEffectSliders[k].maximum, 0, k <= 1};
}

int EffectPage::fieldOfSlider(int k) const {
    return k >= 0 && k < kSliders ? kEffectSliders[k].field : -1;
}

int EffectPage::ownField(int field) const {
    int k = sliderOfField(field);
    if (k < 0) return -1;
    if (k <= 1) return static_cast<int>(slider(k).GetValue());  // with the mute's 500
    if (kEffectSliders[k].samples) return Codec::sampleCode(sliderValue(k));
    return position(k);
}

bool EffectPage::setOwnField(int field, int value) {
    int k = sliderOfField(field);
    if (k < 0) return false;
    if (k <= 1)
        slider(k).SetValue(Codec::mutedLevel(value));
    else if (kEffectSliders[k].samples)
        slider(k).SetValue(std::min(Codec::sampleMs(value), kEffectSliders[k].maximum));
    else
        slider(k).SetValue(std::clamp(value, 0, static_cast<int>(kEffectSliders[k].maximum)));
    return true;
}

QString EffectPage::sliderLabel(int k) const {
    if (k == 0 || k == 1) {
        const TextTriple& format = k == 1                     ? uitext::MicDirectVol
                                   : pageIndex() == kEchoPage ? uitext::EchoVol
                                                              : uitext::ReverbVol;
        return label(format.get(), static_cast<int>(slider(k).GetValue()) % 500);
    }
    const EffectSlider& s = kEffectSliders[k];
    if (!s.row) return QString();
    return label(std::string(s.row->get()) + s.format, std::trunc(sliderValue(k)));
}
