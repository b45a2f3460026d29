#pragma once

#include <QLabel>
#include <QWidget>
#include <array>
#include <memory>

#include "app/cmem_dc_class.h"
#include "platform/message_target.h"

class CEA_Pel2;
class CEQ_Pel0;
class CPel_NewScope;

// Shows the response graph, a row of band strips and a set of sliders on a
// skinned panel, wired together as an output page wires them, so that their
// look and feel can be judged on their own. A readout names the last change.
class ControlGallery : public QWidget, public MessageTarget {
public:
    static constexpr int kBands = 8;
    static constexpr int kSliders = 6;

    explicit ControlGallery(QWidget* parent = nullptr);
    ~ControlGallery() override;

    intptr_t onMessage(unsigned message, intptr_t wParam, intptr_t lParam) override;

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
    void report(const QString& text);

    CMemDcClass m_skin;
    CPel_NewScope* m_scope = nullptr;
    std::array<CEQ_Pel0*, kBands> m_strips{};
    std::array<CEA_Pel2*, kSliders> m_sliders{};
    QLabel* m_readout = nullptr;
};
