#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "binding/page_fields.h"
#include "controls/band_strip.h"
#include "controls/response_graph.h"
#include "controls/skin_button.h"
#include "controls/skin_combo_box.h"
#include "controls/skin_label.h"
#include "controls/value_slider.h"
#include "pages/page.h"
#include "pages/output_page_layout.h"

class DrawingSurface;
struct FieldRow;

// The page of one output channel (or pair): eight band strips and the
// response graph in step with them, crossovers, levels, delay, limiter and
// the mute, "REST" and "EQ PASS" buttons. It keeps no device values of its
// own: a user change is reported as (page index, field number) and the
// binding reads the field back; device values arrive through setField.
class OutputPage : public Page, public PageFields {
public:
    using ChangeHandler = std::function<void(int page, int field)>;
    static constexpr int kFixedTexts = 65;
    static constexpr int kLastTextItem = 67;

    OutputPage(int pageIndex, QWidget* parent);

    int pageIndex() const { return m_page; }
    void setChangeHandler(ChangeHandler handler) { m_changed = std::move(handler); }
    // The graph's extra menu item j was chosen.
    void setGraphMenuHandler(std::function<void(int item)> handler) {
        m_graphMenu = std::move(handler);
    }
    void setBackgroundSource(DrawingSurface* source) override;

    int getField(int field) const override;
    void setField(int field, int value) override;
    // The label of a field's slider, or every fixed text for kFixedTexts.
    void refreshItem(int item);
    void refreshTexts() override;

    BandStrip& strip(int j) { return m_strips[static_cast<size_t>(j)]; }
    ValueSlider& slider(int k) { return m_sliders[static_cast<size_t>(k)]; }
    SkinLabel& caption(int c) { return m_captions[static_cast<size_t>(c)]; }
    SkinComboBox& selector(int i) { return m_selectors[static_cast<size_t>(i)]; }
    SkinButton& button(int b) { return m_buttons[static_cast<size_t>(b)]; }
    ResponseGraph& graph() { return m_graph; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void layout();
    void createControls(double sx, double sy);
    void configureSlider(int k, const QRect& rect);
    void placeControls(double sx, double sy);
    void applyTextStyles(double s);

    void changed(int field);
    void bandChanged(int j, int sub);
    void graphChanged(int code, int band);
    void sliderChanged(int k);
    void selectorChanged(int i);
    void buttonAction(int b);
    void rest();

    void setBandField(int field, int value);
    void showOnGraph(int j, int sub, double value);
    void setSliderField(int field, int value);
    void setCrossoverFrequency(int i, int code);
    void setCrossoverType(int i, int code);
    void setUserQ(int i, int code);
    void applyUserQ(int i);
    void refreshSliderLabel(int k);
    void refreshCaption(int c);
    void fillSelector(int i);

    static int sliderOfField(int field);
    static int fieldOfSlider(int k);
    const FieldRow& sliderRow(int k) const;
    bool sliderPresent(int k) const;

    int m_page;
    DrawingSurface* m_source = nullptr;
    ChangeHandler m_changed;
    std::function<void(int item)> m_graphMenu;
    bool m_created = false;
    std::array<BandStrip, OutputPageLayout::kStrips> m_strips;
    std::array<SkinLabel, OutputPageLayout::kRowLabels> m_rowLabels;
    ResponseGraph m_graph;
    std::array<ValueSlider, OutputPageLayout::kSliders> m_sliders;
    std::array<SkinLabel, OutputPageLayout::kCaptions> m_captions;
    std::array<SkinComboBox, OutputPageLayout::kSelectors> m_selectors;
    std::array<SkinButton, OutputPageLayout::kButtons> m_buttons;
};
