#pragma once

#include <QDialog>
#include <array>

#include "binding/channel_test.h"
#include "controls/skin_button.h"
#include "controls/skin_label.h"
#include "platform/qt/message_target.h"
#include "platform/qt/window_timer.h"
#include "resources/drawing_surface.h"

class Mirror;
class ParameterBinding;

// The speaker test, run as a modal dialog: a button per output channel
// placed around the listener, available as the layout in use allows, and all
// on, all off and the automatic run. Closing it silences every channel.
class ChannelTestDialog : public QDialog, public MessageTarget {
public:
    static constexpr int kDesignWidth = 640;
    static constexpr int kDesignHeight = 680;
    static constexpr unsigned kButtonMessage = 0x2B00;
    static constexpr unsigned kCloseMessage = 0x2B01;
    static constexpr int kStepTimer = 1;
    static constexpr int kSilenceTimer = 2;

    ChannelTestDialog(ParameterBinding& binding, const Mirror& mirror, QWidget* parent);

    intptr_t onMessage(unsigned message, intptr_t wParam, intptr_t lParam) override;

    SkinButton& button(int number) { return m_buttons[static_cast<size_t>(number)]; }
    SkinButton& closeButton() { return m_close; }
    const ChannelTest& test() const { return m_test; }
    bool stepping() const { return m_timer.running(kStepTimer) || m_timer.running(kSilenceTimer); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void done(int result) override;

private:
    void createControls();
    void layout();
    void clicked(int number);
    void timer(int id);
    void showState();
    void stopTimers();

    ChannelTest m_test;
    DrawingSurface m_skin;
    std::array<SkinButton, ChannelTest::kButtons> m_buttons;
    SkinButton m_close;
    SkinLabel m_caption;
    WindowTimer m_timer{this};
};
