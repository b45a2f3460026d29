#pragma once

#include <QWidget>
#include <vector>

// The curves of a fit on the graph's dark plot: the measurement, the target
// and the predicted result, each in its own colour, with a legend, over a
// logarithmic frequency axis.
class FitPreview : public QWidget {
public:
    struct Curve {
        std::vector<double> levels;
        QRgb colour;
        QString name;
    };

    explicit FitPreview(QWidget* parent = nullptr);

    void setCurves(std::vector<double> frequencies, std::vector<Curve> curves);
    QSize sizeHint() const override { return {640, 260}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawGrid(QPainter& p, const QRect& plot, double low, double high) const;

    std::vector<double> m_frequencies;
    std::vector<Curve> m_curves;
};
