#include "app/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <thread>

#include "app/about_text.h"
#include "app/firmware_upgrade_dialog.h"
#include "app/graph_menu.h"
#include "app/language_choice.h"
#include "app/page_slot.h"
#include "app/qt_link_ui.h"
#include "app/undo_control.h"
#include "binding/page_number.h"
#include "binding/parameter_index.h"
#include "link/link.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "link/preset_jobs.h"
#include "link/transport_type.h"
#include "pages/channel_test_dialog.h"
#include "pages/client_list_dialog.h"
#include "pages/device_id_dialog.h"
#include "pages/effect_page.h"
#include "pages/input_page.h"
#include "pages/main_header.h"
#include "pages/output_page.h"
#include "pages/routing_page.h"
#include "pages/system_page.h"
#include "pages/wifi_dialog.h"
#include "platform/instance_lock.h"
#include "platform/qt/message_box.h"
#include "platform/qt/mouse.h"
#include "resources/skin_art.h"
#include "resources/skin_ids.h"
#include "texts/device_state_texts.h"
#include "texts/language.h"
#include "texts/ui_texts.h"
#include "texts/upgrade_texts.h"

namespace {

// Page index -> navigation text.
const TextTriple* const kNavigationTexts[pageNumber::Count] = {
    &uitext::PageMain,     &uitext::PageCenter, &uitext::PageSub, &uitext::PageBackSurround,
    &uitext::PageSurround, &uitext::PageMusic,  &uitext::PageMic, &uitext::PageEcho,
    &uitext::PageReverb,   &uitext::PageSystem};

// The order in which the pages are created.
constexpr int kCreationOrder[pageNumber::Count] = {
    pageNumber::Main,      pageNumber::Surround, pageNumber::BackSurround, pageNumber::Centre,
    pageNumber::Subwoofer, pageNumber::Music,    pageNumber::Microphone,   pageNumber::Echo,
    pageNumber::Reverb,    pageNumber::System};

struct TitleButtonPlace {
    int png;
    double left, top, width, height;  // left and width scale with sx, top with sy, height with s
};
const TitleButtonPlace kTitleButtonPlaces[MainWindow::kTitleButtons] = {
    {SkinId::MinimiseButton, 967, 0, 31, 22}, {SkinId::MaximiseButton, 998, 0, 31, 22},
    {SkinId::CloseButton, 1029, 0, 31, 22},   {SkinId::StatusButton, 994, 30, 79, 23},
    {SkinId::Button, 942, 84, 77, 18},
};
constexpr int kStatusButton = 3;
constexpr int kTrackTestButton = 4;
constexpr int kLastRefreshItem = 67;
constexpr double kPageTop = 109;
constexpr double kCaptionHeight = 26;
constexpr double kHeaderControlsTop = 56;  // the state panel covers from here down
constexpr int kProgressPollMs = 200;

const QString kFace = QString::fromUtf8("微软雅黑");
constexpr QRgb kTextColour = 0xC8000000;
constexpr QRgb kTextOnColour = 0xC8FAFAFA;
constexpr QRgb kSuspendedColour = 0xFF9A0000;  // dark red on the amber face
constexpr unsigned kCentred = 0x25;

QString text(const TextTriple& t) {
    return QString::fromUtf8(t.get());
}

bool isEqualiserPage(int i) {
    return i >= pageNumber::FirstEqualiser && i <= pageNumber::LastEqualiser;
}

}  // namespace

MainWindow::MainWindow(Link& link, QtLinkUi& ui)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      m_link(link),
      m_ui(ui),
      m_binding(link.mirror()),
      m_statePanel(new DeviceStatePanel(this)) {
    // Nothing reaches the device before its values are read.
    m_binding.setWritable(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    for (auto& b : m_titleButtons) b.setParent(this);
    for (auto& b : m_navigationButtons) b.setParent(this);
    m_header = std::make_unique<MainHeader>(this, m_binding, link.state());
    m_binding.attach(BindingTable::kHeader, m_header.get());
    m_undo = std::make_unique<UndoControl>(*this, m_binding, link.mirror());
    // Before the supervisor starts, which calls into the jobs.
    m_presetJobs = std::make_unique<PresetJobs>(link);
    m_exit = [](int code) { QCoreApplication::exit(code); };
    m_progressPoll.setInterval(kProgressPollMs);
    connect(&m_progressPoll, &QTimer::timeout, this, [this] { showProgress(); });
}

MainWindow::~MainWindow() {
    // The link's threads must not wait for a window that is going away.
    m_ui.close();
    m_link.supervisor().stop();
    m_undo.reset();
}

bool MainWindow::OnInitDialog() {
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
                               Language::windowsId(), MessageBox::Buttons::Ok});
    m_exitCode = 0;
    return false;
}

OutputPage& MainWindow::outputPage(int i) {
    return static_cast<OutputPage&>(page(i));
}

EqualiserPage& MainWindow::equaliserPage(int i) {
    return static_cast<EqualiserPage&>(page(i));
}

SystemPage& MainWindow::systemPage() {
    return static_cast<SystemPage&>(page(pageNumber::System));
}

SkinLabel& MainWindow::titleLabel() {
    return m_header->titleLabel();
}

void MainWindow::createPages() {
    for (int index : kCreationOrder) {
        std::unique_ptr<QWidget> page;
        if (index < pageNumber::Outputs) {
            auto output = std::make_unique<OutputPage>(index, this);
            output->setChangeHandler([this](int p, int field) { controlChanged(p, field); });
            m_binding.attach(index, output.get());
            page = std::move(output);
        } else if (isEqualiserPage(index)) {
            page = createEqualiserPage(index);
        } else if (index == pageNumber::System) {
            auto system = std::make_unique<SystemPage>(m_binding, m_link.state(), m_link.device(),
                                                       SystemPage::jobsOf(*m_presetJobs), this);
            m_binding.attach(index, system.get());
            // After the slider's own writes, as the maximum's change is done.
            connect(
                system.get(), &SystemPage::volumeLimitChanged, this,
                [this] { m_header->clampToLimits(); }, Qt::QueuedConnection);
            connect(system.get(), &SystemPage::languageChanged, this, &MainWindow::refreshLanguage);
            connect(system.get(), &SystemPage::routingAsked, this, &MainWindow::openRouting);
            page = std::move(system);
        } else {
            page = std::make_unique<PageSlot>(index, &m_background, this);
        }
        page->hide();
        m_pages[static_cast<size_t>(index)] = std::move(page);
    }
    m_graphMenu = std::make_unique<GraphMenu>(*this, m_binding, m_link.mirror());
    for (int i = 0; i < pageNumber::Outputs; ++i) m_graphMenu->addOutputPage(outputPage(i));
    for (int i = pageNumber::FirstEqualiser; i <= pageNumber::LastEqualiser; ++i)
        m_graphMenu->addEqualiserPage(equaliserPage(i));
    m_graphMenu->setMicrophoneChoice(
        &static_cast<InputPage&>(equaliserPage(pageNumber::Microphone)));
}

// The microphone page also tells the binding which microphone it edits, and
// reads the mirror itself when the user switches microphone.
std::unique_ptr<QWidget> MainWindow::createEqualiserPage(int index) {
    std::unique_ptr<EqualiserPage> page;
    if (index == pageNumber::Microphone) {
        auto mic = std::make_unique<InputPage>(index, this);
        mic->setMirror(&m_link.mirror());
        mic->setIndexRefreshHandler([this](int i) {
            QMetaObject::invokeMethod(
                this, [this, i] { linkEvent(LinkEvent::ParameterReceived, i); },
                Qt::QueuedConnection);
        });
        m_binding.setMicrophoneChoice(mic.get());
        page = std::move(mic);
    } else if (index == pageNumber::Music) {
        page = std::make_unique<InputPage>(index, this);
    } else {
        page = std::make_unique<EffectPage>(index, this);
    }
    page->setChangeHandler([this](int p, int field) { controlChanged(p, field); });
    m_binding.attach(index, page.get());
    return page;
}

void MainWindow::resizeEvent(QResizeEvent*) {
    layout();
}

void MainWindow::layout() {
    if (!m_background.selected() || !m_pages[0]) return;
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
    placeTitleButtons(create);
    placeNavigationButtons(create);
    m_header->layout(&m_background, sx, sy, create);

    QRect pageArea(0, static_cast<int>(kPageTop * sy), static_cast<int>(kDesignWidth * sx),
                   static_cast<int>(kDesignHeight * sy) - static_cast<int>(kPageTop * sy));
    for (int i = 0; i < pageNumber::Count; ++i) {
        QWidget& p = page(i);
        p.setGeometry(pageArea);
        // The first layout gives the output pages the skin, which creates their controls.
        if (create && i < pageNumber::Outputs) outputPage(i).setBackgroundSource(&m_background);
        if (create && isEqualiserPage(i)) equaliserPage(i).setBackgroundSource(&m_background);
        if (create && i == pageNumber::System) systemPage().setBackgroundSource(&m_background);
        p.update();
    }
    int panelTop = static_cast<int>(kHeaderControlsTop * sy);
    m_statePanel->setGeometry(0, panelTop, width(), height() - panelTop);
    m_statePanel->raise();  // above the pages, which are made after it
    m_laidOut = true;
    showStatus();
    update();
}

void MainWindow::placeTitleButtons(bool create) {
    for (int i = 0; i < kTitleButtons; ++i) {
        const TitleButtonPlace& place = kTitleButtonPlaces[i];
        QRect r(static_cast<int>(place.left * m_sx), static_cast<int>(place.top * m_sy),
                static_cast<int>(place.width * m_sx), static_cast<int>(place.height * m_s + 0.5));
        SkinButton& b = titleButton(i);
        if (create) {
            b.create(r);
            b.SetImage(&m_background, place.png);
            connect(&b, &SkinButton::clicked, this, [this, i] { titleButtonClicked(i); });
        } else {
            b.setGeometry(r);
        }
        // Also recaptures the background the button sits on.
        b.SetTextStyle(12 * m_s, kFace, kTextColour, kCentred, kTextOnColour);
    }
}

void MainWindow::placeNavigationButtons(bool create) {
    for (int i = 0; i < pageNumber::Count; ++i) {
        QRect r(
            QPoint(static_cast<int>((14 + 86 * i) * m_sx), static_cast<int>(29 * m_sy)),
            QPoint(static_cast<int>((85 + 86 * i) * m_sx) - 1, static_cast<int>(50 * m_sy) - 1));
        SkinButton& b = navigationButton(i);
        if (create) {
            b.create(r);
            connect(&b, &SkinButton::clicked, this, [this, i] { selectPage(i); });
            b.SetImage(&m_background, SkinId::NavigationButton);
            b.SetCheckType(1);
        } else {
            b.setGeometry(r);
        }
        b.SetTextStyle(12 * m_s, kFace, kTextColour, kCentred, kTextOnColour);
    }
}

void MainWindow::paintEvent(QPaintEvent*) {
    if (!m_background.selected()) return;
    DrawingSurface frame(QRect(0, 0, width(), height()), devicePixelRatioF());
    frame.copyFrom(0, 0, width(), height(), m_background, 0, 0);
    for (auto& b : m_titleButtons) b.DrawToSurface(frame, 0);
    QPainter p(this);
    if (m_firstPaint) {
        QRect pageArea(QPoint(0, static_cast<int>(kPageTop * m_sy)),
                       QPoint(static_cast<int>(kDesignWidth * m_sx) - 1,
                              static_cast<int>(kDesignHeight * m_sy) - 1));
        p.setClipRegion(QRegion(rect()).subtracted(pageArea));
    }
    p.drawImage(0, 0, frame.image());
    m_firstPaint = 1;
}

void MainWindow::refreshLanguage() {
    showStatus();
    m_statePanel->refresh();
    for (int i = 0; i < pageNumber::Count; ++i) {
        navigationButton(i).SetText(text(*kNavigationTexts[i]));
        if (isEqualiserPage(i))
            equaliserPage(i).refreshTexts();
        else if (i == pageNumber::System)
            systemPage().refreshTexts();
        else if (auto* slot = dynamic_cast<PageSlot*>(&page(i)))
            slot->setTitle(text(*kNavigationTexts[i]));
        else
            for (int item = 0; item <= kLastRefreshItem; ++item) outputPage(i).refreshItem(item);
    }
    titleButton(kTrackTestButton).SetText(text(uitext::TrackTest));
    m_header->languageRefresh();
    std::array<QString, pageNumber::Outputs> names;
    for (int i = 0; i < pageNumber::Outputs; ++i)
        names[static_cast<size_t>(i)] = text(*kNavigationTexts[i]);
    m_graphMenu->languageRefresh(names);
    m_undo->languageRefresh();
}

void MainWindow::selectPage(int selected) {
    for (int i = 0; i < pageNumber::Count; ++i) {
        if (i == selected) {
            navigationButton(i).SetCheckType(2);
            page(i).show();
            page(i).setEnabled(deviceLive());
        } else {
            page(i).hide();
            navigationButton(i).SetCheckType(1);
        }
    }
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
            pendingDropped(argument);
            break;
        case LinkEvent::ClientList:
            chooseClient();
            break;
        case LinkEvent::RelayStatus:
            if (argument != 0) {
                chooseDeviceId();
                break;
            }
            // "No device" is said once in the program's life.
            if (!m_noDeviceShown) {
                m_noDeviceShown = true;
                m_link.message(std::string("No device found!"));
            }
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
    for (int i = 0; i < pageNumber::Count; ++i)
        if (m_pages[static_cast<size_t>(i)]) page(i).setEnabled(live);
    m_header->setInputEnabled(live);
    titleButton(kTrackTestButton).SetEnabled(live);
    if (state == DeviceStatePanel::State::Reading)
        m_progressPoll.start();
    else
        m_progressPoll.stop();
    showStatus();
}

// Green only while live and read; suspended has a colour of its own.
void MainWindow::showStatus() {
    using State = DeviceStatePanel::State;
    if (!m_laidOut) return;  // the buttons are made by the first layout
    SkinButton& status = titleButton(kStatusButton);
    State state = m_statePanel->state();
    QRgb colour = state == State::Suspended ? kSuspendedColour : kTextColour;
    status.SetTextStyle(12 * m_s, kFace, colour, kCentred,
                        state == State::Suspended ? kSuspendedColour : kTextOnColour);
    status.SetCheckType(state == State::Live ? 2 : 1);
    switch (state) {
        case State::Live:
            status.SetText(text(uitext::ConnectionState[0]));
            break;
        case State::Reading:
            status.SetText(text(devicetext::ReadingStatus));
            break;
        case State::Suspended:
            status.SetText(text(uitext::ConnectionState[2]));
            break;
        default:
            status.SetText(text(uitext::ConnectionState[1]));
            break;
    }
}

void MainWindow::showProgress() {
    ProgressDialog* progress = m_ui.progressDialog();
    if (progress && progress->active()) m_statePanel->setProgressText(progress->text());
}

void MainWindow::switchToUsb() {
    if (!m_link.supervisor().requestTransport(TransportType::UsbHid)) return;
    m_statePanel->setTransportType(TransportType::UsbHid);
    m_statePanel->restartSearch();
}

void MainWindow::pendingDropped(int count) {
    QString message = QString::fromStdString(formatText(devicetext::PendingDropped.get(), count));
    QTimer::singleShot(0, this, [this, message] {
        MessageBox::show(
            this, {message, text(uitext::Tip), Language::windowsId(), MessageBox::Buttons::Ok});
    });
}

void MainWindow::titleButtonClicked(int button) {
    switch (button) {
        case 0:
            showMinimized();
            break;
        case 1:
            if (isMaximized())
                showNormal();
            else
                showMaximized();
            break;
        case 2:
            QTimer::singleShot(0, this, [this] { close(); });
            break;
        case kStatusButton:
            m_suspended = m_header->toggleSuspend();
            if (!m_suspended) m_statePanel->restartSearch();
            setDeviceState(m_suspended ? DeviceStatePanel::State::Suspended
                                       : DeviceStatePanel::State::Searching);
            break;
        case kTrackTestButton:
            openChannelTest();
            break;
        default:
            break;
    }
}

void MainWindow::controlChanged(int page, int field) {
    if (m_binding.controlChanged(page, field) != ParameterBinding::Outcome::NothingToPaste) return;
    MessageBox::show(this, {text(uitext::NothingCopied), QString(), Language::windowsId(),
                            MessageBox::Buttons::Ok});
}

void MainWindow::showAbout() {
    QString body = AboutText::text(m_link.mirror().value(parameterIndex::DecodedLayout),
                                   m_link.device().version.load());
    m_link.message(body.toStdString(), AboutText::caption().toStdString());
}

void MainWindow::captionPress(const QPoint& pos, const QPoint& globalPos) {
    if (pos.y() < kCaptionHeight * m_sy && !isMaximized()) Mouse::startWindowMove(this, globalPos);
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        captionPress(event->position().toPoint(), event->globalPosition().toPoint());
}

void MainWindow::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    QPoint pos = event->position().toPoint();
    if (pos.x() <= 9 && pos.y() <= 9)
        showAbout();
    else
        captionPress(pos, event->globalPosition().toPoint());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    auto answer = MessageBox::show(this, {text(uitext::ExitQuestion), text(uitext::Tip),
                                          Language::windowsId(), MessageBox::Buttons::YesNo});
    if (answer != MessageBox::Answer::Yes) return;
    shutdown();
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
    RoutingPage page(m_binding, m_link.mirror(), this);
    page.setEventPasser([this](int code, int argument) { linkEvent(code, argument); });
    m_ui.setEventTarget(&page, [&page](int code, int argument) { page.linkEvent(code, argument); });
    page.exec();
    m_ui.setEventTarget(nullptr);
    // The page took the link's events: a link lost meanwhile closes the window here.
    if (!m_link.state().alive() && deviceLive()) setDeviceState(DeviceStatePanel::State::Searching);
}

// The test's own writes (and its silencing at the end) are no edits to undo.
void MainWindow::openChannelTest() {
    m_binding.setRecording(false);
    {
        ChannelTestDialog dialog(m_binding, m_link.mirror(), this);
        dialog.exec();
    }
    m_binding.setRecording(true);
}

void MainWindow::clearUndoHistory(const TextTriple& reason) {
    m_undo->clear(reason);
}

// Escape asks the exit question, as the caption's close button does: a stray
// key must not end the user's session. Ctrl+R opens the routing page, as the
// system page's "Route" does, once the device's values are known.
void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (!cancelTyping()) close();
        return;
    }
    if (event->key() == Qt::Key_U && event->modifiers() == Qt::ControlModifier) {
        openFirmwareUpgrade();
        return;
    }
    if (event->key() == Qt::Key_R && event->modifiers() == Qt::ControlModifier) {
        if (deviceLive()) openRouting();
        return;
    }
    if (event->key() == Qt::Key_W && event->modifiers() == Qt::ControlModifier) {
        openWifiSettings();
        return;
    }
    QWidget::keyPressEvent(event);
}

// Escape in a field that was typed in takes the typing back.
bool MainWindow::cancelTyping() {
    auto* edit = qobject_cast<QLineEdit*>(focusWidget());
    if (!edit || !edit->isUndoAvailable()) return false;
    while (edit->isUndoAvailable()) edit->undo();
    return true;
}

// The caption band's menu: undo and redo, and the Wi-Fi dialog, whose button
// on the system page stays hidden.
void MainWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (event->pos().y() < kCaptionHeight * m_sy)
        showCaptionMenu(event->globalPos());
    else
        QWidget::contextMenuEvent(event);
}

void MainWindow::showCaptionMenu(const QPoint& globalPos) {
    QMenu menu(this);
    m_undo->addTo(menu);
    menu.addSeparator();
    QAction* wifi = menu.addAction(text(uitext::WifiSet) + QStringLiteral("\tCtrl+W"));
    QAction* upgrade = menu.addAction(text(upgradetext::DialogTitle) + QStringLiteral("\tCtrl+U"));
    upgrade->setEnabled(m_upgrade != nullptr);
    QAction* picked = menu.exec(globalPos);
    m_undo->menuClosed();
    if (picked == wifi) openWifiSettings();
    if (picked == upgrade) openFirmwareUpgrade();
}

void MainWindow::openWifiSettings() {
    WifiDialog dialog(m_link, this);
    dialog.exec();
}

void MainWindow::chooseClient() {
    ClientListDialog dialog(m_link.module().clients(), this);
    if (dialog.exec() == QDialog::Accepted) m_link.state().networkDeviceAddress = dialog.chosen();
}

void MainWindow::chooseDeviceId() {
    DeviceIdDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted) m_link.state().chosenDeviceId = dialog.deviceId();
}

void MainWindow::openFirmwareUpgrade() {
    if (!m_upgrade) return;
    FirmwareUpgradeDialog dialog(*m_upgrade, this);
    dialog.exec();
}
