#pragma once

#include <functional>

#include "binding/microphone_choice.h"
#include "pages/equaliser_page.h"

class Mirror;

// The music input page and the microphone page: fifteen bands, the
// filters, and on the microphone page the compressor, the feedback
// eliminator and the "MICA" / "MICB" choice of which microphone the page
// edits and shows. Switching microphone loads the page from that
// microphone's mirror entries and sends nothing.
class InputPage : public EqualiserPage, public MicrophoneChoice {
public:
    static constexpr int kFixedTexts = 84;
    static constexpr int kMicAButton = 5;
    static constexpr int kMicBButton = 6;

    InputPage(int pageIndex, QWidget* parent);

    // Where a switch of microphone reads from, and whom it tells which
    // master-volume entry to show again.
    void setMirror(const Mirror* mirror) { m_mirror = mirror; }
    void setIndexRefreshHandler(std::function<void(int index)> handler) {
        m_indexRefresh = std::move(handler);
    }

    BindingTable::Microphones microphones() const override;

protected:
    int ownField(int field) const override;
    bool setOwnField(int field, int value) override;
    void ownButton(int b) override;
    void ownCombo(int i) override;

private:
    void selectMicrophone(bool micB);

    const Mirror* m_mirror = nullptr;
    std::function<void(int index)> m_indexRefresh;
};
