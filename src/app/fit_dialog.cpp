#include "app/fit_dialog.h"

#include <cmath>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/fit_preview.h"
#include "filter/band_fitter.h"
#include "filter/filter_text_writer.h"
#include "filter/measurement_reader.h"
#include "texts/fit_texts.h"

namespace {

constexpr int kSmoothings[] = {3, 6, 12, 0};
constexpr int kDefaultSmoothing = 2;
constexpr double kRanges[][2] = {{20, 10000}, {20, 500}};
enum TargetItem { FlatTarget, HouseTarget, FileTarget };

// The graph's curve magenta for the prediction, the other channels' yellow
// for the target, light grey for the measurement.
constexpr QRgb kMeasuredColour = 0xFFB0B0B0;
constexpr QRgb kTargetColour = 0xFFFFD740;
constexpr QRgb kPredictedColour = 0xFFFF00FF;

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

QString measurementFilter() {
    return QStringLiteral("* (*.txt *.csv *.frd);;* (*)");
}

}  // namespace

FitDialog::FitDialog(const PageCurve& page, QWidget* owner)
    : QDialog(owner),
      m_page(page),
      m_file(new QLineEdit(this)),
      m_target(new QComboBox(this)),
      m_range(new QComboBox(this)),
      m_smoothing(new QComboBox(this)),
      m_boost(new QDoubleSpinBox(this)),
      m_fit(new QPushButton(text(fittext::Fit), this)),
      m_apply(new QPushButton(text(fittext::Apply), this)),
      m_report(new QLabel(text(fittext::ChooseFile), this)),
      m_preview(new FitPreview(this)) {
    setWindowTitle(text(fittext::Title));
    auto* grid = new QGridLayout;
    addSettings(*grid);
    auto* buttons = new QHBoxLayout;
    auto* cancel = new QPushButton(text(fittext::Cancel), this);
    buttons->addStretch();
    buttons->addWidget(m_apply);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_preview, 1);
    m_report->setWordWrap(true);
    layout->addWidget(m_report);
    layout->addLayout(buttons);
    m_apply->setEnabled(false);
    m_fit->setDefault(true);
    connect(m_fit, &QPushButton::clicked, this, &FitDialog::fit);
    connect(m_apply, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FitDialog::addSettings(QGridLayout& grid) {
    auto* browse = new QPushButton(text(fittext::Browse), this);
    grid.addWidget(new QLabel(text(fittext::Measurement), this), 0, 0);
    grid.addWidget(m_file, 0, 1, 1, 4);
    grid.addWidget(browse, 0, 5);
    m_target->addItems({text(fittext::Flat), text(fittext::House), text(fittext::TargetFile)});
    m_range->addItems({text(fittext::FullRange), text(fittext::BassRange)});
    for (int n : kSmoothings)
        m_smoothing->addItem(n ? QString::fromStdString(formatText(fittext::OctaveFraction, n))
                               : text(fittext::NoSmoothing));
    m_smoothing->setCurrentIndex(kDefaultSmoothing);
    m_boost->setRange(0, 12);
    m_boost->setSingleStep(0.5);
    m_boost->setDecimals(1);
    m_boost->setValue(6);
    m_boost->setSuffix(QStringLiteral(" dB"));
    const std::pair<const TextTriple*, QWidget*> row[] = {{&fittext::Target, m_target},
                                                          {&fittext::Range, m_range},
                                                          {&fittext::Smoothing, m_smoothing},
                                                          {&fittext::MaxBoost, m_boost}};
    for (int k = 0; k < 4; ++k) {
        grid.addWidget(new QLabel(text(*row[k].first), this), 1 + k / 2, (k % 2) * 2);
        grid.addWidget(row[k].second, 1 + k / 2, (k % 2) * 2 + 1);
    }
    grid.addWidget(m_fit, 2, 5);
    connect(browse, &QPushButton::clicked, this, &FitDialog::browse);
    connect(m_target, &QComboBox::activated, this, &FitDialog::targetChosen);
    connect(m_file, &QLineEdit::textChanged, this, &FitDialog::changed);
    connect(m_range, &QComboBox::currentIndexChanged, this, &FitDialog::changed);
    connect(m_smoothing, &QComboBox::currentIndexChanged, this, &FitDialog::changed);
    connect(m_boost, &QDoubleSpinBox::valueChanged, this, &FitDialog::changed);
}

void FitDialog::browse() {
    QString path = QFileDialog::getOpenFileName(this, text(fittext::Title), m_file->text(),
                                                measurementFilter());
    if (!path.isEmpty()) m_file->setText(path);
}

void FitDialog::targetChosen(int index) {
    changed();
    if (index != FileTarget) return;
    QString path = QFileDialog::getOpenFileName(this, text(fittext::TargetFile), m_targetFile,
                                                measurementFilter());
    if (path.isEmpty())
        m_target->setCurrentIndex(FlatTarget);
    else
        m_targetFile = path;
}

// What the preview shows no longer belongs to the settings: no Apply until
// the next fit.
void FitDialog::changed() {
    m_apply->setEnabled(false);
    m_bands.clear();
}

void FitDialog::fit() {
    changed();
    MeasurementReader::Result measured = MeasurementReader::readFile(m_file->text().toStdString());
    if (!measured.ok()) {
        m_report->setText(QString::fromStdString(measured.error));
        return;
    }
    FitTarget target =
        m_target->currentIndex() == HouseTarget ? FitTarget::house() : FitTarget::flat();
    if (m_target->currentIndex() == FileTarget) {
        MeasurementReader::Result levels = MeasurementReader::readFile(m_targetFile.toStdString());
        if (!levels.ok()) {
            m_report->setText(m_targetFile + QStringLiteral(": ") +
                              QString::fromStdString(levels.error));
            return;
        }
        target = FitTarget::file(std::move(levels.measurement));
    }
    FitSettings settings;
    settings.bands = int(m_page.bands.size());
    settings.low = kRanges[m_range->currentIndex()][0];
    settings.high = kRanges[m_range->currentIndex()][1];
    settings.smoothing = kSmoothings[m_smoothing->currentIndex()];
    settings.maxBoost = m_boost->value();
    std::string error;
    FitProblem problem = FitProblem::build(measured.measurement, target, m_page, settings, error);
    if (!error.empty()) {
        m_report->setText(QString::fromStdString(error));
        return;
    }
    BandFitter::Result r = BandFitter(problem, settings).fit();
    // The prediction after the best constant offset, as the error is measured.
    std::vector<double> predicted(problem.measured());
    double offset = 0;
    for (size_t k = 0; k < predicted.size(); ++k) {
        predicted[k] += problem.crossovers()[k] + r.equaliser[k];
        offset += predicted[k] - problem.target()[k];
    }
    for (double& level : predicted) level -= offset / double(predicted.size());
    m_preview->setCurves(problem.frequencies(),
                         {{problem.measured(), kMeasuredColour, text(fittext::MeasuredCurve)},
                          {problem.target(), kTargetColour, text(fittext::TargetCurve)},
                          {predicted, kPredictedColour, text(fittext::Predicted)}});
    std::string report =
        formatText(fittext::Report, r.rmsBefore, r.rmsAfter, r.maxBefore, r.maxAfter);
    if (problem.narrowed(settings))
        report += "\n" + formatText(fittext::FittedRange,
                                    FilterTextWriter::number(std::round(problem.low())).c_str(),
                                    FilterTextWriter::number(std::round(problem.high())).c_str());
    m_report->setText(QString::fromStdString(report));
    m_bands = r.bands;
    m_apply->setEnabled(!m_bands.empty());
}
