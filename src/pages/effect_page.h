#pragma once

#include "pages/equaliser_page.h"

// The echo page and the reverb page: five bands, the filters, the
// effect and direct levels with their mute toggles and the effect's times,
// which travel as samples at 48 kHz.
class EffectPage : public EqualiserPage {
public:
    static constexpr int kFixedTexts = 57;

    EffectPage(int pageIndex, QWidget* parent);
};
