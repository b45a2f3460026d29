#pragma once

#include <QDialog>
#include <QString>
#include <array>

#include "binding/route_matrix.h"
#include "controls/integer_slider.h"
#include "controls/skin_button.h"
#include "controls/skin_combo_box.h"
#include "controls/skin_label.h"
#include "controls/value_edit.h"
#include "files/settings.h"
#include "platform/qt/message_target.h"
#include "platform/qt/window_timer.h"
#include "resources/drawing_surface.h"

class Mirror;
class ParameterBinding;

// The decoder's routing matrix, run as a modal dialog: 8 outputs by 8 decoded
// inputs, each cell an on/off button, a level box and a level slider bound to
// its parameter. The title shows the decoding state, a selector sets the
// input layout, a button exports the matrix as C text to a file and to the
// clipboard. While it is open the owner sends it the link events; it asks
// for one row of cells every 100 ms so that the cells follow the device.
class RoutingPage : public QDialog, public MessageTarget {
public:
    static constexpr int kDesignWidth = 8 * 108 + 108;
    static constexpr int kDesignHeight = 8 * 55 + 100;
    static constexpr unsigned kLinkEvent = WindowMessage::User + 1;
    static constexpr unsigned kCellButton = 0x2A00;
    static constexpr unsigned kCellEdit = 0x2A01;
    static constexpr unsigned kCellSlider = 0x2A02;
    static constexpr unsigned kLayoutSelector = 0x2A03;
    static constexpr unsigned kExportButton = 0x2A04;
    static constexpr int kRefreshTimer = 1;

    RoutingPage(ParameterBinding& binding, Mirror& mirror, QWidget* parent);

    // Where the export is first offered; the settings folder by default.
    void setExportFolder(const QString& folder) { m_exportFolder = folder; }

    intptr_t onMessage(unsigned message, intptr_t wParam, intptr_t lParam) override;

    SkinButton& cellButton(int cell) { return m_buttons[static_cast<size_t>(cell)]; }
    ValueEdit& cellEdit(int cell) { return m_edits[static_cast<size_t>(cell)]; }
    IntegerSlider& cellSlider(int cell) { return m_sliders[static_cast<size_t>(cell)]; }
    SkinComboBox& layoutSelector() { return m_selector; }
    SkinButton& exportButton() { return m_export; }
    bool refreshing() const { return m_timer.running(kRefreshTimer); }

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
    void linkEvent(int code, int argument);
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
    WindowTimer m_timer{this};
    double m_sx = 1, m_sy = 1;
};
