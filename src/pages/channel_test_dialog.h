#pragma once

#include <QDialog>
#include <QTimer>
#include <array>

#include "binding/channel_test.h"
#include "controls/skin_button.h"
#include "controls/skin_label.h"
#include "resources/drawing_surface.h"

class Mirror;
class ParameterBinding;

// The speaker test, run as a modal dialog: a button per output channel
// placed around the listener, available as the layout in use allows, and all
// on, all off and the automatic run. Closing it silences every channel.
class ChannelTestDialog : public QDialog {
public:
    static constexpr int kDesignWidth = 640;
    static constexpr int kDesignHeight = 680;

    ChannelTestDialog(ParameterBinding& binding, const Mirror& mirror, QWidget* parent);

    SkinButton& button(int number) { return m_buttons[static_cast<size_t>(number)]; }
    SkinButton& closeButton() { return m_close; }
    const ChannelTest& test() const { return m_test; }
    bool stepping() const { return m_step.isActive() || m_silence.isActive(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void done(int result) override;

private:
    void createControls();
    void layout();
    void clicked(int number);
    void stepEnded();
    void silenceEnded();
    void showState();
    void stopTimers();

    ChannelTest m_test;
    DrawingSurface m_skin;
    std::array<SkinButton, ChannelTest::kButtons> m_buttons;
    SkinButton m_close;
    SkinLabel m_caption;
    QTimer m_step;
    QTimer m_silence;
};
