#include "pages/output_page.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "binding/field_catalogue.h"
#include "binding/output_field_codec.h"
#include "binding/page_number.h"
#include "filter/frequency_table.h"
#include "filter/slider_scale.h"
#include "resources/drawing_surface.h"
#include "resources/skin_ids.h"
#include "texts/ui_texts.h"

namespace {

using Codec = OutputFieldCodec;
using Layout = OutputPageLayout;

constexpr double kDesignWidth = 1077;
constexpr double kDesignHeight = 681;

constexpr int kHighPassQ = 4;
constexpr int kHighPassSlider = 14;
constexpr int kLowPassSlider = 15;
constexpr int kUserItems = 6;  // selector positions 6 and 7 need a Q slider

const QString kFace = QString::fromUtf8("微软雅黑");
constexpr QRgb kLabelColour = 0xC89D9D9D;
constexpr QRgb kButtonColour = 0xC8000000;
constexpr QRgb kButtonOnColour = 0xC8FAFAFA;

// A slider a page lacks takes the row of a page that has it.
const FieldRow& rowOf(int page, int field) {
    if (const FieldRow* row = FieldCatalogue::find(page, field)) return *row;
    for (int other = 0; other < pageNumber::Outputs; ++other)
        if (const FieldRow* row = FieldCatalogue::find(other, field)) return *row;
    static const FieldRow kNone{};
    return kNone;
}

const TextTriple* const kRowTexts[Layout::kRowLabels] = {&uitext::EqGainLabel, &uitext::EqTypeLabel,
                                                         &uitext::EqFreqLabel, &uitext::EqQLabel};
const TextTriple* const kButtonTexts[3] = {&uitext::LeftMute, &uitext::Mute, &uitext::RightMute};
const char* const kCrossoverItems[OutputFieldCodec::kCrossoverItems] = {
    "Bessel 24db",     "Bessel 48db",     "Butterworth 24db", "Butterworth 48db",
    "Link Riley 24db", "Link Riley 48db", "USER 12db",        "USER 24db"};

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

QString label(const TextTriple& format, double value) {
    return QString::fromStdString(SliderScale::formatLabel(format.get(), value));
}

// Band rows 0 to 3 (fields 0, 10, 20, 30 on): the strip's value each shows.
constexpr BandValueText::SubValue kBandRows[4] = {BandValueText::Type, BandValueText::Frequency,
                                                  BandValueText::Q, BandValueText::Gain};

// Off-screen place of an absent control.
const QRect kAway(-1000, -1000, 100, 100);

}  // namespace

OutputPage::OutputPage(int pageIndex, QWidget* parent) : Page(parent), m_page(pageIndex) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    for (auto& c : m_strips) c.setParent(this);
    for (auto& c : m_rowLabels) c.setParent(this);
    m_graph.setParent(this);
    for (auto& c : m_sliders) c.setParent(this);
    for (auto& c : m_captions) c.setParent(this);
    for (auto& c : m_selectors) c.setParent(this);
    for (auto& c : m_buttons) c.setParent(this);
    m_graph.limits() = {19.0, 20600, 19.0, 20600, FrequencyTable::kBandMinimum, 20600};
}

void OutputPage::setBackgroundSource(DrawingSurface* source) {
    m_source = source;
    layout();
}

bool OutputPage::sliderPresent(int k) const {
    return Layout::sliderPresent(m_page, k);
}

// --- layout ---

void OutputPage::resizeEvent(QResizeEvent*) {
    layout();
}

void OutputPage::layout() {
    QWidget* root = window();
    if (!m_source || !root || root->width() <= 0) return;
    double sx = root->width() / kDesignWidth;
    double sy = root->height() / kDesignHeight;
    double s = std::min(sx, sy);
    if (!m_created) createControls(sx, sy);
    placeControls(sx, sy);
    applyTextStyles(s);
    update();
}

// Each control is created at its place: a button counts its picture's frames
// by its width.
void OutputPage::createControls(double sx, double sy) {
    m_created = true;
    double s = std::min(sx, sy);
    for (int j = 0; j < Layout::kStrips; ++j) {
        strip(j).create(Layout::scaled(Layout::strip(j), sx, sy));
        strip(j).setSkin(m_source);
        strip(j).setStripIndex(j);
        connect(&strip(j), &BandStrip::subValueChanged, this,
                [this, j](int sub) { bandChanged(j, sub); });
    }
    for (int r = 0; r < Layout::kRowLabels; ++r) {
        m_rowLabels[size_t(r)].create(Layout::scaled(Layout::rowLabel(r), sx, sy));
        m_rowLabels[size_t(r)].setBackground(m_source);
    }
    m_graph.create(Layout::scaledEdges(Layout::graph(), sx, sy));
    connect(&m_graph, &ResponseGraph::edited, this, &OutputPage::graphChanged);
    m_graph.initialise(Layout::kStrips);
    m_graph.options().contextMenu = true;
    m_graph.setScale(s);
    for (int k = 0; k < Layout::kSliders; ++k)
        configureSlider(k, Layout::scaled(Layout::slider(k), sx, sy));
    for (int c = 0; c < Layout::kCaptions; ++c) {
        caption(c).create(Layout::scaled(Layout::caption(c), sx, sy));
        caption(c).setBackground(m_source);
        caption(c).setVisible(Layout::captionPresent(m_page, c));
    }
    for (int i = 0; i < Layout::kSelectors; ++i) {
        SkinComboBox& box = selector(i);
        box.create(Layout::scaled(Layout::selector(i), sx, sy));
        box.setSkin(m_source, SkinComboBox::Style::Page);
        connect(&box, &SkinComboBox::selectionChosen, this, [this, i] { selectorChanged(i); });
        box.setFontHeight(14);
        box.setFaceName(kFace);
        fillSelector(i);
        box.setSelection(0);
        box.setVisible(Layout::selectorPresent(m_page, i));
    }
    for (int b = 0; b < Layout::kButtons; ++b) {
        SkinButton& button = this->button(b);
        button.create(Layout::scaled(Layout::button(b), sx, sy));
        connect(&button, &SkinButton::clicked, this, [this, b] { buttonAction(b); });
        button.setImage(m_source, b == 1 ? SkinId::WideButton : SkinId::Button);
        if (b <= 2) button.setCheckType(1);
        if (!Layout::buttonPresent(m_page, b)) {
            button.setShown(false);
            button.hide();
        }
    }
    for (int field = 44; field <= 61; ++field) refreshItem(field);
    refreshItem(kFixedTexts);
}

void OutputPage::configureSlider(int k, const QRect& rect) {
    ValueSlider& s = slider(k);
    const FieldRow& row = sliderRow(k);
    s.create(rect);
    s.setLabelMode(true);
    s.setTogglePresent(row.toggle());
    s.setToggleOffset(500);
    connect(&s, &ValueSlider::valueChanged, this, [this, k] { sliderChanged(k); });
    s.setLevelBar(false);
    s.setLabelColour(0xFFF0F0F0);
    s.setRange(row.minimum, row.maximum);
    s.setFineSteps(row.fineThreshold, 0.1);
    s.setSkin(m_source);
    if (k == kLowPassSlider) s.setValue(FrequencyTable::kLast);
    if (k == kHighPassQ || k == kHighPassQ + 1) s.setInputEnabled(false);
    if (!sliderPresent(k)) {
        s.setShown(false);
        s.hide();
    }
}

void OutputPage::placeControls(double sx, double sy) {
    for (int j = 0; j < Layout::kStrips; ++j)
        strip(j).setGeometry(Layout::scaled(Layout::strip(j), sx, sy));
    for (int r = 0; r < Layout::kRowLabels; ++r)
        m_rowLabels[size_t(r)].setGeometry(Layout::scaled(Layout::rowLabel(r), sx, sy));
    m_graph.setGeometry(Layout::scaledEdges(Layout::graph(), sx, sy));
    m_graph.setScale(std::min(sx, sy));
    for (int k = 0; k < Layout::kSliders; ++k)
        slider(k).setGeometry(sliderPresent(k) ? Layout::scaled(Layout::slider(k), sx, sy) : kAway);
    for (int c = 0; c < Layout::kCaptions; ++c)
        caption(c).setGeometry(
            Layout::captionPresent(m_page, c) ? Layout::scaled(Layout::caption(c), sx, sy) : kAway);
    for (int i = 0; i < Layout::kSelectors; ++i)
        selector(i).place(Layout::selectorPresent(m_page, i)
                              ? Layout::scaled(Layout::selector(i), sx, sy)
                              : kAway);
    for (int b = 0; b < Layout::kButtons; ++b)
        button(b).setGeometry(
            Layout::buttonPresent(m_page, b) ? Layout::scaled(Layout::button(b), sx, sy) : kAway);
}

// Text styles also make the labels and buttons take their background again.
void OutputPage::applyTextStyles(double s) {
    double size = std::trunc(12 * s);
    // The two-line captions keep their line break.
    for (auto& l : m_rowLabels)
        l.setTextStyle(size, kFace, kLabelColour, l.text().contains('\n') ? 0x05 : 0x25);
    for (auto& c : m_captions) c.setTextStyle(size, kFace, kLabelColour, 0x24);
    for (auto& b : m_buttons) b.setTextStyle(12 * s, kFace, kButtonColour, 0x25, kButtonOnColour);
}

void OutputPage::paintEvent(QPaintEvent*) {
    ControlSurface::paintSourcePiece(this, m_source);
}

void OutputPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_created) m_graph.setAnimation(2);
}

void OutputPage::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (m_created) m_graph.setAnimation(0);
}

// --- texts ---

void OutputPage::fillSelector(int i) {
    SkinComboBox& box = selector(i);
    int keep = box.selection();
    box.clear();
    int items = sliderPresent(kHighPassQ + i) ? OutputFieldCodec::kCrossoverItems : kUserItems;
    for (int n = 0; n < items; ++n) box.addItem(QString::fromUtf8(kCrossoverItems[n]));
    box.setSelection(keep);
}

// The fields' labels, then the fixed texts.
void OutputPage::refreshTexts() {
    for (int item = 0; item <= kLastTextItem; ++item) refreshItem(item);
}

void OutputPage::refreshItem(int item) {
    if (item == kFixedTexts) {
        for (int r = 0; r < Layout::kRowLabels; ++r)
            m_rowLabels[size_t(r)].setText(text(*kRowTexts[r]));
        caption(3).setText(text(uitext::HpfSlopeLabel));
        caption(4).setText(text(uitext::LpfSlopeLabel));
        for (int b = 0; b < 3; ++b) button(b).setText(text(*kButtonTexts[b]));
        button(3).setText(QStringLiteral("REST"));
        button(4).setText(QStringLiteral("EQ PASS"));
        return;
    }
    int k = sliderOfField(item);
    if (k < 0) return;
    refreshSliderLabel(k);
    for (int c = 0; c < Layout::kCaptions; ++c)
        if (Layout::captionSlider(c) == k && k < kHighPassSlider) refreshCaption(c);
}

void OutputPage::refreshSliderLabel(int k) {
    ValueSlider& s = slider(k);
    double v = s.scale().clamp(s.value());
    if (k != kHighPassSlider && k != kLowPassSlider) {
        s.setLabelText(QString::fromStdString(FieldCatalogue::label(sliderRow(k), v)));
        return;
    }
    double f = FrequencyTable::gridFrequency(static_cast<int>(v));
    bool high = k == kHighPassSlider;
    if (high && f < FrequencyTable::kMinimum)
        s.setLabelText(text(uitext::HpfFreqOff));
    else if (f < 100)
        s.setLabelText(label(high ? uitext::HpfFreqTenths : uitext::LpfFreqTenths, f));
    else
        s.setLabelText(label(high ? uitext::HpfFreqWhole : uitext::LpfFreqWhole, std::trunc(f)));
}

void OutputPage::refreshCaption(int c) {
    double tenths =
        slider(Layout::captionSlider(c)).scale().clamp(slider(Layout::captionSlider(c)).value());
    caption(c).setText(label(uitext::DelayDistance, Codec::delayDistance(tenths)));
}

// --- fields ---

int OutputPage::sliderOfField(int field) {
    if (field >= 44 && field <= 57) return field - 44;
    if (field == 58) return kHighPassSlider;
    if (field == 60) return kLowPassSlider;
    return -1;
}

int OutputPage::fieldOfSlider(int k) {
    if (k == kHighPassSlider) return 58;
    if (k == kLowPassSlider) return 60;
    return 44 + k;
}

const FieldRow& OutputPage::sliderRow(int k) const {
    return rowOf(m_page, fieldOfSlider(k));
}

int OutputPage::getField(int field) const {
    auto& self = const_cast<OutputPage&>(*this);
    if (field >= 0 && field < 40 && field % 10 < Layout::kStrips) {
        double shown = self.strip(field % 10).subValue(kBandRows[field / 10]);
        return FieldCatalogue::encode(rowOf(m_page, field).codec, shown);
    }
    if (field == 40) return m_graph.eqEnabled() ? 1 : 0;
    if (field >= 41 && field <= 43) return self.button(field - 41).checkType() == 2 ? 1 : 0;
    if (field == 59 || field == 61)
        return Codec::crossoverCode(self.selector(field == 61).selection(), field == 61);
    int k = sliderOfField(field);
    if (k < 0) return 0;
    const ValueSlider& s = self.slider(k);
    const FieldRow& row = sliderRow(k);
    return FieldCatalogue::encode(row.codec,
                                  row.toggle() ? s.valueWithToggle() : s.scale().clamp(s.value()));
}

void OutputPage::setField(int field, int value) {
    if (field >= 0 && field < 40 && field % 10 < Layout::kStrips) {
        setBandField(field, value);
        return;
    }
    switch (field) {
        case 40:
            m_graph.setEqEnabled(value >= 1);
            break;
        case 41:
        case 42:
        case 43:
            button(field - 41).setCheckType(value < 1 ? 1 : 2);
            break;
        case 58:
        case 60:
            setCrossoverFrequency(field == 60, value);
            break;
        case 59:
        case 61:
            setCrossoverType(field == 61, value);
            break;
        case 48:
        case 49:
            setUserQ(field - 48, value);
            break;
        default:
            if (sliderOfField(field) < 0) return;
            setSliderField(field, value);
            break;
    }
    refreshItem(field);
}

void OutputPage::setBandField(int field, int value) {
    int sub = kBandRows[field / 10];
    double shown = FieldCatalogue::decode(rowOf(m_page, field), value);
    showOnGraph(field % 10, sub, shown);
    strip(field % 10).setSubValue(sub, shown);
}

void OutputPage::showOnGraph(int j, int sub, double value) {
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

void OutputPage::setSliderField(int field, int value) {
    int k = sliderOfField(field);
    slider(k).setValue(FieldCatalogue::decode(sliderRow(k), value));
}

void OutputPage::setCrossoverFrequency(int i, int code) {
    double f = Codec::crossoverFrequency(code);
    m_graph.setCrossoverFrequency(i, f);
    slider(kHighPassSlider + i).setValue(Codec::crossoverSliderPosition(f));
}

// A code outside the selector's table shows, and draws, as its first item.
void OutputPage::setCrossoverType(int i, int code) {
    int position = Codec::crossoverPosition(code);
    SkinComboBox& box = selector(i);
    box.setSelection(position < box.count() ? position : 0);
    position = box.selection();
    slider(kHighPassQ + i).setInputEnabled(position >= kUserItems);
    if (position >= kUserItems)
        applyUserQ(i);
    else
        m_graph.setCrossoverType(Codec::crossoverCode(position, i == 1));
}

void OutputPage::setUserQ(int i, int code) {
    slider(kHighPassQ + i).setValue(FieldCatalogue::decode(sliderRow(kHighPassQ + i), code));
    applyUserQ(i);
}

// Modes 0 and 2 are the high-pass "USER 12db" and "USER 24db", 1 and 3 the low-pass.
void OutputPage::applyUserQ(int i) {
    int position = selector(i).selection();
    if (position < kUserItems) return;
    int mode = (position == kUserItems ? 0 : 2) + i;
    m_graph.setCrossoverUserQ(mode, slider(kHighPassQ + i).value() + 4);
}

// --- user changes ---

void OutputPage::changed(int field) {
    if (m_changed) m_changed(m_page, field);
}

void OutputPage::bandChanged(int j, int sub) {
    if (j < 0 || j >= Layout::kStrips || sub < 0 || sub > BandValueText::Type) return;
    showOnGraph(j, sub, strip(j).subValue(sub));
    int row = static_cast<int>(std::find(std::begin(kBandRows), std::end(kBandRows), sub) -
                               std::begin(kBandRows));
    changed(10 * row + j);
}

void OutputPage::graphChanged(int code, int band) {
    if (band < 0 || band >= Layout::kStrips) return;
    switch (code) {
        case 0: {
            BandStrip& s = strip(band);
            s.setSubValue(BandValueText::Frequency, m_graph.bandFrequency(band));
            s.setSubValue(BandValueText::Q, m_graph.bandQ(band));
            s.setSubValue(BandValueText::Gain, m_graph.bandGain(band));
            s.setSubValue(BandValueText::Type, m_graph.bandType(band));
            for (int field : {band, band + 30, band + 10, band + 20}) changed(field);
            break;
        }
        case 1:
        case 2: {
            int k = kHighPassSlider + code - 1;
            double f = m_graph.crossoverFrequency(code - 1);
            slider(k).setValue(Codec::crossoverSliderPosition(f));
            changed(fieldOfSlider(k));
            refreshItem(fieldOfSlider(k));
            break;
        }
        case 3:
            changed(62);
            break;
        case 4:
            changed(63);
            break;
        default:
            if (code > 4 && m_graphMenu) m_graphMenu(code - 5);
            break;
    }
}

void OutputPage::sliderChanged(int k) {
    if (k < 0 || k >= Layout::kSliders) return;
    if (k == kHighPassQ || k == kHighPassQ + 1) applyUserQ(k - kHighPassQ);
    if (k == kHighPassSlider || k == kLowPassSlider) {
        int position = static_cast<int>(slider(k).scale().clamp(slider(k).value()));
        m_graph.setCrossoverFrequency(k - kHighPassSlider, FrequencyTable::gridFrequency(position));
    }
    int field = fieldOfSlider(k);
    changed(field);
    refreshItem(field);
}

void OutputPage::selectorChanged(int i) {
    int code = Codec::crossoverCode(selector(i).selection(), i == 1);
    setField(i == 0 ? 59 : 61, code);
    changed(i == 0 ? 59 : 61);
}

void OutputPage::buttonAction(int b) {
    switch (b) {
        case 0:
        case 1:
        case 2:
            changed(41 + b);
            break;
        case 3:
            rest();
            break;
        case 4:
            m_graph.setEqEnabled(!m_graph.eqEnabled());
            changed(40);
            break;
        default:
            break;
    }
}

void OutputPage::rest() {
    for (int j = 0; j < Layout::kStrips; ++j) {
        double f = Codec::restFrequency(m_page == pageNumber::Subwoofer, j);
        strip(j).setSubValue(BandValueText::Gain, 0);
        m_graph.setBandGain(j, 0);
        strip(j).setSubValue(BandValueText::Frequency, f);
        m_graph.setBandFrequency(j, f);
        changed(j + 10);
        changed(j + 30);
    }
}
