#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>
#include <array>
#include <functional>

#include "binding/route_matrix.h"
#include "controls/integer_slider.h"
#include "controls/skin_button.h"
#include "controls/skin_combo_box.h"
#include "controls/skin_label.h"
#include "controls/value_edit.h"
#include "files/settings.h"
#include "resources/drawing_surface.h"

class Mirror;
class ParameterBinding;

// The decoder's routing matrix, run as a modal dialog: 8 outputs by 8 decoded
// inputs, each cell an on/off button, a level box and a level slider bound to
// its parameter. The title shows the decoding state, a selector sets the
// input layout, a button exports the matrix as C text to a file and to the
// clipboard. While it is open the owner hands it the link events; it asks
// for one row of cells every 100 ms so that the cells follow the device.
class RoutingPage : public QDialog {
public:
    static constexpr int kDesignWidth = 8 * 108 + 108;
    static constexpr int kDesignHeight = 8 * 55 + 100;

    RoutingPage(ParameterBinding& binding, Mirror& mirror, QWidget* parent);

    // Where the export is first offered; the settings folder by default.
    void setExportFolder(const QString& folder) { m_exportFolder = folder; }

    // A link event; what the page does not show goes on to the passer.
    void linkEvent(int code, int argument);
    void setEventPasser(std::function<void(int code, int argument)> passer) {
        m_passOn = std::move(passer);
    }

    SkinButton& cellButton(int cell) { return m_buttons[static_cast<size_t>(cell)]; }
    ValueEdit& cellEdit(int cell) { return m_edits[static_cast<size_t>(cell)]; }
    IntegerSlider& cellSlider(int cell) { return m_sliders[static_cast<size_t>(cell)]; }
    SkinComboBox& layoutSelector() { return m_selector; }
    SkinButton& exportButton() { return m_export; }
    bool refreshing() const { return m_refresh.isActive(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void done(int result) override;

private:
    void createControls();
    void layout();
    void paintSkin();
    void placeControls(double sx, double sy);
    QRect scaled(double x, double y, double w, double h) const;

    void showCell(int cell, uint16_t value);
    static void setSwitch(SkinButton& button, bool on);
    void writeCell(int cell);
    void layoutSelected();
    void cellEdited(int cell);
    void cellSwitched(int cell);
    void cellSlid(int cell);
    void parameterReceived(int index);
    void updateTitle();
    void exportMatrix();

    ParameterBinding& m_binding;
    Mirror& m_mirror;
    QString m_exportFolder = QString::fromStdString(Settings::programFolder());
    DrawingSurface m_skin;
    std::array<SkinButton, RouteMatrix::kCells> m_buttons;
    std::array<ValueEdit, RouteMatrix::kCells> m_edits;
    std::array<IntegerSlider, RouteMatrix::kCells> m_sliders;
    std::array<SkinLabel, 2 * RouteMatrix::kSize> m_headings;
    SkinLabel m_titleLabel;
    SkinComboBox m_selector;
    SkinButton m_export;
    RoutePoller m_poller;
    QTimer m_refresh;
    std::function<void(int, int)> m_passOn;
    double m_sx = 1, m_sy = 1;
};
