#include "pages/effect_page.h"

#include <iterator>

#include "binding/page_number.h"
#include "resources/skin_ids.h"
#include "texts/ui_texts.h"

namespace {

using Design = EqualiserPageDesign;

constexpr int kSliders = 13;
constexpr int kHighPass = 3;
constexpr int kLowPass = 4;

// Per slider, its field; the echo and reverb pages show different ones.
constexpr int kSliderFields[kSliders] = {45, 46, 50, 41, 42, 48, 49, 47, -1, -1, -1, 54, 55};

Design::Spot at(double x, double y, double w = 170, double h = 33) {
    return {true, {x, y, w, h}};
}

Design pageDesign(int page) {
    bool echo = page == pageNumber::Echo;
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
    d.restFrequencies = {125, 250, 1000, 2500, 8000};
    d.sliders.resize(kSliders);
    d.sliderFields.assign(std::begin(kSliderFields), std::end(kSliderFields));
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

}  // namespace

EffectPage::EffectPage(int pageIndex, QWidget* parent)
    : EqualiserPage(pageIndex, pageDesign(pageIndex), parent) {}
