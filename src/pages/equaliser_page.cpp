#include "pages/equaliser_page.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "binding/field_catalogue.h"
#include "binding/output_field_codec.h"
#include "filter/band_value_text.h"
#include "filter/frequency_table.h"
#include "filter/slider_scale.h"
#include "resources/drawing_surface.h"
#include "resources/skin_ids.h"
#include "texts/ui_texts.h"

namespace {

// Band rows 0 to 3: the strip's value each shows.
constexpr BandValueText::SubValue kBandRows[4] = {BandValueText::Type, BandValueText::Frequency,
                                                  BandValueText::Q, BandValueText::Gain};

using Codec = OutputFieldCodec;
using Layout = PageLayout;
using Place = EqualiserPageDesign::Place;

constexpr double kDesignWidth = 1077;
constexpr double kDesignHeight = 681;
constexpr int kRestButton = 3;
constexpr int kBypassButton = 4;
constexpr int kSlopeCombos = 2;

const QString kFace = QString::fromUtf8("微软雅黑");
constexpr QRgb kLabelColour = 0xC89D9D9D;
constexpr QRgb kButtonColour = 0xC8000000;
constexpr QRgb kButtonOnColour = 0xC8FAFAFA;

// Row labels and the graph, from the top of the strips.
constexpr Place kRowLabelsAt[4] = {
    {8, 3, 30, 32}, {8, 93, 30, 16}, {8, 134, 30, 32}, {8, 168, 30, 16}};
constexpr double kGraphBelowStrips = 193;
const TextTriple* const kRowTexts[4] = {&uitext::EqGainLabel, &uitext::EqTypeLabel,
                                        &uitext::EqFreqLabel, &uitext::EqQLabel};
const char* const kSlopeItems[Codec::kSlopeItems] = {"Bessel 24db",      "Bessel 48db",
                                                     "Butterworth 24db", "Butterworth 48db",
                                                     "Link Riley 24db",  "Link Riley 48db"};
const char* const kEliminatorItems[] = {"OFF", "1", "2", "3"};

// Off-screen place of an absent control.
const QRect kAway(-1000, -1000, 100, 100);

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

QString label(const TextTriple& format, double value) {
    return QString::fromStdString(SliderScale::formatLabel(format.get(), value));
}

QRect placed(const EqualiserPageDesign::Spot& spot, double sx, double sy) {
    return spot.present ? Layout::scaled(spot.place, sx, sy) : kAway;
}

}  // namespace

EqualiserPage::EqualiserPage(int pageIndex, EqualiserPageDesign design, QWidget* parent)
    : Page(parent), m_page(pageIndex), m_design(std::move(design)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (int j = 0; j < m_design.bands; ++j) m_strips.push_back(std::make_unique<BandStrip>(this));
    for (auto& c : m_rowLabels) c.setParent(this);
    m_graph.setParent(this);
    for (size_t k = 0; k < m_design.sliders.size(); ++k)
        m_sliders.push_back(std::make_unique<ValueSlider>(this));
    for (size_t i = 0; i < m_design.sideLabels.size(); ++i)
        m_sideLabels.push_back(std::make_unique<SkinLabel>(this));
    for (size_t i = 0; i < m_design.combos.size(); ++i)
        m_combos.push_back(std::make_unique<SkinComboBox>(this));
    for (size_t b = 0; b < m_design.buttons.size(); ++b)
        m_buttons.push_back(std::make_unique<SkinButton>(this));
    m_graph.limits() = {19.0,  m_design.highPassMaximum,     m_design.lowPassMinimum,
                        20600, FrequencyTable::kBandMinimum, 20600};
}

EqualiserPage::~EqualiserPage() = default;

void EqualiserPage::setBackgroundSource(DrawingSurface* source) {
    m_source = source;
    layout();
}

// --- layout ---

void EqualiserPage::resizeEvent(QResizeEvent*) {
    layout();
}

void EqualiserPage::layout() {
    QWidget* root = window();
    if (!m_source || !root || root->width() <= 0) return;
    double sx = root->width() / kDesignWidth;
    double sy = root->height() / kDesignHeight;
    if (!m_created) createControls(sx, sy);
    placeControls(sx, sy);
    applyTextStyles(std::min(sx, sy));
    update();
}

void EqualiserPage::createControls(double sx, double sy) {
    m_created = true;
    for (int j = 0; j < bands(); ++j) {
        strip(j).create(stripRect(j, sx, sy));
        strip(j).setSkin(m_source);
        strip(j).setStripIndex(j);
        connect(&strip(j), &BandStrip::subValueChanged, this,
                [this, j](int sub) { bandChanged(j, sub); });
    }
    for (int r = 0; r < 4; ++r) {
        m_rowLabels[size_t(r)].create(rowLabelRect(r, sx, sy));
        m_rowLabels[size_t(r)].setBackground(m_source);
    }
    m_graph.create(graphRect(sx, sy));
    connect(&m_graph, &ResponseGraph::edited, this, &EqualiserPage::graphChanged);
    m_graph.setScale(std::min(sx, sy));
    m_graph.initialise(bands());
    if (m_design.graphMenu) m_graph.options().contextMenu = true;
    for (size_t k = 0; k < m_sliders.size(); ++k)
        configureSlider(int(k), placed(m_design.sliders[k], sx, sy));
    for (size_t i = 0; i < m_sideLabels.size(); ++i) {
        m_sideLabels[i]->create(placed(m_design.sideLabels[i], sx, sy));
        m_sideLabels[i]->setBackground(m_source);
        m_sideLabels[i]->setVisible(m_design.sideLabels[i].present);
    }
    for (size_t i = 0; i < m_combos.size(); ++i) {
        SkinComboBox& box = *m_combos[i];
        box.create(placed(m_design.combos[i], sx, sy));
        box.setSkin(m_source, SkinComboBox::Style::Page);
        connect(&box, &SkinComboBox::selectionChosen, this, [this, i] { comboChosen(int(i)); });
        box.setFontHeight(14);
        box.setFaceName(kFace);
        if (i < kSlopeCombos)
            for (const char* item : kSlopeItems) box.addItem(QString::fromUtf8(item));
        else
            for (const char* item : kEliminatorItems) box.addItem(QString::fromUtf8(item));
        box.setSelection(0);
        box.setVisible(m_design.combos[i].present);
    }
    for (size_t b = 0; b < m_buttons.size(); ++b) {
        const EqualiserPageDesign::Button& design = m_design.buttons[b];
        SkinButton& button = *m_buttons[b];
        button.create(placed(design.spot, sx, sy));
        connect(&button, &SkinButton::clicked, this, [this, b] { buttonAction(int(b)); });
        button.setImage(m_source, design.png);
        if (design.checkType != 0) button.setCheckType(design.checkType);
        if (!design.spot.present) {
            button.setShown(false);
            button.hide();
        }
    }
    refreshTexts();
}

void EqualiserPage::configureSlider(int k, const QRect& rect) {
    ValueSlider& s = slider(k);
    const FieldRow* row = sliderRow(k);
    double maximum = row ? row->maximum : 100;
    s.create(rect);
    s.setLabelMode(true);
    s.setTogglePresent(row && row->toggle());
    s.setToggleOffset(500);
    connect(&s, &ValueSlider::valueChanged, this, [this, k] { sliderChanged(k); });
    s.setLevelBar(false);
    s.setLabelColour(0xFFF0F0F0);
    s.setRange(0, maximum);
    s.setFineSteps(row ? row->fineThreshold : 0, 0.1);
    s.setSkin(m_source);
    if (k == m_design.lowPassSlider) s.setValue(m_design.lowPassPositions);
    if (!m_design.sliders[size_t(k)].present) {
        s.setShown(false);
        s.hide();
    }
}

QRect EqualiserPage::stripRect(int j, double sx, double sy) const {
    return Layout::scaled({41.0 + 55 * j, m_design.top, 52, 189}, sx, sy);
}

QRect EqualiserPage::rowLabelRect(int r, double sx, double sy) const {
    Place place = kRowLabelsAt[r];
    place.y += m_design.top;
    return Layout::scaled(place, sx, sy);
}

QRect EqualiserPage::graphRect(double sx, double sy) const {
    return Layout::scaledEdges({13, m_design.top + kGraphBelowStrips, 1064, 558}, sx, sy);
}

void EqualiserPage::placeControls(double sx, double sy) {
    for (int j = 0; j < bands(); ++j) strip(j).setGeometry(stripRect(j, sx, sy));
    for (int r = 0; r < 4; ++r) m_rowLabels[size_t(r)].setGeometry(rowLabelRect(r, sx, sy));
    m_graph.setGeometry(graphRect(sx, sy));
    m_graph.setScale(std::min(sx, sy));
    for (size_t k = 0; k < m_sliders.size(); ++k)
        m_sliders[k]->setGeometry(placed(m_design.sliders[k], sx, sy));
    for (size_t i = 0; i < m_sideLabels.size(); ++i)
        m_sideLabels[i]->setGeometry(placed(m_design.sideLabels[i], sx, sy));
    for (size_t i = 0; i < m_combos.size(); ++i)
        m_combos[i]->place(placed(m_design.combos[i], sx, sy));
    for (size_t b = 0; b < m_buttons.size(); ++b)
        m_buttons[b]->setGeometry(placed(m_design.buttons[b].spot, sx, sy));
}

// Text styles also make the labels and buttons take their background again.
void EqualiserPage::applyTextStyles(double s) {
    double size = std::trunc(12 * s);
    // The two-line labels keep their line break.
    for (auto& l : m_rowLabels)
        l.setTextStyle(size, kFace, kLabelColour, l.text().contains('\n') ? 0x05 : 0x25);
    for (auto& l : m_sideLabels) l->setTextStyle(size, kFace, kLabelColour, 0x24);
    for (auto& b : m_buttons) b->setTextStyle(12 * s, kFace, kButtonColour, 0x25, kButtonOnColour);
}

void EqualiserPage::paintEvent(QPaintEvent*) {
    ControlSurface::paintSourcePiece(this, m_source);
}

void EqualiserPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_created) m_graph.setAnimation(2);
}

void EqualiserPage::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (m_created) m_graph.setAnimation(0);
}

// --- texts ---

void EqualiserPage::refreshTexts() {
    for (size_t k = 0; k < m_sliders.size(); ++k) refreshItem(fieldOfSlider(int(k)));
    refreshItem(m_design.fixedTextsItem);
}

void EqualiserPage::refreshItem(int item) {
    if (item == m_design.fixedTextsItem) {
        fixedTexts();
        return;
    }
    int k = sliderOfField(item);
    if (k < 0) return;
    if (k == m_design.highPassSlider || k == m_design.lowPassSlider)
        slider(k).setLabelText(filterLabel(k));
    else if (const FieldRow* row = sliderRow(k))
        slider(k).setLabelText(QString::fromStdString(FieldCatalogue::label(*row, sliderValue(k))));
    else
        slider(k).setLabelText(QString());
    refreshDistance(k);
}

void EqualiserPage::refreshDistance(int k) {
    for (size_t i = 0; i < m_design.distanceLabels.size(); ++i)
        if (m_design.distanceLabels[i] == k)
            m_sideLabels[i]->setText(
                label(uitext::DelayDistance, Codec::delayDistance(sliderValue(k))));
}

void EqualiserPage::fixedTexts() {
    for (int r = 0; r < 4; ++r) m_rowLabels[size_t(r)].setText(text(*kRowTexts[r]));
    for (size_t i = 0; i < m_sideLabels.size(); ++i)
        if (const TextTriple* t = m_design.sideLabelTexts[i]) m_sideLabels[i]->setText(text(*t));
    for (size_t b = 0; b < m_buttons.size(); ++b) {
        const EqualiserPageDesign::Button& design = m_design.buttons[b];
        if (design.fixedText)
            m_buttons[b]->setText(QString::fromUtf8(design.fixedText));
        else if (design.text)
            m_buttons[b]->setText(text(*design.text));
    }
}

QString EqualiserPage::filterLabel(int k) const {
    int p = position(k);
    if (m_design.crossovers) {
        bool high = k == m_design.highPassSlider;
        double f = FrequencyTable::gridFrequency(p);
        if (high && f < FrequencyTable::kMinimum) return text(uitext::HpfFreqOff);
        if (f < 100) return label(high ? uitext::HpfFreqTenths : uitext::LpfFreqTenths, f);
        return label(high ? uitext::HpfFreqWhole : uitext::LpfFreqWhole, std::trunc(f));
    }
    if (k == m_design.highPassSlider) {
        double f = FrequencyTable::snapToGrid(FrequencyTable::gridFrequency(p));
        if (f < FrequencyTable::kMinimum) return text(uitext::HpfFreqOff);
        if (f < 100) return label(uitext::HpfFreqTenths, f);
        return label(uitext::HpfFreqWhole, std::trunc(f));
    }
    double f = FrequencyTable::snapToGrid(FrequencyTable::upperGridFrequency(p));
    if (f >= FrequencyTable::kMaximum) return text(uitext::LpfFreqOff);
    if (f < 100) return label(uitext::LpfFreqTenths, f);
    return label(uitext::LpfFreqWhole, std::trunc(f));
}

// --- fields ---

double EqualiserPage::sliderValue(int k) const {
    return slider(k).scale().clamp(slider(k).value());
}

int EqualiserPage::position(int k) const {
    return static_cast<int>(sliderValue(k));
}

int EqualiserPage::fieldOfSlider(int k) const {
    return k >= 0 && k < int(m_design.sliderFields.size()) ? m_design.sliderFields[size_t(k)] : -1;
}

int EqualiserPage::sliderOfField(int field) const {
    for (size_t k = 0; k < m_sliders.size(); ++k)
        if (m_design.sliders[k].present && fieldOfSlider(int(k)) == field) return int(k);
    return -1;
}

// Row 0 type, 1 frequency, 2 Q, 3 gain: the band strip's order turned into fields.
int EqualiserPage::bandField(int row, int band) const {
    const int first[4] = {0, m_design.frequencyField, m_design.qField, m_design.gainField};
    return first[row] + band;
}

int EqualiserPage::getField(int field) const {
    int band = bandGetField(field);
    if (band >= 0) return band;
    const auto& d = m_design;
    if (field == d.bypassField) return m_graph.eqEnabled() == d.crossovers ? 1 : 0;
    if (field == d.highPassSlopeField || field == d.lowPassSlopeField) {
        bool lowPass = field == d.lowPassSlopeField;
        return Codec::crossoverCode(m_combos[lowPass]->selection(), lowPass);
    }
    if (const FieldRow* row = sliderFieldRow(field)) {
        int k = sliderOfField(field);
        return FieldCatalogue::encode(row->codec,
                                      row->toggle() ? slider(k).valueWithToggle() : sliderValue(k));
    }
    return std::max(ownField(field), 0);
}

int EqualiserPage::ownField(int) const {
    return -1;
}

bool EqualiserPage::setOwnField(int, int) {
    return false;
}

const FieldRow* EqualiserPage::sliderRow(int k) const {
    return FieldCatalogue::find(m_page, fieldOfSlider(k));
}

const FieldRow* EqualiserPage::sliderFieldRow(int field) const {
    int k = sliderOfField(field);
    const FieldRow* row = k >= 0 ? sliderRow(k) : nullptr;
    return row && row->codec != FieldCodec::Owner ? row : nullptr;
}

bool EqualiserPage::setSliderField(int field, int value) {
    const FieldRow* row = sliderFieldRow(field);
    if (row) slider(sliderOfField(field)).setValue(FieldCatalogue::decode(*row, value));
    return row != nullptr;
}

// -1 when the field is not a band's.
int EqualiserPage::bandGetField(int field) const {
    int j = 0;
    int row = bandRowOf(field, j);
    if (row < 0) return -1;
    double shown = m_strips[size_t(j)]->subValue(kBandRows[row]);
    return FieldCatalogue::encode(FieldCatalogue::find(m_page, field)->codec, shown);
}

// The band row 0 to 3 of a field and its band j; -1 when it is none.
int EqualiserPage::bandRowOf(int field, int& j) const {
    for (int row = 0; row < 4; ++row) {
        j = field - bandField(row, 0);
        if (j >= 0 && j < bands()) return row;
    }
    return -1;
}

void EqualiserPage::setField(int field, int value) {
    const auto& d = m_design;
    if (setBandField(field, value)) return;
    if (field == d.bypassField)
        m_graph.setEqEnabled((value >= 1) == d.crossovers);
    else if (field == d.highPassField || field == d.lowPassField)
        setFilterFrequency(field == d.lowPassField, value);
    else if (field == d.highPassSlopeField || field == d.lowPassSlopeField)
        setSlope(field == d.lowPassSlopeField, value);
    else if (!setSliderField(field, value) && !setOwnField(field, value))
        return;
    refreshItem(field);
}

bool EqualiserPage::setBandField(int field, int value) {
    int j = 0;
    int row = bandRowOf(field, j);
    if (row < 0) return false;
    double shown = FieldCatalogue::decode(*FieldCatalogue::find(m_page, field), value);
    showOnGraph(j, kBandRows[row], shown);
    strip(j).setSubValue(kBandRows[row], shown);
    return true;
}

void EqualiserPage::showOnGraph(int j, int sub, double value) {
    switch (sub) {
        case BandValueText::Type:
            m_graph.setBandType(j, value);
            break;
        case BandValueText::Frequency:
            m_graph.setBandFrequency(j, value);
            break;
        case BandValueText::Q:
            m_graph.setBandQ(j, value);
            break;
        default:
            m_graph.setBandGain(j, value);
            break;
    }
}

// The slider takes the nearest position it has, and the graph the frequency
// of that position, so that the two never disagree.
void EqualiserPage::setFilterFrequency(bool lowPass, int code) {
    double f = Codec::crossoverFrequency(code);
    if (m_design.crossovers) {
        m_graph.setCrossoverFrequency(lowPass, f);
        slider(lowPass ? m_design.lowPassSlider : m_design.highPassSlider)
            .setValue(Codec::crossoverSliderPosition(f));
    } else if (lowPass) {
        int p = std::clamp(FrequencyTable::upperGridIndex(f), 0, m_design.lowPassPositions);
        slider(m_design.lowPassSlider).setValue(p);
        m_graph.setCrossoverFrequency(1, FrequencyTable::upperGridFrequency(p));
    } else {
        int p = std::clamp(FrequencyTable::gridIndex(f), 0, m_design.highPassPositions);
        slider(m_design.highPassSlider).setValue(p);
        m_graph.setCrossoverFrequency(0, FrequencyTable::gridFrequency(p));
    }
}

// A crossover code outside the selector's items shows, and draws, as its first.
void EqualiserPage::setSlope(bool lowPass, int code) {
    SkinComboBox& box = combo(lowPass);
    int p = m_design.crossovers ? Codec::crossoverPosition(code) : Codec::slopePosition(code);
    box.setSelection(p < box.count() ? p : 0);
    m_graph.setCrossoverType(Codec::crossoverCode(box.selection(), lowPass));
}

// --- user changes ---

void EqualiserPage::changed(int field) {
    if (m_changed) m_changed(m_page, field);
}

void EqualiserPage::comboChosen(int i) {
    if (i < kSlopeCombos)
        slopeChanged(i == 1);
    else
        ownCombo(i);
}

void EqualiserPage::bandChanged(int j, int sub) {
    if (j < 0 || j >= bands() || sub < 0 || sub > BandValueText::Type) return;
    showOnGraph(j, sub, strip(j).subValue(sub));
    auto row = std::find(std::begin(kBandRows), std::end(kBandRows), sub) - std::begin(kBandRows);
    changed(bandField(static_cast<int>(row), j));
}

// Kinds 1 and 2 are the filter markers, 5 and up the menu's added items; any
// other kind edited a band (the copy and paste requests come as band 0).
void EqualiserPage::graphChanged(int kind, int band) {
    if (kind > 4) {
        if (m_graphMenu) m_graphMenu(kind - 5);
        return;
    }
    const auto& d = m_design;
    if ((kind == 3 || kind == 4) && d.copyField >= 0) {
        changed(kind == 3 ? d.copyField : d.pasteField);
        return;
    }
    if (kind == 1 || kind == 2) {
        bool lowPass = kind == 2;
        double f = m_graph.crossoverFrequency(lowPass);
        int field = lowPass ? d.lowPassField : d.highPassField;
        int p = lowPass && !d.crossovers ? FrequencyTable::upperGridIndex(f)
                                         : FrequencyTable::gridIndex(f);
        slider(lowPass ? d.lowPassSlider : d.highPassSlider)
            .setValue(std::clamp(p, 0, lowPass ? d.lowPassPositions : d.highPassPositions));
        changed(field);
        refreshItem(field);
        return;
    }
    if (band < 0 || band >= bands()) return;
    BandStrip& s = strip(band);
    s.setSubValue(BandValueText::Frequency, m_graph.bandFrequency(band));
    s.setSubValue(BandValueText::Q, m_graph.bandQ(band));
    s.setSubValue(BandValueText::Gain, m_graph.bandGain(band));
    s.setSubValue(BandValueText::Type, m_graph.bandType(band));
    for (int row : {0, 3, 1, 2}) changed(bandField(row, band));
}

void EqualiserPage::sliderChanged(int k) {
    if (k < 0 || k >= int(m_sliders.size())) return;
    if (k == m_design.highPassSlider)
        m_graph.setCrossoverFrequency(0, FrequencyTable::gridFrequency(position(k)));
    if (k == m_design.lowPassSlider)
        m_graph.setCrossoverFrequency(1, m_design.crossovers
                                             ? FrequencyTable::gridFrequency(position(k))
                                             : FrequencyTable::upperGridFrequency(position(k)));
    int field = fieldOfSlider(k);
    if (field < 0) return;
    changed(field);
    refreshItem(field);
}

void EqualiserPage::slopeChanged(bool lowPass) {
    int field = lowPass ? m_design.lowPassSlopeField : m_design.highPassSlopeField;
    setField(field, Codec::crossoverCode(combo(lowPass).selection(), lowPass));
    changed(field);
}

void EqualiserPage::buttonAction(int b) {
    if (b == kRestButton) {
        rest();
    } else if (b == kBypassButton) {
        m_graph.setEqEnabled(!m_graph.eqEnabled());
        changed(m_design.bypassField);
    } else if (b >= 0 && b < int(m_buttons.size())) {
        ownButton(b);
    }
}

// Q and type stay as they are.
void EqualiserPage::rest() {
    for (int j = 0; j < bands(); ++j) {
        double f = m_design.restFrequencies[size_t(j)];
        strip(j).setSubValue(BandValueText::Gain, 0);
        m_graph.setBandGain(j, 0);
        strip(j).setSubValue(BandValueText::Frequency, f);
        m_graph.setBandFrequency(j, f);
        changed(bandField(1, j));
        changed(bandField(3, j));
    }
}
