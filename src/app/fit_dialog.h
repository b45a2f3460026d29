#pragma once

#include <QDialog>
#include <vector>

#include "filter/eq_band.h"
#include "filter/page_curve.h"

class FitPreview;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Fits a page's bands to a measurement file and shows the measurement, the
// target and the predicted result before anything is written: Apply accepts
// the fitted bands (the caller writes them), Cancel writes nothing. A change
// of file or setting asks for a new fit before Apply.
class FitDialog : public QDialog {
public:
    // The page's bands and crossovers as they are; the crossovers stay.
    FitDialog(const PageCurve& page, QWidget* owner);

    QLineEdit& file() { return *m_file; }
    QComboBox& target() { return *m_target; }
    QComboBox& range() { return *m_range; }
    QPushButton& fitButton() { return *m_fit; }
    QPushButton& applyButton() { return *m_apply; }
    QLabel& report() { return *m_report; }
    // The fitted bands; empty until a fit succeeded.
    const std::vector<EqBand>& bands() const { return m_bands; }

    void fit();

private:
    void browse();
    void targetChosen(int index);
    void changed();
    void addSettings(class QGridLayout& grid);

    PageCurve m_page;
    QLineEdit* m_file;
    QComboBox* m_target;
    QComboBox* m_range;
    QComboBox* m_smoothing;
    QDoubleSpinBox* m_boost;
    QPushButton* m_fit;
    QPushButton* m_apply;
    QLabel* m_report;
    FitPreview* m_preview;
    QString m_targetFile;
    std::vector<EqBand> m_bands;
};
