#include "pages/input_page.h"

#include <algorithm>

#include "binding/header_values.h"
#include "binding/page_number.h"
#include "link/mirror.h"
#include "resources/skin_ids.h"
#include "texts/ui_texts.h"

namespace {

using Design = EqualiserPageDesign;

constexpr int kThreshold = 9;
constexpr int kAttack = 10;
constexpr int kRelease = 11;
constexpr int kRatio = 12;
constexpr int kHighPass = 14;
constexpr int kLowPass = 15;
constexpr int kEliminator = 2;
constexpr int kEliminatorField = 82;
constexpr int kSliders = 16;
constexpr int kButtons = 8;

Design::Spot at(double x, double y, double w = 170, double h = 33) {
    return {true, {x, y, w, h}};
}

// Fields a switch of microphone loads, in order.
constexpr int kMicrophoneFields[] = {60, 78, 79, 80, 81, 73, 74, 75, 76};

Design pageDesign(int page) {
    bool mic = page == pageNumber::Microphone;
    Design d;
    d.bands = 15;
    d.top = mic ? 39 : 6;
    d.frequencyField = 15;
    d.qField = 30;
    d.gainField = 45;
    d.bypassField = 60;
    d.highPassSlider = kHighPass;
    d.lowPassSlider = kLowPass;
    d.highPassField = 78;
    d.highPassSlopeField = 79;
    d.lowPassField = 80;
    d.lowPassSlopeField = 81;
    d.highPassPositions = 143;
    d.lowPassPositions = 64;
    d.highPassMaximum = 303;
    d.fixedTextsItem = InputPage::kFixedTexts;
    d.restFrequencies = {40,   63,   100,  160,  250,   400,   630,  1000,
                         1600, 2500, 4000, 6300, 10000, 14000, 16000};
    d.sliders.resize(kSliders);
    // The low-pass slider's field is 80, not 79, which is the high-pass slope.
    for (int k = 0; k < kSliders; ++k) d.sliderFields.push_back(k == kLowPass ? 80 : 64 + k);
    d.sideLabels.resize(6);
    d.sideLabelTexts = {nullptr,
                        nullptr,
                        nullptr,
                        &uitext::HpfSlopeLabel,
                        &uitext::LpfSlopeLabel,
                        &uitext::MicFeedbackEliminator};
    d.combos.resize(3);
    for (int b = 0; b < kButtons; ++b) {
        SkinId png = b == 1 ? SkinId::WideButton : b == 7 ? SkinId::AmberButton : SkinId::Button;
        int check = b == 5 ? 2 : b == 3 || b == 4 ? 0 : 1;
        d.buttons.push_back({{}, png, check, nullptr, nullptr});
    }
    d.buttons[3].fixedText = "REST";
    d.buttons[4].fixedText = "EQ PASS";
    d.buttons[5].text = &uitext::MicA;
    d.buttons[6].text = &uitext::MicB;
    if (mic) {
        const double sliderX[] = {42, 213, 384, 555};
        for (int k = kThreshold; k <= kRatio; ++k) d.sliders[k] = at(sliderX[k - kThreshold], 6);
        d.sliders[kHighPass] = at(726, 6);
        d.sliders[kLowPass] = at(897, 6);
        const double labelY[] = {47, 91, 133}, comboY[] = {66, 110, 152};
        for (int i = 0; i < 3; ++i) {
            d.sideLabels[size_t(3 + i)] = at(897, labelY[i], 170, 16.5);
            d.combos[size_t(i)] = at(897, comboY[i], 170, 50);
        }
        d.buttons[3].spot = at(897, 199, 77, 18);
        d.buttons[4].spot = at(990, 199, 77, 18);
        d.buttons[5].spot = at(897, 177, 77, 18);
        d.buttons[6].spot = at(990, 177, 77, 18);
    } else {
        d.sliders[kHighPass] = at(870, 6);
        d.sliders[kLowPass] = at(870, 40);
        d.sideLabels[3] = at(870, 77, 170, 16.5);
        d.sideLabels[4] = at(870, 116, 170, 16.5);
        d.combos[0] = at(870, 94, 170, 50);
        d.combos[1] = at(870, 133, 170, 50);
        d.buttons[3].spot = at(870, 176, 77, 18);
        d.buttons[4].spot = at(961, 176, 77, 18);
    }
    return d;
}

}  // namespace

InputPage::InputPage(int pageIndex, QWidget* parent)
    : EqualiserPage(pageIndex, pageDesign(pageIndex), parent) {}

BindingTable::Microphones InputPage::microphones() const {
    return {button(kMicAButton).checkType() == 2, button(kMicBButton).checkType() == 2};
}

int InputPage::ownField(int field) const {
    return field == kEliminatorField ? combo(kEliminator).selection() : -1;
}

bool InputPage::setOwnField(int field, int value) {
    if (field != kEliminatorField) return false;
    combo(kEliminator).setSelection(std::clamp(value, 0, combo(kEliminator).count() - 1));
    return true;
}

void InputPage::ownButton(int b) {
    if (b == kMicAButton || b == kMicBButton) selectMicrophone(b == kMicBButton);
}

void InputPage::ownCombo(int i) {
    if (i == kEliminator) changed(kEliminatorField);
}

// The entries come from the binding's own table, for the one microphone.
void InputPage::selectMicrophone(bool micB) {
    button(kMicAButton).setCheckType(micB ? 1 : 2);
    button(kMicBButton).setCheckType(micB ? 2 : 1);
    if (!m_mirror) return;
    BindingTable::Microphones only{!micB, micB};
    auto load = [&](int field) {
        for (int index : BindingTable::indicesOf(pageIndex(), field, only))
            setField(field, m_mirror->value(index));
    };
    for (int j = 0; j < bands(); ++j)
        for (int field : {j, 15 + j, 30 + j, 45 + j}) load(field);
    for (int field : kMicrophoneFields) load(field);
    if (m_indexRefresh) m_indexRefresh(micB ? HeaderValues::kMicBVolume : HeaderValues::kMicVolume);
}
