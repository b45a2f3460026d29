#include "pages/main_header.h"

#include <algorithm>
#include <cmath>

#include "binding/header_values.h"
#include "binding/parameter_binding.h"
#include "link/link_state.h"
#include "resources/skin_ids.h"
#include "texts/ui_texts.h"

namespace {

const QString kFace = QString::fromUtf8("微软雅黑");
constexpr QRgb kLabelColour = 0xC89D9D9D;
constexpr unsigned kLabelAlignment = 0x126;
constexpr int kMicBSlider = 3;

const TextTriple* const kSliderFormats[MainHeader::kSliders] = {
    &uitext::MasterMusic, &uitext::MasterMic, &uitext::MasterEffect, &uitext::MasterMicB};
constexpr int kSliderIndices[MainHeader::kSliders] = {
    HeaderValues::kMusicVolume, HeaderValues::kMicVolume, HeaderValues::kEffectVolume,
    HeaderValues::kMicBVolume};
// Items of the source selector: fixed names, or texts of the current language.
const char* const kSourceNames[HeaderValues::kSources] = {
    "AUX1", "AUX2", nullptr, nullptr, nullptr, "eARC", "HDMI1", "HDMI2", "HDMI3"};
const TextTriple* const kSourceTexts[HeaderValues::kSources] = {nullptr,
                                                                nullptr,
                                                                &uitext::SourceOptical,
                                                                &uitext::SourceCoaxial,
                                                                &uitext::SourceBluetooth,
                                                                nullptr,
                                                                nullptr,
                                                                nullptr,
                                                                nullptr};
const char* const kChannelCounts[] = {"2CH", "2.1CH", "3CH", "3.1CH", "5.1CH", "7.1CH"};

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

int truncated(double x) {
    return static_cast<int>(x);
}

}  // namespace

MainHeader::MainHeader(QWidget* window, ParameterBinding& binding, LinkState& state)
    : m_binding(binding), m_state(state) {
    m_title.setParent(window);
    for (auto& s : m_sliders) s.setParent(window);
    m_audio.setParent(window);
    m_mode.setParent(window);
    m_decoder.setParent(window);
    m_inputLabel.setParent(window);
    m_source.setParent(window);
}

void MainHeader::layout(DrawingSurface* background, double sx, double sy, bool create) {
    if (create) this->create(background);
    place(sx, sy);
    double s = std::min(sx, sy);
    for (SkinLabel* l : {&m_title, &m_audio, &m_decoder, &m_inputLabel})
        l->setTextStyle(14 * s, kFace, kLabelColour, kLabelAlignment);
}

void MainHeader::create(DrawingSurface* background) {
    m_title.create(QRect());
    m_title.setBackground(background);
    m_title.setText(QStringLiteral("QX7"));
    for (int k = 0; k < kSliders; ++k) {
        ValueSlider& s = slider(k);
        s.create(QRect());
        QObject::connect(&s, &ValueSlider::valueChanged, &s, [this, k] { sliderMoved(k); });
        s.setLabelMode(true);
        s.setLabelColour(0xFFF0F0F0);
        s.setLabelFormat(text(*kSliderFormats[k]));
        s.setSkin(background);
    }
    slider(kMicBSlider).setInputEnabled(false);
    m_audio.create(QRect());
    m_decoder.create(QRect());
    m_inputLabel.create(QRect());
    for (SkinLabel* l : {&m_audio, &m_decoder, &m_inputLabel}) l->setBackground(background);
    for (SkinComboBox* box : {&m_mode, &m_source}) {
        box->create(QRect(0, 0, 100, 100));
        box->setSkin(background, SkinComboBox::Style::Header);
        box->setFaceName(kFace);
        // Narrower than the design's 16, so that "Analog 7.1CH" fits the face.
        box->setFontHeight(11);
        box->setTextColour(QColor(250, 250, 250));
    }
    QObject::connect(&m_source, &SkinComboBox::selectionChosen, &m_source,
                     [this] { sourceChosen(); });
    QObject::connect(&m_mode, &SkinComboBox::selectionChosen, &m_mode, [this] { modeChosen(); });
    languageRefresh();
}

void MainHeader::place(double sx, double sy) {
    double s = std::min(sx, sy);
    m_title.setGeometry(truncated(14 * sx), 0, truncated(250 * sx), truncated(26 * sy));
    for (int k = 0; k < kSliders; ++k)
        slider(k).setGeometry(truncated((26 + 171 * k) * sx), truncated(66 * sy),
                              truncated(170 * s), truncated(33 * s));
    m_audio.setGeometry(truncated(750 * sx), truncated(60 * sy), truncated(85 * sx),
                        truncated(18 * sy));
    m_mode.place(QRect(truncated(837 * sx), truncated(60 * sy), truncated(100 * s), 100));
    m_decoder.setGeometry(m_mode.geometry().right() + 1 + truncated(2 * sx), truncated(60 * sy),
                          truncated(85 * sx), truncated(18 * sy));
    m_inputLabel.setGeometry(truncated(750 * sx), truncated(84 * s), truncated(85 * s),
                             truncated(19 * s));
    m_source.place(QRect(m_inputLabel.geometry().right() + 1 + truncated(2 * sx), truncated(84 * s),
                         truncated(100 * s), 100));
}

void MainHeader::sourceChosen() {
    int code = HeaderValues::sourceCode(m_source.selection());
    if (code >= 0) m_binding.writeParameter(HeaderValues::kInputSource, uint16_t(code));
}

void MainHeader::modeChosen() {
    int item = m_mode.selection();
    if (item >= 0 && item < HeaderValues::kChannelModes)
        m_binding.writeParameter(HeaderValues::kChannelMode, uint16_t(item));
}

void MainHeader::sliderMoved(int k) {
    if (k == kMicBSlider) return;
    clampToLimits();
    refreshSliderLabel(k);
    auto code = static_cast<uint16_t>(HeaderValues::volumeCode(slider(k).value()));
    m_binding.writeParameter(kSliderIndices[k], code);
    // The MIC slider drives both microphones.
    if (k == 1) m_binding.writeParameter(HeaderValues::kMicBVolume, code);
}

void MainHeader::clampToLimits() {
    const MasterLimits& limits = m_binding.masterLimits();
    const std::pair<int, int> pairs[] = {
        {0, limits.music}, {1, limits.mic}, {kMicBSlider, limits.micB}, {2, limits.effect}};
    for (auto [k, maximum] : pairs) {
        if (slider(k).value() <= maximum) continue;
        slider(k).setValue(maximum);
        refreshSliderLabel(k);
    }
}

void MainHeader::refreshSliderLabel(int k) {
    slider(k).setLabelFormat(text(*kSliderFormats[k]));
}

void MainHeader::fillSelectors() {
    int source = m_source.selection();
    m_source.clear();
    for (int i = 0; i < HeaderValues::kSources; ++i)
        m_source.addItem(kSourceTexts[i] ? text(*kSourceTexts[i])
                                         : QString::fromUtf8(kSourceNames[i]));
    m_source.setSelection(source);
    int mode = m_mode.selection();
    m_mode.clear();
    for (const char* count : kChannelCounts)
        m_mode.addItem(text(uitext::AnalogPrefix) + QString::fromUtf8(count));
    m_mode.addItem(text(uitext::PassThrough));
    m_mode.setSelection(mode);
}

void MainHeader::languageRefresh() {
    fillSelectors();
    m_inputLabel.setText(text(uitext::MusicInput));
    m_audio.setText(text(uitext::Audio));
    for (int k = 0; k < kSliders; ++k) refreshSliderLabel(k);
}

bool MainHeader::toggleSuspend() {
    if (m_state.pauseFlag.load() == 0) {
        m_state.pauseFlag = 1;
        return true;
    }
    m_state.pauseFlag = 0;
    m_state.linkAlive = 0;
    return false;
}

void MainHeader::setInputEnabled(bool enabled) {
    for (int k = 0; k < kSliders; ++k)
        if (k != kMicBSlider) slider(k).setEnabled(enabled);
    m_mode.setEnabled(enabled);
    m_source.setEnabled(enabled);
}

int MainHeader::getField(int index) const {
    auto& self = const_cast<MainHeader&>(*this);
    for (int k = 0; k < kSliders; ++k)
        if (kSliderIndices[k] == index) return HeaderValues::volumeCode(self.slider(k).value());
    if (index == HeaderValues::kInputSource)
        return std::max(0, HeaderValues::sourceCode(m_source.selection()));
    if (index == HeaderValues::kChannelMode) return m_mode.selection();
    return 0;
}

void MainHeader::setField(int index, int value) {
    int k = index - HeaderValues::kMusicVolume;
    if (k >= 0 && k < kSliders) {
        int percent = std::clamp(HeaderValues::volumePercent(value), 0, 100);
        if (percent != slider(k).value()) {
            slider(k).setValue(percent);
            refreshSliderLabel(k);
        }
        return;
    }
    if (index == HeaderValues::kInputSource) {
        int item = HeaderValues::sourceItem(value);
        if (item >= 0) m_source.setSelection(item);
    } else if (index == HeaderValues::kChannelMode) {
        if (value >= 0 && value < HeaderValues::kChannelModes) m_mode.setSelection(value);
    } else if (index == HeaderValues::kDecoderFormat) {
        m_decoder.setText(QString::fromStdString(HeaderValues::decoderName(value)));
    }
}
