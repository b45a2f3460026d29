#include "app/screenshot_run.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "app/main_window.h"
#include "app/qt_link_ui.h"
#include "binding/page_number.h"
#include "pages/channel_test_dialog.h"
#include "pages/equaliser_page.h"
#include "pages/output_page.h"
#include "pages/routing_page.h"
#include "pages/wifi_dialog.h"
#include "texts/ui_texts.h"

namespace {

constexpr int kPollMs = 50;
constexpr int kGiveUpTicks = 60 * 1000 / kPollMs;
constexpr int kReadWaitTicks = 15 * 1000 / kPollMs;

// Front-pair fields and device values: a low-pass at 16 kHz and a few bands
// lifted or cut, so that the curve shows what the page draws.
constexpr int kFrontEdits[][2] = {{60, 16000}, {61, 25},  {21, 140}, {31, 460},
                                  {13, 2000},  {23, 200}, {33, 550}, {15, 4000},
                                  {25, 300},   {35, 440}, {36, 530}, {26, 150}};

// Microphone page (MIC A) and reverb page fields and device values: a
// compressor, a high-pass and a few bands; the reverb's times and levels.
constexpr int kMicEdits[][2] = {{73, 420},   {74, 150}, {75, 8},   {76, 40},  {78, 101}, {79, 26},
                                {80, 16000}, {47, 560}, {48, 440}, {51, 530}, {36, 200}, {82, 2}};
constexpr int kReverbEdits[][2] = {{45, 80},    {46, 560}, {54, 1920}, {55, 2500}, {41, 150},
                                   {42, 12000}, {31, 460}, {22, 200},  {33, 550}};

// Fields and device values, set and sent as the user's edits go.
template <size_t N>
void edit(MainWindow& window, int pageIndex, const int (&edits)[N][2]) {
    EqualiserPage& page = window.equaliserPage(pageIndex);
    for (const auto& e : edits) {
        page.setField(e[0], e[1]);
        window.binding().controlChanged(pageIndex, e[0]);
    }
}

}  // namespace

ScreenshotRun::ScreenshotRun(MainWindow& window, QtLinkUi& ui, const QString& folder)
    : m_window(window), m_ui(ui), m_folder(folder), m_timer(new QTimer(this)) {
    QDir().mkpath(folder);
    connect(m_timer, &QTimer::timeout, this, [this] { poll(); });
    m_timer->start(kPollMs);
}

bool ScreenshotRun::save(const QImage& image, const QString& name) {
    QString path = QDir(m_folder).filePath(name);
    bool ok = image.save(path);
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "saved" : "could not save",
                 qPrintable(path));
    return ok;
}

void ScreenshotRun::poll() {
    if (++m_ticks > kGiveUpTicks) {
        // What the window says when it finds nothing.
        save(m_window.grab().toImage(), QStringLiteral("qx7-no-device.png"));
        std::fprintf(stderr, "qx7: no connection to take pictures of\n");
        QCoreApplication::exit(1);
        return;
    }
    ProgressDialog* progress = m_ui.progressDialog();
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!m_progressShot && progress && progress->isVisible() && screen) {
        // Half way through the read, so that the bar and the figure show.
        if (progress->barWidth() > 200) {
            save(screen->grabWindow(0).toImage(), QStringLiteral("qx7-progress.png"));
            m_progressShot = true;
        }
        return;
    }
    bool connected =
        m_window.titleButton(3).text() == QString::fromUtf8(uitext::ConnectionState[0].get());
    if (!connected || (progress && progress->isVisible())) return;
    // The full read follows the connection after a pause; wait for it to end.
    if (!m_progressShot && ++m_waitedForRead < kReadWaitTicks) return;
    switch (m_step++) {
        case 0:
            editFrontPair();
            edit(m_window, pageNumber::Microphone, kMicEdits);
            edit(m_window, pageNumber::Reverb, kReverbEdits);
            break;  // one more round for the last paints
        case 1:
            save(m_window.grab().toImage(), QStringLiteral("qx7-1077x681.png"));
            save(m_window.page(0).grab().toImage(), QStringLiteral("qx7-front-pair-1x.png"));
            selectPage(pageNumber::Microphone);
            break;
        case 2:
            save(m_window.page(pageNumber::Microphone).grab().toImage(),
                 QStringLiteral("qx7-microphones-1x.png"));
            selectPage(pageNumber::Reverb);
            break;
        case 3:
            save(m_window.page(pageNumber::Reverb).grab().toImage(),
                 QStringLiteral("qx7-reverb-1x.png"));
            selectPage(pageNumber::System);
            break;
        case 4:
            save(m_window.page(pageNumber::System).grab().toImage(),
                 QStringLiteral("qx7-system-1x.png"));
            selectPage(pageNumber::Main);
            m_window.resize(2 * MainWindow::kDesignWidth, 2 * MainWindow::kDesignHeight);
            break;
        case 5:
            break;
        case 6:
            save(m_window.grab().toImage(), QStringLiteral("qx7-2154x1362.png"));
            save(m_window.page(0).grab().toImage(), QStringLiteral("qx7-front-pair-2x.png"));
            selectPage(pageNumber::Microphone);
            break;
        case 7:
            save(m_window.page(pageNumber::Microphone).grab().toImage(),
                 QStringLiteral("qx7-microphones-2x.png"));
            selectPage(pageNumber::Reverb);
            break;
        case 8:
            save(m_window.page(pageNumber::Reverb).grab().toImage(),
                 QStringLiteral("qx7-reverb-2x.png"));
            selectPage(pageNumber::System);
            break;
        case 9:
            save(m_window.page(pageNumber::System).grab().toImage(),
                 QStringLiteral("qx7-system-2x.png"));
            QMetaObject::invokeMethod(
                &m_window, [this] { m_window.openRouting(); }, Qt::QueuedConnection);
            break;
        default:
            dialogs(m_step - 11);
    }
}

// The modal dialogs, each at both sizes: the routing page, then the channel
// test in its automatic run; then the Wi-Fi settings once the module has
// answered (at twice the size in the scale-2 run). Their event loops keep
// this timer running.
void ScreenshotRun::dialogs(int step) {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog && step != 0 && step != 4 && step != 9) {
        std::fprintf(stderr, "qx7: the dialog closed before its pictures were taken\n");
        QCoreApplication::exit(1);
        return;
    }
    switch (step) {
        case 0:
            if (!dialog) --m_step;  // not open yet
            break;
        case 1:
            save(dialog->grab().toImage(), QStringLiteral("qx7-routing-1x.png"));
            dialog->resize(2 * RoutingPage::kDesignWidth, 2 * RoutingPage::kDesignHeight);
            break;
        case 3:
            save(dialog->grab().toImage(), QStringLiteral("qx7-routing-2x.png"));
            static_cast<QDialog*>(dialog)->reject();
            QMetaObject::invokeMethod(
                &m_window, [this] { m_window.openChannelTest(); }, Qt::QueuedConnection);
            break;
        case 4:
            if (!dialog) --m_step;
            break;
        case 5:
            emit static_cast<ChannelTestDialog*>(dialog)->button(ChannelTest::kAutomatic).clicked();
            break;
        case 6:
            save(dialog->grab().toImage(), QStringLiteral("qx7-channel-test-1x.png"));
            dialog->resize(2 * ChannelTestDialog::kDesignWidth,
                           2 * ChannelTestDialog::kDesignHeight);
            break;
        case 8:
            save(dialog->grab().toImage(), QStringLiteral("qx7-channel-test-2x.png"));
            static_cast<QDialog*>(dialog)->reject();
            QMetaObject::invokeMethod(
                &m_window, [this] { m_window.openWifiSettings(); }, Qt::QueuedConnection);
            break;
        case 9:
            if (!dialog) --m_step;
            break;
        case 10:
            if (!wifiDialogFilled(dialog)) --m_step;  // the module's replies still come
            break;
        case 11:
            save(dialog->grab().toImage(), QStringLiteral("qx7-wifi.png"));
            static_cast<QDialog*>(dialog)->reject();
            m_timer->stop();
            QCoreApplication::exit(0);
            break;
        default:
            break;  // a round for the paints
    }
}

bool ScreenshotRun::wifiDialogFilled(QWidget* dialog) {
    auto* wifi = dynamic_cast<WifiDialog*>(dialog);
    return wifi && !wifi->address().text().isEmpty() && !wifi->hotspotSsid().text().isEmpty() &&
           !wifi->routerSsid().text().isEmpty();
}

void ScreenshotRun::selectPage(int page) {
    m_window.selectPage(page);
}

// Through the page and the binding, as the user's edits go: the device gets them too.
void ScreenshotRun::editFrontPair() {
    OutputPage& page = m_window.outputPage(pageNumber::Main);
    for (const auto& edit : kFrontEdits) {
        page.setField(edit[0], edit[1]);
        m_window.binding().controlChanged(pageNumber::Main, edit[0]);
    }
}
