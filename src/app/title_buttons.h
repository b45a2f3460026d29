#pragma once

#include <QObject>
#include <array>

#include "app/device_state_panel.h"
#include "controls/skin_button.h"

class DrawingSurface;

// The buttons on the main window's caption band and header: minimise,
// maximise, close, the connection status (which also suspends and resumes
// the link) and the channel test.
class TitleButtons : public QObject {
public:
    enum Button { Minimise, Maximise, Close, Status, TrackTest, Count };

    explicit TitleButtons(QWidget& window);

    SkinButton& button(int i) { return m_buttons[static_cast<size_t>(i)]; }
    // The first placing creates the buttons.
    void place(DrawingSurface* background, double sx, double sy, bool create);
    // The status button's text and colour for the state; green only while live.
    void showState(DeviceStatePanel::State state);
    void refreshTexts();
    void drawTo(DrawingSurface& frame);

private:
    std::array<SkinButton, Count> m_buttons;
    double m_s = 1.0;
};
