#pragma once

#include <QLabel>
#include <QWidget>
#include <array>
#include <memory>

#include "resources/drawing_surface.h"

class IntegerSlider;
class ValueEdit;
class ValueSlider;
class BandStrip;
class ResponseGraph;

// Shows the response graph, a row of band strips, a set of sliders and a
// routing cell's level box and integer slider on a skinned panel, wired
// together as their pages wire them, so that their look and feel can be
// judged on their own. A readout names the last change.
class ControlGallery : public QWidget {
public:
    static constexpr int kBands = 8;
    static constexpr int kSliders = 6;

    explicit ControlGallery(QWidget* parent = nullptr);
    ~ControlGallery() override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void applyStartValues();
    void layoutControls();
    void paintSkin();
    void bandChanged(int band, int sub);
    void graphChanged(int code, int band);
    void sliderChanged(int k);
    void refreshSliderLabel(int k);
    void levelChanged(bool fromSlider);
    void report(const QString& text);

    DrawingSurface m_skin;
    ResponseGraph* m_graph = nullptr;
    std::array<BandStrip*, kBands> m_strips{};
    std::array<ValueSlider*, kSliders> m_sliders{};
    IntegerSlider* m_level = nullptr;
    ValueEdit* m_levelBox = nullptr;
    QLabel* m_readout = nullptr;
};
