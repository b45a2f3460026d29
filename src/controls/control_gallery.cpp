#include "controls/control_gallery.h"

#include <QLinearGradient>
#include <QPainter>
#include <cmath>

#include "controls/band_strip.h"
#include "controls/integer_slider.h"
#include "controls/response_graph.h"
#include "controls/value_edit.h"
#include "controls/value_slider.h"
#include "filter/frequency_table.h"
#include "platform/qt/font_faces.h"
#include "resources/skin_ids.h"
#include "resources/skin_palette.h"

namespace {

struct BandStart {
    int type;
    double frequency;
    double q;
    double gain;
};

constexpr BandStart kBandStarts[ControlGallery::kBands] = {
    {6, 40, 0.71, 4.0},  {7, 120, 1.4, -3.5},  {7, 400, 2.0, 2.0},  {7, 1000, 4.0, -6.0},
    {7, 2500, 1.0, 5.0}, {7, 5000, 3.0, -2.5}, {7, 8000, 2.0, 3.0}, {5, 12000, 0.71, -4.0},
};

// The sliders: output level with its mute, two mix levels, the limiter
// threshold in tenths, and the two crossover frequencies as grid positions.
enum Slider { Output, Mic, Echo, Threshold, HighPass, LowPass };

struct SliderSetup {
    const char* format;  // empty: the label is built by the gallery
    double minimum, maximum, threshold;
    double start;
};

constexpr SliderSetup kSliderSetups[ControlGallery::kSliders] = {
    {"Music Output Vol:   %3d%%", 0, 100, 0, 78},
    {"Mic Dir Vol:   %3d%%", 0, 100, 0, 45},
    {"Echo Vol:   %3d%%", 0, 100, 0, 30},
    {"", 0, 48, 100, 24.5},
    {"", 0, 362, 0, 0},
    {"", 1, 362, 0, 362},
};

constexpr int kHighPassType = 24;  // Linkwitz-Riley 24 dB
constexpr int kLowPassType = 27;   // Butterworth 48 dB
constexpr double kHighPassStart = 35;
constexpr double kLowPassStart = 16000;

// Design layout of the gallery (scaled with the window).
constexpr int kWidth = 1180;
constexpr int kHeight = 760;
const QRect kGraphPanel(16, 44, 1148, 404);
const QRect kGraphRect(26, 70, 1128, 368);
const QRect kStripPanel(16, 462, 600, 282);
const QRect kSliderPanel(630, 462, 534, 282);
constexpr int kStripX = 34, kStripY = 496, kStripPitch = 72;
constexpr double kStripScale = 1.25;
constexpr int kSliderX = 650, kSliderY = 496, kSliderColumn = 258, kSliderRow = 58;
constexpr double kSliderScale = 1.4;
// A routing cell's level: the box and the integer slider at twice design size.
const QRect kLevelBoxRect(652, 682, 56, 26);
const QRect kLevelRect(722, 674, 192, 42);

}  // namespace

ControlGallery::ControlGallery(QWidget* parent) : QWidget(parent) {
    setWindowTitle(QStringLiteral("QX7 controls"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(kWidth, kHeight);
    createControls();
    applyStartValues();
}

ControlGallery::~ControlGallery() = default;

void ControlGallery::createControls() {
    m_graph = new ResponseGraph(this);
    m_graph->create(kGraphRect);
    connect(m_graph, &ResponseGraph::edited, this, &ControlGallery::graphChanged);
    m_graph->initialise(kBands);
    m_graph->options().contextMenu = true;
    for (int j = 0; j < kBands; ++j) {
        auto* strip = new BandStrip(this);
        strip->create(QRect(kStripX + kStripPitch * j, kStripY, int(52 * kStripScale),
                            int(189 * kStripScale)));
        connect(strip, &BandStrip::subValueChanged, this,
                [this, j](int sub) { bandChanged(j, sub); });
        strip->setSkin(&m_skin);
        strip->setStripIndex(j);
        m_strips[size_t(j)] = strip;
    }
    for (int k = 0; k < kSliders; ++k) {
        auto* slider = new ValueSlider(this);
        slider->create(QRect(0, 0, int(170 * kSliderScale), int(33 * kSliderScale)));
        connect(slider, &ValueSlider::valueChanged, this, [this, k] { sliderChanged(k); });
        const SliderSetup& s = kSliderSetups[k];
        slider->setLabelMode(true);
        slider->setTogglePresent(k == Output);
        slider->setRange(s.minimum, s.maximum);
        slider->setFineSteps(s.threshold, 0.1);
        slider->setLevelBar(k <= Echo);
        slider->setLabelColour(0xFFF0F0F0);
        if (*s.format) slider->setLabelFormat(QString::fromUtf8(s.format));
        slider->setSkin(&m_skin);
        m_sliders[size_t(k)] = slider;
    }
    m_levelBox = new ValueEdit(this);
    m_levelBox->create(kLevelBoxRect);
    connect(m_levelBox, &ValueEdit::valueChanged, this, [this] { levelChanged(false); });
    m_levelBox->setFormat(QStringLiteral("%0.0f"));
    m_levelBox->setColours(0xFF2D3138, 0xFF127FBF);
    m_levelBox->setTextColour(0xFFE6E9ED);
    m_levelBox->setTextFont(18, QStringLiteral("Arial"));
    m_level = new IntegerSlider(this);
    m_level->create(kLevelRect);
    connect(m_level, &IntegerSlider::valueChanged, this, [this] { levelChanged(true); });
    m_level->setSetValueScale(1);
    m_readout = new QLabel(this);
    QPalette pal = m_readout->palette();
    pal.setColor(QPalette::WindowText, SkinPalette::accentLight);
    m_readout->setPalette(pal);
    m_readout->setFont(FontFaces::pixelFont(QStringLiteral("微软雅黑"), 13));
}

void ControlGallery::applyStartValues() {
    m_graph->setCrossoverType(kHighPassType);
    m_graph->setCrossoverType(kLowPassType);
    for (int j = 0; j < kBands; ++j) {
        const BandStart& b = kBandStarts[j];
        m_graph->setBandType(j, b.type);
        m_graph->setBandFrequency(j, b.frequency);
        m_graph->setBandQ(j, b.q);
        m_graph->setBandGain(j, b.gain);
        BandStrip* strip = m_strips[size_t(j)];
        strip->setSubValue(3, b.type);
        strip->setSubValue(1, b.frequency);
        strip->setSubValue(2, b.q);
        strip->setSubValue(0, b.gain);
    }
    for (int k = 0; k < kSliders; ++k) m_sliders[size_t(k)]->setValue(kSliderSetups[k].start);
    m_sliders[Output]->setValue(kSliderSetups[Output].start);  // mute off
    m_sliders[HighPass]->setValue(FrequencyTable::gridIndex(kHighPassStart));
    m_sliders[LowPass]->setValue(FrequencyTable::gridIndex(kLowPassStart));
    sliderChanged(HighPass);
    sliderChanged(LowPass);
    for (int k = 0; k < kSliders; ++k) refreshSliderLabel(k);
    m_level->setScaledValue(65);
    m_levelBox->setValue(65);
    m_graph->setAnimation(1);
    report(
        QStringLiteral("Drag a marker, its Q handles, a fader or a slider; right-click the graph "
                       "for Copy and Paste."));
}

void ControlGallery::layoutControls() {
    // Everything keeps its design place; the skin is redrawn for the size.
    m_readout->setGeometry(kGraphPanel.left() + 12, 10, kGraphPanel.width() - 24, 26);
    for (int k = 0; k < kSliders; ++k) {
        int column = k / 3, row = k % 3;
        m_sliders[size_t(k)]->setGeometry(kSliderX + column * kSliderColumn,
                                          kSliderY + row * kSliderRow + (column ? 0 : 0),
                                          int(170 * kSliderScale), int(33 * kSliderScale));
    }
}

void ControlGallery::paintSkin() {
    m_skin.release();
    m_skin.setPixelRatio(devicePixelRatioF());
    m_skin.recreate(0, 0, std::max(width(), 1), std::max(height(), 1));
    QImage* image = m_skin.dc();
    if (!image) return;
    QPainter p(image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient chassis(0, 0, 0, height());
    chassis.setColorAt(0, SkinPalette::chassisTop);
    chassis.setColorAt(1, SkinPalette::chassisBottom);
    p.fillRect(rect(), chassis);
    auto panel = [&](const QRect& r, const QString& caption) {
        QLinearGradient g(0, r.top(), 0, r.bottom());
        g.setColorAt(0, SkinPalette::panelTop);
        g.setColorAt(1, SkinPalette::panelBottom);
        p.setPen(QPen(SkinPalette::panelBorder, 1));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
        p.setPen(SkinPalette::dimGlyph);
        p.setFont(FontFaces::pixelFont(QStringLiteral("Arial Bold"), 11, true));
        p.drawText(QRect(r.left() + 12, r.top() + 6, r.width() - 24, 16),
                   Qt::AlignLeft | Qt::AlignVCenter, caption);
    };
    panel(kGraphPanel, QStringLiteral("FREQUENCY RESPONSE  ·  8-BAND PARAMETRIC EQ  ·  HPF / LPF"));
    panel(kStripPanel, QStringLiteral("EQ BANDS"));
    panel(kSliderPanel, QStringLiteral("LEVELS  ·  LIMITER  ·  CROSSOVERS  ·  ROUTE LEVEL"));
    p.setPen(QPen(SkinPalette::wellBorder, 1));
    p.setBrush(SkinPalette::well);
    p.drawRect(QRectF(kGraphRect).adjusted(-1.5, -1.5, 0.5, 0.5));
}

void ControlGallery::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    paintSkin();
    layoutControls();
    for (BandStrip* strip : m_strips) strip->setSkin(&m_skin);
    for (ValueSlider* slider : m_sliders) slider->invalidate();
    m_level->setSkin(&m_skin);
    m_levelBox->update();
    update();
}

void ControlGallery::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    m_graph->setAnimation(2);
}

void ControlGallery::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_skin.isEmpty()) p.drawImage(QPoint(0, 0), m_skin.image());
}

// --- the wiring of an output page ---

void ControlGallery::bandChanged(int band, int sub) {
    if (band < 0 || band >= kBands) return;
    double v = m_strips[size_t(band)]->subValue(sub);
    switch (sub) {
        case 0:
            m_graph->setBandGain(band, v);
            break;
        case 1:
            m_graph->setBandFrequency(band, v);
            break;
        case 2:
            m_graph->setBandQ(band, v);
            break;
        case 3:
            m_graph->setBandType(band, v);
            break;
        default:
            return;
    }
    static const char* const kNames[] = {"gain", "frequency", "Q", "type"};
    report(QStringLiteral("Strip %1 %2 → %3").arg(band + 1).arg(kNames[sub]).arg(v));
}

void ControlGallery::graphChanged(int code, int band) {
    if (code == 0 && band >= 0 && band < kBands) {
        BandStrip* strip = m_strips[size_t(band)];
        strip->setSubValue(1, m_graph->bandFrequency(band));
        strip->setSubValue(2, m_graph->bandQ(band));
        strip->setSubValue(0, m_graph->bandGain(band));
        strip->setSubValue(3, m_graph->bandType(band));
        report(QStringLiteral("Band %1:  F %2 Hz   Q %3   G %4 dB")
                   .arg(band + 1)
                   .arg(strip->boxText(1), strip->boxText(2), strip->boxText(0)));
    } else if (code == 1 || code == 2) {
        double f = m_graph->crossoverFrequency(code - 1);
        ValueSlider* slider = m_sliders[code == 1 ? HighPass : LowPass];
        slider->setValue(FrequencyTable::gridIndex(f));
        refreshSliderLabel(code == 1 ? HighPass : LowPass);
        report(QStringLiteral("%1 crossover → %2")
                   .arg(code == 1 ? "High-pass" : "Low-pass")
                   .arg(slider->labelText().section(QLatin1Char(':'), 1).trimmed()));
    } else if (code == 3 || code == 4) {
        report(code == 3 ? QStringLiteral("Copy band set") : QStringLiteral("Paste band set"));
    }
}

void ControlGallery::sliderChanged(int k) {
    if (k < 0 || k >= kSliders) return;
    ValueSlider* slider = m_sliders[size_t(k)];
    if (k == HighPass || k == LowPass) {
        double f = FrequencyTable::gridFrequency(slider->value());
        m_graph->setCrossoverFrequency(k == HighPass ? 0 : 1, f);
    }
    refreshSliderLabel(k);
    report(QStringLiteral("Slider %1 → %2").arg(k).arg(slider->valueWithToggle()));
}

void ControlGallery::refreshSliderLabel(int k) {
    ValueSlider* slider = m_sliders[size_t(k)];
    double v = slider->value();
    if (k == Threshold) {
        slider->setLabelText(QString::asprintf("Threshold:   %3.1fdBu", v - 30));
    } else if (k == HighPass || k == LowPass) {
        double f = FrequencyTable::gridFrequency(v);
        const char* name = k == HighPass ? "HPF Freq:" : "LPF Freq:";
        if (k == HighPass && f < FrequencyTable::kMinimum) {
            slider->setLabelText(QStringLiteral("%1   OFF").arg(name));
        } else if (f < 100) {
            slider->setLabelText(QString::asprintf("%s   %4.1fHz", name, f));
        } else {
            slider->setLabelText(QString::asprintf("%s   %4dHz", name, int(f)));
        }
    }
}

// As a routing cell keeps its box and slider in step.
void ControlGallery::levelChanged(bool fromSlider) {
    if (fromSlider)
        m_levelBox->setValue(m_level->value());
    else
        m_level->setScaledValue(m_levelBox->value());
    report(QStringLiteral("Route level → %1").arg(m_level->value()));
}

void ControlGallery::report(const QString& text) {
    m_readout->setText(text);
}
