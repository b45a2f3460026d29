#include "pages/channel_test_dialog.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/qt/mouse.h"
#include "resources/skin_ids.h"
#include "resources/skin_layout.h"
#include "texts/channel_test_texts.h"
#include "texts/ui_texts.h"

namespace {

// Design places: the channel buttons where the speakers stand around the
// listener (the room's centre), the three mode buttons in the well below.
struct Place {
    double x, y;  // centre
};
constexpr Place kChannelPlaces[ChannelTest::kChannels] = {
    {140, 110}, {500, 110}, {92, 330}, {548, 330}, {320, 90}, {320, 150}, {160, 545}, {480, 545},
};
const char* const kChannelNames[ChannelTest::kChannels] = {"FL",  "FR", "SL", "SR",
                                                           "CEN", "SW", "BL", "BR"};
constexpr double kChannelWidth = 96, kChannelHeight = 30;
constexpr double kModeTop = 623, kModeWidth = 170, kModeHeight = 30;
constexpr double kModeLeft[3] = {45, 235, 425};
const QRectF kCloseButton(600, 7, 31, 22);
const QRectF kCaption(42, 0, 400, 36);
constexpr double kCaptionHeight = 36;

const QString kFace = QString::fromUtf8("微软雅黑");
constexpr QRgb kDarkText = 0xC8B4BAC3;
constexpr QRgb kDarkTextOn = 0xFF0B1E2A;
constexpr QRgb kLightText = 0xC8000000;
constexpr QRgb kLightTextOn = 0xC8FAFAFA;
constexpr unsigned kCentred = 0x25;
constexpr unsigned kLeftCentred = 0x24;

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

}  // namespace

ChannelTestDialog::ChannelTestDialog(ParameterBinding& binding, const Mirror& mirror,
                                     QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_test(binding, mirror) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setWindowTitle(text(uitext::TrackTest));
    createControls();
    resize(kDesignWidth, kDesignHeight);
    if (parent) move(parent->geometry().center() - rect().center());
    showState();
}

void ChannelTestDialog::createControls() {
    for (int b = 0; b < ChannelTest::kButtons; ++b) {
        SkinButton& button = m_buttons[static_cast<size_t>(b)];
        button.setParent(this);
        bool channel = b < ChannelTest::kChannels;
        // Made at the size of a frame, which tells the button how many its strip holds.
        button.create(
            QRect(QPoint(), channel ? SkinLayout::kDarkButtonFrame : SkinLayout::kWideButtonFrame));
        button.setImage(&m_skin, channel ? SkinId::DarkButton : SkinId::WideButton);
        connect(&button, &SkinButton::clicked, this, [this, b] { clicked(b); });
        button.setCheckType(1);
    }
    for (int b = 0; b < ChannelTest::kChannels; ++b)
        button(b).setText(QString::fromUtf8(kChannelNames[b]));
    button(ChannelTest::kAllOn).setText(text(channeltesttext::StartAll));
    button(ChannelTest::kAllOff).setText(text(channeltesttext::StopAll));
    button(ChannelTest::kAutomatic).setText(text(channeltesttext::OrderAll));
    m_close.setParent(this);
    m_close.create(QRect(QPoint(), SkinLayout::kTitleButtonFrame));
    m_close.setImage(&m_skin, SkinId::CloseButton);
    connect(&m_close, &SkinButton::clicked, this, &QDialog::reject);
    m_silence.setSingleShot(true);
    connect(&m_step, &QTimer::timeout, this, &ChannelTestDialog::stepEnded);
    connect(&m_silence, &QTimer::timeout, this, &ChannelTestDialog::silenceEnded);
    m_caption.setParent(this);
    m_caption.create(QRect());
    m_caption.setText(windowTitle());
}

void ChannelTestDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    layout();
}

void ChannelTestDialog::layout() {
    double sx = width() / double(kDesignWidth), sy = height() / double(kDesignHeight);
    double s = std::min(sx, sy);
    auto scaled = [&](double x, double y, double w, double h) {
        return QRect(int(x * sx), int(y * sy), int(w * sx), int(h * sy));
    };
    m_skin.release();
    m_skin.recreate(0, 0, std::max(width(), 1), std::max(height(), 1));
    DrawingSurface art(SkinId::ChannelTest);
    m_skin.stretchFrom(0, 0, width(), height(), art, 0, 0, kDesignWidth, kDesignHeight);
    for (int b = 0; b < ChannelTest::kChannels; ++b) {
        const Place& p = kChannelPlaces[b];
        button(b).setGeometry(scaled(p.x - kChannelWidth / 2, p.y - kChannelHeight / 2,
                                     kChannelWidth, kChannelHeight));
        button(b).setTextStyle(14 * s, kFace, kDarkText, kCentred, kDarkTextOn);
    }
    for (int m = 0; m < 3; ++m) {
        SkinButton& b = button(ChannelTest::kAllOn + m);
        b.setGeometry(scaled(kModeLeft[m], kModeTop, kModeWidth, kModeHeight));
        b.setTextStyle(14 * s, kFace, kLightText, kCentred, kLightTextOn);
    }
    m_close.setGeometry(scaled(kCloseButton.left(), kCloseButton.top(), kCloseButton.width(),
                               kCloseButton.height()));
    m_close.setTextStyle(12 * s, kFace, kDarkText, kCentred, kDarkTextOn);
    m_caption.setGeometry(
        scaled(kCaption.left(), kCaption.top(), kCaption.width(), kCaption.height()));
    m_caption.setBackground(&m_skin);
    m_caption.setTextStyle(15 * s, kFace, kDarkText, kLeftCentred);
    update();
}

void ChannelTestDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!m_skin.isEmpty()) p.drawImage(QPoint(0, 0), m_skin.image());
}

void ChannelTestDialog::mousePressEvent(QMouseEvent* event) {
    double sy = height() / double(kDesignHeight);
    if (event->button() == Qt::LeftButton && event->position().y() < kCaptionHeight * sy)
        Mouse::startWindowMove(this, event->globalPosition().toPoint());
}

// --- the test ---

void ChannelTestDialog::clicked(int number) {
    if (number < 0 || number >= ChannelTest::kButtons) return;
    bool pressed = button(number).checkType() == 2;
    m_test.button(number, pressed);
    if (number >= ChannelTest::kChannels) {
        stopTimers();
        if (m_test.automatic()) m_step.start(ChannelTest::kStepMs);
    }
    showState();
}

// Every 6 s the channels go silent, and 400 ms later the next one plays.
void ChannelTestDialog::stepEnded() {
    m_test.silence();
    m_silence.start(ChannelTest::kSilenceMs);
    showState();
}

void ChannelTestDialog::silenceEnded() {
    m_test.playStep();
    showState();
}

void ChannelTestDialog::showState() {
    int layout = m_test.layout();
    for (int b = 0; b < ChannelTest::kButtons; ++b) {
        SkinButton& button = m_buttons[static_cast<size_t>(b)];
        int type = m_test.pressed(b) ? 2 : 1;
        if (button.checkType() != type) button.setCheckType(type);
        button.setInputEnabled(ChannelTest::available(b, layout));
    }
}

void ChannelTestDialog::stopTimers() {
    m_step.stop();
    m_silence.stop();
}

void ChannelTestDialog::done(int result) {
    stopTimers();
    m_test.close();
    showState();
    QDialog::done(result);
}
