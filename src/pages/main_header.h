#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "binding/page_fields.h"
#include "controls/skin_combo_box.h"
#include "controls/skin_label.h"
#include "controls/value_slider.h"

class DrawingSurface;
class ParameterBinding;
struct LinkState;
class QWidget;

// The header of the main window: the title label, the four master volume
// sliders (Music, MIC, Effect and the MICB display), the input source and
// channel mode selectors and the decoder format display. Its controls are
// the window's children; the header follows their changes itself. As a
// binding target its field numbers are the parameter indices.
class MainHeader : public PageFields {
public:
    static constexpr int kSliders = 4;

    MainHeader(QWidget* window, ParameterBinding& binding, LinkState& state);

    // Creates the controls the first time, places them on later calls.
    void layout(DrawingSurface* background, double sx, double sy, bool create);
    // Sliders above the system page's maxima come down to them; nothing is written.
    void clampToLimits();
    void languageRefresh();
    void setTitle(const QString& title) { m_title.setText(title); }
    // Suspends the link, or resumes it with a new connection; true when suspended now.
    bool toggleSuspend();
    // The controls that write the device take input or not.
    void setInputEnabled(bool enabled);

    int getField(int index) const override;
    void setField(int index, int value) override;

    ValueSlider& slider(int k) { return m_sliders[static_cast<size_t>(k)]; }
    SkinComboBox& sourceSelector() { return m_source; }
    SkinLabel& decoderDisplay() { return m_decoder; }
    SkinLabel& titleLabel() { return m_title; }

private:
    void create(DrawingSurface* background);
    void place(double sx, double sy);
    void sliderMoved(int k);
    void sourceChosen();
    void modeChosen();
    void refreshSliderLabel(int k);
    void fillSelectors();

    ParameterBinding& m_binding;
    LinkState& m_state;
    SkinLabel m_title;
    std::array<ValueSlider, kSliders> m_sliders;
    SkinLabel m_audio;
    SkinComboBox m_mode;
    SkinLabel m_decoder;
    SkinLabel m_inputLabel;
    SkinComboBox m_source;
};
