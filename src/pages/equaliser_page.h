#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "binding/page_fields.h"
#include "controls/band_strip.h"
#include "controls/response_graph.h"
#include "controls/skin_button.h"
#include "controls/skin_combo_box.h"
#include "controls/skin_label.h"
#include "controls/value_slider.h"
#include "pages/page.h"
#include "pages/page_layout.h"

class DrawingSurface;
struct FieldRow;
struct TextTriple;

// What sets one equaliser page apart from another: how many bands, where
// each control sits (absent ones have no place), the field numbers of its
// band rows and filters, and its "REST" frequencies.
struct EqualiserPageDesign {
    using Place = PageLayout::Place;
    struct Spot {
        bool present = false;
        Place place{};
    };
    struct Button {
        Spot spot;
        SkinId png;
        int checkType;  // 0 push, 1 off, 2 on
        const TextTriple* text;
        const char* fixedText;  // the same in every language
    };

    int bands;
    double top;                             // of the strips; the row labels and the graph follow it
    int frequencyField, qField, gainField;  // band b's type is field b
    int bypassField;
    int highPassSlider, lowPassSlider;
    int highPassField, highPassSlopeField, lowPassField, lowPassSlopeField;
    int highPassPositions, lowPassPositions;
    double highPassMaximum;  // Hz, for the graph's markers
    double lowPassMinimum = 5990;
    // Crossovers (the output pages) run both filters on the whole grid, take
    // device frequencies as they come and keep bypass as "EQ on": 1 active.
    bool crossovers = false;
    bool graphMenu = false;               // the graph's own copy, paste and menu items
    int copyField = -1, pasteField = -1;  // reported for the graph's copy and paste
    int fixedTextsItem;
    std::vector<double> restFrequencies;
    std::vector<Spot> sliders;
    // Per slider, its field; its range, codec and label come from the
    // field's row in the field catalogue.
    std::vector<int> sliderFields;
    std::vector<Spot> sideLabels;
    std::vector<const TextTriple*> sideLabelTexts;
    // Per side label, the delay slider whose distance it shows, or -1.
    std::vector<int> distanceLabels;
    std::vector<Spot> combos;
    std::vector<Button> buttons;
};

// An input, effect or output page: band strips and the response graph in step both
// ways, high- and low-pass sliders with their slope selectors, "REST" and
// "EQ PASS", and the page's own sliders, which the subclass gives meaning to.
// It keeps no device values of its own: a user change is reported as
// (page index, field number) and read back through getField.
class EqualiserPage : public Page, public PageFields {
public:
    using ChangeHandler = std::function<void(int page, int field)>;

    EqualiserPage(int pageIndex, EqualiserPageDesign design, QWidget* parent);
    ~EqualiserPage() override;

    int pageIndex() const { return m_page; }
    void setChangeHandler(ChangeHandler handler) { m_changed = std::move(handler); }
    // The graph's extra menu item j was chosen.
    void setGraphMenuHandler(std::function<void(int item)> handler) {
        m_graphMenu = std::move(handler);
    }
    void setBackgroundSource(DrawingSurface* source) override;

    int getField(int field) const override;
    void setField(int field, int value) override;
    // A field's slider label, or every fixed text for the design's item.
    void refreshItem(int item);
    void refreshTexts() override;

    int bands() const { return m_design.bands; }
    BandStrip& strip(int j) { return *m_strips[static_cast<size_t>(j)]; }
    ValueSlider& slider(int k) { return *m_sliders[static_cast<size_t>(k)]; }
    const ValueSlider& slider(int k) const { return *m_sliders[static_cast<size_t>(k)]; }
    SkinLabel& sideLabel(int i) { return *m_sideLabels[static_cast<size_t>(i)]; }
    SkinComboBox& combo(int i) { return *m_combos[static_cast<size_t>(i)]; }
    const SkinComboBox& combo(int i) const { return *m_combos[static_cast<size_t>(i)]; }
    SkinButton& button(int b) { return *m_buttons[static_cast<size_t>(b)]; }
    const SkinButton& button(int b) const { return *m_buttons[static_cast<size_t>(b)]; }
    ResponseGraph& graph() { return m_graph; }

protected:
    // The page's own fields, buttons and combos.
    // -1 when the field is not one of the page's own.
    virtual int ownField(int field) const;
    // False when the field is not one of the page's own.
    virtual bool setOwnField(int field, int value);
    virtual void ownButton(int b) { (void)b; }
    virtual void ownCombo(int i) { (void)i; }

    void changed(int field);
    int fieldOfSlider(int k) const;
    int sliderOfField(int field) const;
    // A slider's value inside its range, and that as a whole position.
    double sliderValue(int k) const;
    int position(int k) const;
    const EqualiserPageDesign& design() const { return m_design; }

    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void layout();
    void createControls(double sx, double sy);
    void configureSlider(int k, const QRect& rect);
    void placeControls(double sx, double sy);
    QRect stripRect(int j, double sx, double sy) const;
    QRect rowLabelRect(int r, double sx, double sy) const;
    QRect graphRect(double sx, double sy) const;
    void applyTextStyles(double s);
    void fixedTexts();
    QString filterLabel(int k) const;
    void refreshDistance(int k);
    // Null when the slider's field has no row on this page.
    const FieldRow* sliderRow(int k) const;
    // Null when the field is not one of a shown slider's with a codec.
    const FieldRow* sliderFieldRow(int field) const;
    bool setSliderField(int field, int value);

    int bandField(int row, int band) const;
    int bandGetField(int field) const;
    bool setBandField(int field, int value);
    int bandRowOf(int field, int& j) const;
    void showOnGraph(int j, int sub, double value);
    void setFilterFrequency(bool lowPass, int code);
    void setSlope(bool lowPass, int code);

    void bandChanged(int j, int sub);
    void graphChanged(int kind, int band);
    void sliderChanged(int k);
    void comboChosen(int i);
    void slopeChanged(bool lowPass);
    void buttonAction(int b);
    void rest();

    int m_page;
    EqualiserPageDesign m_design;
    DrawingSurface* m_source = nullptr;
    ChangeHandler m_changed;
    std::function<void(int item)> m_graphMenu;
    bool m_created = false;
    std::vector<std::unique_ptr<BandStrip>> m_strips;
    std::array<SkinLabel, 4> m_rowLabels;
    ResponseGraph m_graph;
    std::vector<std::unique_ptr<ValueSlider>> m_sliders;
    std::vector<std::unique_ptr<SkinLabel>> m_sideLabels;
    std::vector<std::unique_ptr<SkinComboBox>> m_combos;
    std::vector<std::unique_ptr<SkinButton>> m_buttons;
};
