#pragma once

#include "pages/equaliser_page.h"

// The echo page (7) and the reverb page (8): five bands, the filters, the
// effect and direct levels with their mute toggles and the effect's times,
// which travel as samples at 48 kHz.
class EffectPage : public EqualiserPage {
public:
    static constexpr int kEchoPage = 7;
    static constexpr int kReverbPage = 8;
    static constexpr int kFixedTexts = 57;

    EffectPage(int pageIndex, QWidget* parent);

protected:
    SliderRange sliderRange(int k) const override;
    int fieldOfSlider(int k) const override;
    int ownField(int field) const override;
    bool setOwnField(int field, int value) override;
    QString sliderLabel(int k) const override;
};
