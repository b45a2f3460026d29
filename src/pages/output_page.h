#pragma once

#include <array>

#include "pages/equaliser_page.h"

// The page of one output channel (or pair): eight bands, crossovers, levels,
// delay with its distance, limiter and the mute buttons. The pairs have the
// left, right and partner's delay and mutes; the centre and subwoofer one of
// each.
class OutputPage : public EqualiserPage {
public:
    static constexpr int kFixedTexts = 65;

    OutputPage(int pageIndex, QWidget* parent);

    SkinLabel& caption(int c) { return sideLabel(c); }
    SkinComboBox& selector(int i) { return combo(i); }

protected:
    int ownField(int field) const override;
    bool setOwnField(int field, int value) override;
    void ownButton(int b) override;

private:
    // The subwoofer's user Q codes: kept for the device, no page shows them.
    std::array<int, 2> m_userQ{};
};
