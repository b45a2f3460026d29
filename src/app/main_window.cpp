#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPainter>
#include <thread>

#include "app/graph_menu.h"
#include "app/language_choice.h"
#include "app/qt_link_ui.h"
#include "app/undo_control.h"
#include "app/window_caption.h"
#include "app/window_dialogs.h"
#include "app/window_shortcuts.h"
#include "link/link.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "link/preset_jobs.h"
#include "link/transport_type.h"
#include "pages/main_header.h"
#include "pages/system_page.h"
#include "platform/instance_lock.h"
#include "platform/qt/message_box.h"
#include "remote/remote_session.h"
#include "resources/skin_art.h"
#include "resources/skin_ids.h"
#include "texts/language.h"
#include "texts/ui_texts.h"

namespace {

constexpr double kPageTop = 109;
constexpr double kCaptionHeight = 26;
constexpr double kHeaderControlsTop = 56;  // the state panel covers from here down
constexpr int kProgressPollMs = 200;

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

SystemPage::Jobs jobsThrough(RemoteSession& r) {
    return {[&r](const std::string& name) { r.requestSaveToFile(name); },
            [&r](const std::string& name) { r.requestSendFile(name); },
            [&r](int n) { return r.requestRecall(n); },
            [&r](int n) { return r.requestReadName(n); },
            [&r](int n, const std::string& name) { return r.requestSaveName(n, name); }};
}

}  // namespace

MainWindow::MainWindow(Link& link, QtLinkUi& ui)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      m_link(link),
      m_ui(ui),
      m_titleButtons(new TitleButtons(*this)),
      m_pages(new PageStack(*this)),
      m_binding(link.mirror()),
      m_statePanel(new DeviceStatePanel(this)),
      m_dialogs(*this, link, m_binding, ui) {
    // Nothing reaches the device before its values are read.
    m_binding.setWritable(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    m_header = std::make_unique<MainHeader>(this, m_binding, link.state());
    m_binding.attach(BindingTable::kHeader, m_header.get());
    m_undo = std::make_unique<UndoControl>(*this, m_binding, link.mirror());
    // Before the supervisor starts, which calls into the jobs.
    m_presetJobs = std::make_unique<PresetJobs>(link);
    m_exit = [](int code) { QCoreApplication::exit(code); };
    m_progressPoll.setInterval(kProgressPollMs);
    connect(&m_progressPoll, &QTimer::timeout, this, [this] { showProgress(); });
    using B = TitleButtons;
    connect(&titleButton(B::Minimise), &SkinButton::clicked, this, &QWidget::showMinimized);
    connect(&titleButton(B::Maximise), &SkinButton::clicked, this,
            [this] { isMaximized() ? showNormal() : showMaximized(); });
    connect(&titleButton(B::Close), &SkinButton::clicked, this, &QWidget::close);
    connect(&titleButton(B::Status), &SkinButton::clicked, this, &MainWindow::toggleSuspend);
    connect(&titleButton(B::TrackTest), &SkinButton::clicked, this, [this] { openChannelTest(); });
    createActions();
}

MainWindow::~MainWindow() {
    // The link's threads must not wait for a window that is going away.
    m_ui.close();
    m_link.supervisor().stop();
    // The pages go before what they were wired to.
    m_graphMenu.reset();
    m_undo.reset();
    delete m_pages;
}

bool MainWindow::start() {
    QImage icon = SkinArt::image(SkinId::ProgramIcon);
    if (!icon.isNull()) setWindowIcon(QIcon(QPixmap::fromImage(icon)));

    Language::set(LanguageChoice::fromSettingsAndSystem());
    if (!enforceSingleInstance()) return false;

    setWindowTitle(QStringLiteral("QX7"));
    m_background.setPixelRatio(devicePixelRatioF());
    m_background.loadSkin(SkinId::MainWindow);
    createPages();
    m_statePanel->setTransportType(m_link.supervisor().initialTransportType());
    if (m_link.transportFor(TransportType::UsbHid))
        m_statePanel->setUseUsbHandler([this] { switchToUsb(); });
    setDeviceState(DeviceStatePanel::State::Searching);
    setGeometry(0, 0, kDesignWidth, kDesignHeight);
    // Smaller, the skin's texts and controls would no longer fit their places.
    setMinimumSize(kDesignWidth, kDesignHeight);
    layout();

    m_ui.attach(this, [this](int code, int argument) { linkEvent(code, argument); });
    m_link.supervisor().start();

    QTimer::singleShot(0, this, [this] {
        refreshLanguage();
        selectPage(0);
    });
    return true;
}

// A second copy tells the user and ends; when the lock cannot be made at all
// the program starts anyway.
bool MainWindow::enforceSingleInstance() {
    m_instance = std::make_unique<InstanceLock>(kInstanceName);
    if (m_instance->state() != InstanceLock::State::AlreadyRunning) return true;
    MessageBox::show(nullptr, {text(uitext::ProgramRunning), QStringLiteral("QX7"),
                               Language::index(), MessageBox::Buttons::Ok});
    m_exitCode = 0;
    return false;
}

SkinLabel& MainWindow::titleLabel() {
    return m_header->titleLabel();
}

void MainWindow::createPages() {
    m_pages->createPages(
        m_binding, m_link, m_remote ? jobsThrough(*m_remote) : SystemPage::jobsOf(*m_presetJobs),
        [this](int p, int field) { controlChanged(p, field); },
        [this](int i) {
            QMetaObject::invokeMethod(
                this, [this, i] { linkEvent(LinkEvent::ParameterReceived, i); },
                Qt::QueuedConnection);
        });
    SystemPage& system = systemPage();
    // After the slider's own writes, as the maximum's change is done.
    connect(
        &system, &SystemPage::volumeLimitChanged, this, [this] { m_header->clampToLimits(); },
        Qt::QueuedConnection);
    connect(&system, &SystemPage::languageChanged, this, &MainWindow::refreshLanguage);
    connect(&system, &SystemPage::routingAsked, this, &MainWindow::openRouting);
    m_graphMenu = std::make_unique<GraphMenu>(*this, m_binding, m_link.mirror());
    m_graphMenu->addPages(*m_pages);
}

void MainWindow::createActions() {
    m_shortcuts = new WindowShortcuts(
        *this, {[this] {
                    if (deviceLive()) openRouting();
                },
                [this] { openWifiSettings(); }, [this] { openFirmwareUpgrade(); }});
    m_shortcuts->upgradeAction()->setEnabled(false);
    m_caption = new WindowCaption(*this, *m_undo);
    m_caption->setAboutHandler([this] { m_dialogs.showAbout(); });
    // The Wi-Fi dialog's button on the system page stays hidden.
    m_caption->setMenuActions({m_shortcuts->wifiAction(), m_shortcuts->upgradeAction()});
}

void MainWindow::resizeEvent(QResizeEvent*) {
    layout();
}

void MainWindow::layout() {
    if (!m_background.selected() || !m_pages->complete()) return;
    double sx = width() / static_cast<double>(kDesignWidth);
    double sy = height() / static_cast<double>(kDesignHeight);
    double s = std::min(sx, sy);
    // Smaller than half the design size: keep the last layout until it grows.
    if (s < 0.5) return;
    m_sx = sx;
    m_sy = sy;
    m_s = s;

    m_background.setPixelRatio(devicePixelRatioF());
    DrawingSurface skin(SkinId::MainWindow);
    m_background.stretchFrom(0, 0, width(), height(), skin, 0, 0, kDesignWidth, kDesignHeight);

    bool create = !m_laidOut;
    m_titleButtons->place(&m_background, sx, sy, create);
    m_pages->placeButtons(&m_background, sx, sy, create);
    m_header->layout(&m_background, sx, sy, create);
    QRect pageArea(0, static_cast<int>(kPageTop * sy), static_cast<int>(kDesignWidth * sx),
                   static_cast<int>(kDesignHeight * sy) - static_cast<int>(kPageTop * sy));
    m_pages->placePages(&m_background, pageArea, create);
    m_caption->setHeight(kCaptionHeight * sy);

    int panelTop = static_cast<int>(kHeaderControlsTop * sy);
    m_statePanel->setGeometry(0, panelTop, width(), height() - panelTop);
    m_statePanel->raise();  // above the pages, which are made after it
    m_laidOut = true;
    showStatus();
    update();
}

void MainWindow::paintEvent(QPaintEvent*) {
    if (!m_background.selected()) return;
    DrawingSurface frame(QRect(0, 0, width(), height()), devicePixelRatioF());
    frame.copyFrom(0, 0, width(), height(), m_background, 0, 0);
    m_titleButtons->drawTo(frame);
    QPainter p(this);
    if (m_painted) {
        QRect pageArea(QPoint(0, static_cast<int>(kPageTop * m_sy)),
                       QPoint(static_cast<int>(kDesignWidth * m_sx) - 1,
                              static_cast<int>(kDesignHeight * m_sy) - 1));
        p.setClipRegion(QRegion(rect()).subtracted(pageArea));
    }
    p.drawImage(0, 0, frame.image());
    m_painted = true;
}

void MainWindow::refreshLanguage() {
    showStatus();
    m_statePanel->refresh();
    m_pages->refreshTexts();
    m_titleButtons->refreshTexts();
    m_header->languageRefresh();
    std::array<QString, pageNumber::Outputs> names;
    for (int i = 0; i < pageNumber::Outputs; ++i)
        names[static_cast<size_t>(i)] = navigationButton(i).text();
    m_graphMenu->languageRefresh(names);
    m_undo->languageRefresh();
    m_shortcuts->refreshTexts();
}

void MainWindow::linkEvent(int code, int argument) {
    m_undo->linkEvent(code, argument);
    switch (code) {
        case LinkEvent::ParameterReceived:
            m_binding.indexRefresh(argument);
            break;
        case LinkEvent::ReadComplete:
            m_header->clampToLimits();
            if (!m_suspended) setDeviceState(DeviceStatePanel::State::Live);
            break;
        case LinkEvent::ConnectionState:
            connectionState(argument);
            break;
        case LinkEvent::PendingDropped:
            m_dialogs.tellPendingDropped(argument);
            break;
        case LinkEvent::DaemonReach:
            m_statePanel->setDaemonReach(argument, m_remote ? m_remote->where() : std::string());
            if (!m_suspended)
                setDeviceState(argument == RemoteSession::NotReached
                                   ? DeviceStatePanel::State::NoDevice
                                   : DeviceStatePanel::State::Searching);
            break;
        case LinkEvent::ClientList:
            m_dialogs.chooseClient();
            break;
        case LinkEvent::RelayStatus:
            m_dialogs.relayStatus(argument);
            break;
        default:
            // The other codes are for other windows or transports.
            break;
    }
}

// While suspended the link may connect and read, but the window stays closed
// until the user resumes, which starts a new connection.
void MainWindow::connectionState(int argument) {
    m_header->setTitle(windowTitle());
    if (m_suspended) return;
    if (argument == LinkEvent::Connection::Connected)
        setDeviceState(DeviceStatePanel::State::Reading);
    else
        setDeviceState(DeviceStatePanel::State::Searching);
}

void MainWindow::setDeviceState(DeviceStatePanel::State state) {
    m_statePanel->setState(state);
    bool live = deviceLive();
    m_binding.setWritable(live);
    m_pages->setInputEnabled(live);
    m_header->setInputEnabled(live);
    titleButton(TitleButtons::TrackTest).setInputEnabled(live);
    if (state == DeviceStatePanel::State::Reading) {
        m_progressPoll.start();
        showProgress();
    } else {
        m_progressPoll.stop();
    }
    showStatus();
}

void MainWindow::showStatus() {
    if (m_laidOut) m_titleButtons->showState(m_statePanel->state());  // made by the first layout
}

void MainWindow::showProgress() {
    ProgressDialog* progress = m_ui.progressDialog();
    if (progress && progress->active() && progress->showsProgress())
        m_statePanel->setProgressText(progress->text());
}

void MainWindow::switchToUsb() {
    if (!m_link.supervisor().requestTransport(TransportType::UsbHid)) return;
    m_statePanel->setTransportType(TransportType::UsbHid);
    m_statePanel->restartSearch();
}

void MainWindow::toggleSuspend() {
    m_suspended = m_header->toggleSuspend();
    if (!m_suspended) m_statePanel->restartSearch();
    setDeviceState(m_suspended ? DeviceStatePanel::State::Suspended
                               : DeviceStatePanel::State::Searching);
}

void MainWindow::controlChanged(int page, int field) {
    if (m_binding.controlChanged(page, field) != ParameterBinding::Outcome::NothingToPaste) return;
    m_dialogs.tell(text(uitext::NothingCopied), QString());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_dialogs.askToExit()) shutdown();
}

void MainWindow::shutdown() {
    hide();
    m_ui.close();
    m_link.supervisor().stop();
    m_background.release();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    m_exit(0);
}

void MainWindow::openRouting() {
    m_dialogs.openRouting([this](int code, int argument) { linkEvent(code, argument); });
    // The page took the link's events: a link lost meanwhile closes the window here.
    if (!m_link.state().alive() && deviceLive()) setDeviceState(DeviceStatePanel::State::Searching);
}

void MainWindow::clearUndoHistory(const TextTriple& reason) {
    m_undo->clear(reason);
}

void MainWindow::setFirmwareUpgrade(FirmwareUpgrade* upgrade) {
    m_dialogs.setFirmwareUpgrade(upgrade);
    m_shortcuts->upgradeAction()->setEnabled(upgrade != nullptr);
}
