#include "pages/output_page.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "binding/output_field_codec.h"
#include "filter/frequency_table.h"
#include "filter/slider_scale.h"
#include "resources/drawing_surface.h"
#include "resources/skin_ids.h"
#include "texts/ui_texts.h"

namespace {

using Codec = OutputFieldCodec;
using Layout = OutputPageLayout;

constexpr unsigned kStripId = 2024;
constexpr unsigned kRowLabelId = 2124;
constexpr unsigned kGraphId = 2245;
constexpr unsigned kSliderId = 3024;
constexpr unsigned kCaptionId = 4024;
constexpr unsigned kSelectorId = 5024;
constexpr unsigned kButtonId = 6024;
constexpr double kDesignWidth = 1077;
constexpr double kDesignHeight = 681;

constexpr int kOutputSlider = 0;
constexpr int kHighPassQ = 4;
constexpr int kHighPassSlider = 14;
constexpr int kLowPassSlider = 15;
constexpr int kUserItems = 6;  // selector positions 6 and 7 need a Q slider

const QString kFace = QString::fromUtf8("微软雅黑");
constexpr QRgb kLabelColour = 0xC89D9D9D;
constexpr QRgb kButtonColour = 0xC8000000;
constexpr QRgb kButtonOnColour = 0xC8FAFAFA;

struct SliderSetup {
    double minimum, maximum, fineThreshold;
    const TextTriple* format;
};
const SliderSetup kSliders[Layout::kSliders] = {
    {0, 100, 0, &uitext::OutputVol},
    {0, 100, 0, &uitext::MicDirectVol},
    {0, 100, 0, &uitext::EchoVol},
    {0, 100, 0, &uitext::ReverbVol},
    {0, 11, 0, &uitext::HpfQ},
    {0, 11, 0, &uitext::LpfQ},
    {0, 100, 0, &uitext::AutoVolumeOutput},
    {0, 200, 0, &uitext::LeftDelay},
    {0, 200, 0, &uitext::Delay},
    {0, 48, 100, &uitext::LimiterThreshold},
    {0, 107, 0, &uitext::LimiterAttack},
    {0, 7, 0, &uitext::LimiterRelease},
    {0, 40, 0, &uitext::LimiterRatio},
    {0, 200, 0, &uitext::RightDelay},
    {0, 362, 0, nullptr},
    {1, 362, 0, nullptr},
};

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

// Off-screen place of an absent control.
const QRect kAway(-1000, -1000, 100, 100);

}  // namespace

OutputPage::OutputPage(int pageIndex, QWidget* parent) : QWidget(parent), m_page(pageIndex) {
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
        strip(j).create(kStripId + j, Layout::scaled(Layout::strip(j), sx, sy));
        strip(j).SetSkin(m_source);
        strip(j).SetStripIndex(j);
    }
    for (int r = 0; r < Layout::kRowLabels; ++r) {
        m_rowLabels[size_t(r)].create(kRowLabelId + r, Layout::scaled(Layout::rowLabel(r), sx, sy));
        m_rowLabels[size_t(r)].SetBackground(m_source);
    }
    m_graph.create(kGraphId, Layout::scaledEdges(Layout::graph(), sx, sy));
    m_graph.Initialise(Layout::kStrips);
    m_graph.options().contextMenu = true;
    m_graph.setScale(s);
    for (int k = 0; k < Layout::kSliders; ++k)
        configureSlider(k, Layout::scaled(Layout::slider(k), sx, sy));
    for (int c = 0; c < Layout::kCaptions; ++c) {
        caption(c).create(kCaptionId + c, Layout::scaled(Layout::caption(c), sx, sy));
        caption(c).SetBackground(m_source);
        caption(c).setVisible(Layout::captionPresent(m_page, c));
    }
    for (int i = 0; i < Layout::kSelectors; ++i) {
        SkinComboBox& box = selector(i);
        box.create(kSelectorId + i, Layout::scaled(Layout::selector(i), sx, sy));
        box.SetSkin(m_source, SkinComboBox::Style::Page);
        box.SetNotifyValue(i);
        box.setFontHeight(14);
        box.setFaceName(kFace);
        fillSelector(i);
        box.SetSelection(0);
        box.setVisible(Layout::selectorPresent(m_page, i));
    }
    for (int b = 0; b < Layout::kButtons; ++b) {
        SkinButton& button = this->button(b);
        button.create(kButtonId + b, Layout::scaled(Layout::button(b), sx, sy));
        button.SetNotifyValue(b);
        button.SetImage(m_source, b == 1 ? SkinId::WideButton : SkinId::Button);
        if (b <= 2) button.SetCheckType(1);
        if (!Layout::buttonPresent(m_page, b)) {
            button.SetShown(0);
            button.hide();
        }
    }
    for (int field = 44; field <= 61; ++field) refreshItem(field);
    refreshItem(kFixedTexts);
}

void OutputPage::configureSlider(int k, const QRect& rect) {
    ValueSlider& s = slider(k);
    const SliderSetup& setup = kSliders[k];
    s.create(kSliderId + k, rect);
    s.setLabelMode(true);
    s.setTogglePresent(k == kOutputSlider);
    s.setToggleOffset(500);
    s.setIndex(k);
    s.setLevelBar(false);
    s.setLabelColour(0xFFF0F0F0);
    s.setRange(setup.minimum, setup.maximum);
    s.setFineSteps(setup.fineThreshold, 0.1);
    s.SetSkin(m_source);
    if (k == kLowPassSlider) s.SetValue(FrequencyTable::kLast);
    if (k == kHighPassQ || k == kHighPassQ + 1) s.SetEnabled(false);
    if (!sliderPresent(k)) {
        s.SetShown(false);
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
        l.SetTextStyle(size, kFace, kLabelColour, l.text().contains('\n') ? 0x05 : 0x25);
    for (auto& c : m_captions) c.SetTextStyle(size, kFace, kLabelColour, 0x24);
    for (auto& b : m_buttons) b.SetTextStyle(12 * s, kFace, kButtonColour, 0x25, kButtonOnColour);
}

void OutputPage::paintEvent(QPaintEvent*) {
    ControlSurface::paintSourcePiece(this, m_source);
}

void OutputPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_created) m_graph.OnShow(2);
}

void OutputPage::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (m_created) m_graph.OnShow(0);
}

// --- texts ---

void OutputPage::fillSelector(int i) {
    SkinComboBox& box = selector(i);
    int keep = box.GetSelection();
    box.clear();
    int items = sliderPresent(kHighPassQ + i) ? OutputFieldCodec::kCrossoverItems : kUserItems;
    for (int n = 0; n < items; ++n) box.addItem(QString::fromUtf8(kCrossoverItems[n]));
    box.SetSelection(keep);
}

void OutputPage::refreshItem(int item) {
    if (item == kFixedTexts) {
        for (int r = 0; r < Layout::kRowLabels; ++r)
            m_rowLabels[size_t(r)].SetText(text(*kRowTexts[r]));
        caption(3).SetText(text(uitext::HpfSlopeLabel));
        caption(4).SetText(text(uitext::LpfSlopeLabel));
        for (int b = 0; b < 3; ++b) button(b).SetText(text(*kButtonTexts[b]));
        button(3).SetText(QStringLiteral("REST"));
        button(4).SetText(QStringLiteral("EQ PASS"));
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
    int position = static_cast<int>(v);
    QString t;
    switch (k) {
        case 4:
        case 5:
            t = label(*kSliders[k].format, v / 10 + 0.4);
            break;
        case 7:
        case 8:
        case 13:
            t = label(*kSliders[k].format, v / 10);
            break;
        case 9:
            t = label(*kSliders[k].format, v - 30);
            break;
        case 10:
            t = label(*kSliders[k].format, Codec::attackMs(position));
            break;
        case 11:
            t = label(*kSliders[k].format, Codec::releaseMultiple(position));
            break;
        case 12:
            t = label(*kSliders[k].format, Codec::ratioTenths(position) / 10.0);
            break;
        case kHighPassSlider:
        case kLowPassSlider: {
            double f = FrequencyTable::gridFrequency(position);
            bool high = k == kHighPassSlider;
            if (high && f < FrequencyTable::kMinimum)
                t = text(uitext::HpfFreqOff);
            else if (f < 100)
                t = label(high ? uitext::HpfFreqTenths : uitext::LpfFreqTenths, f);
            else
                t = label(high ? uitext::HpfFreqWhole : uitext::LpfFreqWhole, std::trunc(f));
            break;
        }
        default:
            t = label(*kSliders[k].format, v);
            break;
    }
    s.setLabelText(t);
}

void OutputPage::refreshCaption(int c) {
    double tenths =
        slider(Layout::captionSlider(c)).scale().clamp(slider(Layout::captionSlider(c)).value());
    caption(c).SetText(label(uitext::DelayDistance, Codec::delayDistance(tenths)));
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

int OutputPage::getField(int field) const {
    auto& self = const_cast<OutputPage&>(*this);
    if (field >= 0 && field < 40 && field % 10 < Layout::kStrips) {
        const BandStrip& s = self.strip(field % 10);
        switch (field / 10) {
            case 0:
                return static_cast<int>(s.GetSubValue(BandValueText::Type));
            case 1:
                return FrequencyTable::codeOf(s.GetSubValue(BandValueText::Frequency));
            case 2:
                return Codec::qCode(s.GetSubValue(BandValueText::Q));
            default:
                return Codec::gainCode(s.GetSubValue(BandValueText::Gain));
        }
    }
    if (field == 40) return m_graph.GetEqEnabled() ? 1 : 0;
    if (field >= 41 && field <= 43) return self.button(field - 41).GetCheckType() == 2 ? 1 : 0;
    if (field == 59 || field == 61)
        return Codec::crossoverCode(self.selector(field == 61).GetSelection(), field == 61);
    int k = sliderOfField(field);
    if (k < 0) return 0;
    const ValueSlider& s = self.slider(k);
    int position = static_cast<int>(s.scale().clamp(s.value()));
    switch (field) {
        case 44:
            return static_cast<int>(s.GetValue());
        case 45:
        case 46:
        case 47:
            return Codec::mixCode(position);
        case 48:
        case 49:
            return Codec::userQCode(position);
        case 51:
        case 52:
        case 57:
            return Codec::delayCode(s.scale().clamp(s.value()));
        case 53:
            return Codec::thresholdCode(s.scale().clamp(s.value()));
        case 54:
            return Codec::attackCode(position);
        case 55:
            return Codec::releaseMultiple(position);
        case 56:
            return Codec::ratioTenths(position);
        case 58:
        case 60:
            return Codec::crossoverFrequencyCode(position);
        default:
            return position;  // 50: the automatic volume as it is
    }
}

void OutputPage::setField(int field, int value) {
    if (field >= 0 && field < 40 && field % 10 < Layout::kStrips) {
        setBandField(field, value);
        return;
    }
    switch (field) {
        case 40:
            m_graph.SetEqEnabled(value >= 1);
            break;
        case 41:
        case 42:
        case 43:
            button(field - 41).SetCheckType(value < 1 ? 1 : 2);
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
    int j = field % 10;
    BandStrip& s = strip(j);
    switch (field / 10) {
        case 0: {
            int type = Codec::bandType(value);
            m_graph.SetBandType(j, type);
            s.SetSubValue(BandValueText::Type, type);
            break;
        }
        case 1: {
            double f = Codec::bandFrequency(value);
            m_graph.SetBandFrequency(j, f);
            s.SetSubValue(BandValueText::Frequency, f);
            break;
        }
        case 2: {
            double q = Codec::q(value);
            m_graph.SetBandQ(j, q);
            s.SetSubValue(BandValueText::Q, q);
            break;
        }
        default: {
            double g = Codec::gain(value);
            m_graph.SetBandGain(j, g);
            s.SetSubValue(BandValueText::Gain, g);
            break;
        }
    }
}

void OutputPage::setSliderField(int field, int value) {
    ValueSlider& s = slider(sliderOfField(field));
    switch (field) {
        case 44:
            // A level above 100 shows as 100, with the mute as the device has it.
            s.SetValue(Codec::mutedLevel(value));
            break;
        case 45:
        case 46:
        case 47:
            s.SetValue(Codec::mixLevel(value));
            break;
        case 51:
        case 52:
        case 57:
            s.SetValue(Codec::delay(value));
            break;
        case 53:
            s.SetValue(std::clamp(Codec::threshold(value), 0.0, 48.0));
            break;
        case 54:
            s.SetValue(Codec::attackPosition(value));
            break;
        case 55:
            s.SetValue(std::min(Codec::releasePosition(value), 7));
            break;
        case 56:
            s.SetValue(Codec::ratioPosition(value));
            break;
        default:
            s.SetValue(std::clamp(value, 0, 100));
            break;
    }
}

void OutputPage::setCrossoverFrequency(int i, int code) {
    double f = Codec::crossoverFrequency(code);
    m_graph.SetCrossoverFrequency(i, f);
    slider(kHighPassSlider + i).SetValue(Codec::crossoverSliderPosition(f));
}

// A code outside the selector's table shows, and draws, as its first item.
void OutputPage::setCrossoverType(int i, int code) {
    int position = Codec::crossoverPosition(code);
    SkinComboBox& box = selector(i);
    box.SetSelection(position < box.count() ? position : 0);
    position = box.GetSelection();
    slider(kHighPassQ + i).SetEnabled(position >= kUserItems);
    if (position >= kUserItems)
        applyUserQ(i);
    else
        m_graph.SetCrossoverType(Codec::crossoverCode(position, i == 1));
}

void OutputPage::setUserQ(int i, int code) {
    slider(kHighPassQ + i).SetValue(std::clamp(Codec::userQPosition(code), 0, 11));
    applyUserQ(i);
}

// Modes 0 and 2 are the high-pass "USER 12db" and "USER 24db", 1 and 3 the low-pass.
void OutputPage::applyUserQ(int i) {
    int position = selector(i).GetSelection();
    if (position < kUserItems) return;
    int mode = (position == kUserItems ? 0 : 2) + i;
    m_graph.SetCrossoverUserQ(mode, slider(kHighPassQ + i).value() + 4);
}

// --- user changes ---

void OutputPage::changed(int field) {
    if (m_changed) m_changed(m_page, field);
}

intptr_t OutputPage::onMessage(unsigned message, intptr_t wParam, intptr_t lParam) {
    int w = static_cast<int>(wParam), l = static_cast<int>(lParam);
    if (message >= kStripId && message < kStripId + 16) {
        bandChanged(w, l);
    } else if (message == kGraphId) {
        graphChanged(w, l);
    } else if (message >= kSliderId && message <= kSliderId + 16) {
        sliderChanged(w);
    } else if (message == kSelectorId || message == kSelectorId + 1) {
        selectorChanged(static_cast<int>(message - kSelectorId));
    } else if (message >= kButtonId && message <= kButtonId + 6) {
        buttonAction(l);
    } else {
        return 0;
    }
    return 1;
}

void OutputPage::bandChanged(int j, int sub) {
    if (j < 0 || j >= Layout::kStrips) return;
    double v = strip(j).GetSubValue(sub);
    switch (sub) {
        case BandValueText::Gain:
            m_graph.SetBandGain(j, v);
            changed(j + 30);
            break;
        case BandValueText::Frequency:
            m_graph.SetBandFrequency(j, v);
            changed(j + 10);
            break;
        case BandValueText::Q:
            m_graph.SetBandQ(j, v);
            changed(j + 20);
            break;
        case BandValueText::Type:
            m_graph.SetBandType(j, v);
            changed(j);
            break;
        default:
            break;
    }
}

void OutputPage::graphChanged(int code, int band) {
    if (band < 0 || band >= Layout::kStrips) return;
    switch (code) {
        case 0: {
            BandStrip& s = strip(band);
            s.SetSubValue(BandValueText::Frequency, m_graph.GetBandFrequency(band));
            s.SetSubValue(BandValueText::Q, m_graph.GetBandQ(band));
            s.SetSubValue(BandValueText::Gain, m_graph.GetBandGain(band));
            s.SetSubValue(BandValueText::Type, m_graph.GetBandType(band));
            for (int field : {band, band + 30, band + 10, band + 20}) changed(field);
            break;
        }
        case 1:
        case 2: {
            int k = kHighPassSlider + code - 1;
            double f = m_graph.GetCrossoverFrequency(code - 1);
            slider(k).SetValue(Codec::crossoverSliderPosition(f));
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
        m_graph.SetCrossoverFrequency(k - kHighPassSlider, FrequencyTable::gridFrequency(position));
    }
    int field = fieldOfSlider(k);
    changed(field);
    refreshItem(field);
}

void OutputPage::selectorChanged(int i) {
    int code = Codec::crossoverCode(selector(i).GetSelection(), i == 1);
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
            m_graph.SetEqEnabled(!m_graph.GetEqEnabled());
            changed(40);
            break;
        default:
            break;
    }
}

void OutputPage::rest() {
    for (int j = 0; j < Layout::kStrips; ++j) {
        double f = Codec::restFrequency(m_page == 2, j);
        strip(j).SetSubValue(BandValueText::Gain, 0);
        m_graph.SetBandGain(j, 0);
        strip(j).SetSubValue(BandValueText::Frequency, f);
        m_graph.SetBandFrequency(j, f);
        changed(j + 10);
        changed(j + 30);
    }
}
