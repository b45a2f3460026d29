#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <thread>

#include "app/device_state_panel.h"
#include "binding/page_number.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "link/transport_type.h"
#include "main_window_fixture.h"
#include "pages/client_list_dialog.h"
#include "pages/device_id_dialog.h"
#include "pages/system_page.h"
#include "pages/wifi_dialog.h"
#include "support/mouse_events.h"
#include "texts/ui_texts.h"

namespace {

QString utf8(const char* s) {
    return QString::fromUtf8(s);
}

TEST_F(MainWindowTest, StartsInTheLanguageOfTheSettingOrTheLocale) {
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::HongKong));
    ASSERT_TRUE(start());
    EXPECT_EQ(Language::index(), 1);
    EXPECT_EQ(window->navigationButton(0).text(), utf8(uitext::PageMain[1]));
    EXPECT_EQ(window->titleButton(4).text(), utf8(uitext::TrackTest[1]));
}

TEST_F(MainWindowTest, AStoredLanguageOf256IsSimplifiedChinese) {
    Settings().writeInt("Language", "Language", 256);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    ASSERT_TRUE(start());
    EXPECT_EQ(Language::index(), 0);
}

TEST_F(MainWindowTest, StartUpShowsPageZeroInTheDesignSize) {
    ASSERT_TRUE(start());
    EXPECT_EQ(window->size(), QSize(1077, 681));
    EXPECT_EQ(window->windowTitle().left(3), "QX7");
    EXPECT_TRUE(window->page(0).isVisible());
    EXPECT_EQ(window->navigationButton(0).checkType(), 2);
    for (int i = 1; i < 10; ++i) {
        EXPECT_FALSE(window->page(i).isVisible());
        EXPECT_EQ(window->navigationButton(i).checkType(), 1);
    }
    EXPECT_EQ(window->page(3).geometry(), QRect(0, 109, 1077, 572));
    EXPECT_EQ(window->navigationButton(9).geometry(), QRect(788, 29, 71, 21));
    EXPECT_EQ(window->navigationButton(0).text(), "Main");
    EXPECT_EQ(window->navigationButton(3).text(), "BackRound");
    EXPECT_TRUE(link->supervisor().threadRunning());
}

TEST_F(MainWindowTest, ASecondInstanceSaysSoAndEndsWhileTheFirstRunsOn) {
    QProcess first;
    first.start(LOCK_HOLDER,
                {QString::fromStdString((root() / "run").string()), MainWindow::kInstanceName});
    ASSERT_TRUE(first.waitForReadyRead(30000));
    ASSERT_EQ(first.readLine().trimmed(), "0");  // it holds the lock

    EXPECT_FALSE(start());
    EXPECT_EQ(window->exitCode(), 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The Program is Running!");
    EXPECT_FALSE(link->supervisor().threadRunning());
    EXPECT_EQ(first.state(), QProcess::Running);
    InstanceLock probe(MainWindow::kInstanceName);
    EXPECT_EQ(probe.state(), InstanceLock::State::AlreadyRunning);

    first.closeWriteChannel();
    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_EQ(first.exitCode(), 0);
}

TEST_F(MainWindowTest, PageSelectOutsideTheTenPagesEmptiesThePageArea) {
    ASSERT_TRUE(start());
    window->selectPage(12);
    processQueued();
    for (int i = 0; i < 10; ++i) {
        EXPECT_FALSE(window->page(i).isVisible()) << i;
        EXPECT_EQ(window->navigationButton(i).checkType(), 1) << i;
    }
    window->selectPage(7);
    processQueued();
    EXPECT_TRUE(window->page(7).isVisible());
    EXPECT_EQ(window->navigationButton(7).checkType(), 2);
}

TEST_F(MainWindowTest, ANavigationClickSelectsItsPage) {
    ASSERT_TRUE(start());
    click(&window->navigationButton(5), {30, 10});
    processQueued();
    EXPECT_TRUE(window->page(5).isVisible());
    EXPECT_FALSE(window->page(0).isVisible());
    EXPECT_EQ(window->navigationButton(0).checkType(), 1);
    EXPECT_EQ(window->navigationButton(5).checkType(), 2);
}

TEST_F(MainWindowTest, LayoutFollowsTheSizeButNotBelowHalfOfIt) {
    ASSERT_TRUE(start());
    window->resize(2154, 1362);
    processQueued();
    EXPECT_DOUBLE_EQ(window->s(), 2.0);
    EXPECT_EQ(window->navigationButton(1).geometry(), QRect(200, 58, 142, 42));
    EXPECT_EQ(window->page(0).geometry(), QRect(0, 218, 2154, 1144));
    EXPECT_EQ(window->background().image().size(), QSize(2154, 1362));

    window->resize(1077, 681);
    processQueued();
    QRect nav = window->navigationButton(1).geometry();
    QRect page = window->page(0).geometry();
    window->resize(500, 300);
    processQueued();
    EXPECT_EQ(window->size(), QSize(1077, 681)) << "the design size is the smallest";
    EXPECT_DOUBLE_EQ(window->s(), 1.0);
    EXPECT_EQ(window->navigationButton(1).geometry(), nav);
    EXPECT_EQ(window->page(0).geometry(), page);

    // Nothing at all: still no layout and no crash.
    window->resize(0, 0);
    processQueued();
    window->repaint();
    EXPECT_EQ(window->navigationButton(1).geometry(), nav);
}

TEST_F(MainWindowTest, NoToTheExitQuestionKeepsEverything) {
    ASSERT_TRUE(start());
    window->selectPage(4);
    processQueued();
    answer = MessageBox::Answer::No;
    window->close();
    processQueued();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Whether to exit the program!");
    EXPECT_EQ(boxes[0].caption, "Tip!");
    EXPECT_EQ(boxes[0].buttons, MessageBox::Buttons::YesNo);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->page(4).isVisible());
    EXPECT_TRUE(link->supervisor().threadRunning());
    EXPECT_TRUE(exits.empty());
}

TEST_F(MainWindowTest, YesToTheExitQuestionStopsTheLinkAndEnds) {
    ASSERT_TRUE(start());
    // The close title button asks once the click is done.
    emit window->titleButton(2).clicked();
    processQueued();
    ASSERT_EQ(boxesWithText("Whether to exit the program!"), 1);
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(link->supervisor().threadRunning());
    EXPECT_EQ(exits, std::vector<int>{0});
}

TEST_F(MainWindowTest, EscapeAsksTheExitQuestionAndInABoxOnlyTakesTheTypingBack) {
    ASSERT_TRUE(start());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    // Typing in a field of the system page is taken back, and that is all.
    window->selectPage(pageNumber::System);
    QLineEdit& field = window->systemPage().keyLockEdit();
    QString shown = field.text();
    field.setFocus();
    for (Qt::Key key : {Qt::Key_1, Qt::Key_2}) {
        QKeyEvent typed(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(key)));
        QApplication::sendEvent(&field, &typed);
    }
    ASSERT_NE(field.text(), shown);
    QApplication::sendEvent(&field, &escape);
    EXPECT_EQ(field.text(), shown);
    EXPECT_TRUE(boxes.empty());

    answer = MessageBox::Answer::No;
    press(Qt::Key_Escape);
    processQueued();
    EXPECT_EQ(boxesWithText("Whether to exit the program!"), 1);
    EXPECT_TRUE(exits.empty());
    EXPECT_TRUE(window->isVisible());
    answer = MessageBox::Answer::Yes;
    press(Qt::Key_Escape);
    processQueued();
    EXPECT_EQ(exits, std::vector<int>{0});
}

// As Qt does with a key: offered to the open list first, to the window's
// shortcuts only when the list did not take it.
TEST_F(MainWindowTest, EscapeWithAnOpenListClosesTheListOnly) {
    ASSERT_TRUE(start());
    window->selectPage(pageNumber::System);
    QComboBox& list = window->systemPage().languageList();
    list.setFocus();
    list.showPopup();
    ASSERT_TRUE(processUntil([&] { return list.view()->isVisible(); }));
    QKeyEvent offer(QEvent::ShortcutOverride, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(list.view(), &offer);
    if (!offer.isAccepted()) press(Qt::Key_Escape);
    processQueued();
    EXPECT_TRUE(boxes.empty());
    EXPECT_FALSE(list.view()->isVisible());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowTest, TheStatusButtonFollowsTheConnectionAndTheLanguage) {
    ASSERT_TRUE(start());
    SkinButton& status = window->titleButton(3);
    // Sent from the link's thread: handled before the link goes on.
    std::atomic<bool> returned{false};
    std::thread linkThread([&] {
        ui->sendEvent(LinkEvent::ConnectionState, 3);
        returned = true;
    });
    ASSERT_TRUE(processUntil([&] { return returned.load(); }));
    linkThread.join();
    EXPECT_EQ(status.text(), "Search..");
    EXPECT_EQ(status.checkType(), 1);

    // Connected is not yet read: green only once the values are known.
    ui->sendEvent(LinkEvent::ConnectionState, 0);
    EXPECT_EQ(status.text(), "Reading..");
    EXPECT_EQ(status.checkType(), 1);
    ui->postEvent(LinkEvent::ReadComplete, 0);
    processQueued();
    EXPECT_EQ(status.text(), "Successful");
    EXPECT_EQ(status.checkType(), 2);
    EXPECT_EQ(status.currentFrame(), 1);
    EXPECT_EQ(window->titleLabel().text(), window->windowTitle());

    ui->sendEvent(LinkEvent::ConnectionState, 1);
    EXPECT_EQ(status.text(), "Search..");
    EXPECT_EQ(status.checkType(), 1);

    Language::set(Language::SimplifiedChinese);
    window->refreshLanguage();
    EXPECT_EQ(status.text(), utf8("搜索连接"));
    EXPECT_EQ(window->navigationButton(0).text(), utf8(uitext::PageMain[0]));
    Language::set(Language::TraditionalChinese);
    window->refreshLanguage();
    EXPECT_EQ(status.text(), utf8(uitext::ConnectionState[1][1]));
}

TEST_F(MainWindowTest, TheStatusButtonSuspendsAndResumesTheLink) {
    ASSERT_TRUE(start());
    ui->sendEvent(LinkEvent::ConnectionState, 0);
    link->state().linkAlive = 1;
    click(&window->titleButton(3), {40, 10});
    processQueued();
    EXPECT_EQ(link->state().pauseFlag.load(), 1);
    EXPECT_EQ(window->titleButton(3).text(), "Suspended");
    EXPECT_EQ(window->titleButton(3).checkType(), 1);
    EXPECT_NE(window->titleButton(3).currentTextColour(),
              window->titleButton(0).currentTextColour());
    EXPECT_FALSE(window->deviceLive());
    click(&window->titleButton(3), {40, 10});
    processQueued();
    EXPECT_EQ(link->state().pauseFlag.load(), 0);
    EXPECT_EQ(link->state().linkAlive.load(), 0);
}

TEST_F(MainWindowTest, NoDeviceFoundIsSaidOnlyOnce) {
    ASSERT_TRUE(start());
    ui->postEvent(LinkEvent::RelayStatus, 0);
    ui->postEvent(LinkEvent::RelayStatus, 0);
    processQueued();
    EXPECT_EQ(boxesWithText("No device found!"), 1);
    ui->postEvent(LinkEvent::RelayStatus, 0);
    processQueued();
    EXPECT_EQ(boxesWithText("No device found!"), 1);
}

namespace {

// Runs act on the modal dialog of type D once it is open.
template <typename D>
void whenOpen(const std::function<void(D&)>& act) {
    QTimer::singleShot(10, [act] {
        if (auto* d = dynamic_cast<D*>(QApplication::activeModalWidget()))
            act(*d);
        else
            whenOpen(act);
    });
}

}  // namespace

TEST_F(MainWindowTest, NetworkEventsAndCtrlWOpenTheirDialogs) {
    ASSERT_TRUE(start());
    const std::string reply = "Get_IP:C0A80401";
    link->module().parse(reinterpret_cast<const uint8_t*>(reply.data()), reply.size());
    whenOpen<ClientListDialog>([](ClientListDialog& d) { d.pick(0); });
    ui->postEvent(LinkEvent::ClientList, 1);
    ASSERT_TRUE(processUntil([&] { return link->state().networkDeviceAddress == 0xC0A80401u; }));

    whenOpen<DeviceIdDialog>([](DeviceIdDialog& d) {
        d.ids().setEditText("BC614E");
        d.confirm();
    });
    ui->postEvent(LinkEvent::RelayStatus, 2);
    ASSERT_TRUE(processUntil([&] { return link->state().chosenDeviceId == 0xBC614Eu; }));

    bool wifiOpened = false;
    whenOpen<WifiDialog>([&](WifiDialog& d) {
        wifiOpened = true;
        d.reject();
    });
    press(Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(wifiOpened);
    EXPECT_TRUE(link->module().queued(ModuleTable::HotspotSsid)) << "the dialog read the module";
}

TEST_F(MainWindowTest, UnknownLinkEventsChangeNothing) {
    ASSERT_TRUE(start());
    // Its own start-up events could otherwise arrive after the test's.
    link->supervisor().stop();
    ASSERT_TRUE(processUntil([&] { return link->supervisor().joinWithin(1); }));
    ui->sendEvent(LinkEvent::ConnectionState, 0);
    ui->postEvent(LinkEvent::ReadComplete, 0);
    for (int code : {-1, 2, 3, 5, 8, 9, 12, 99, 1 << 20}) ui->postEvent(code, 12345);
    ui->postEvent(LinkEvent::ParameterReceived, 99999);
    ui->postEvent(LinkEvent::ParameterReceived, -4);
    processQueued();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(window->titleButton(3).text(), "Successful");
    EXPECT_TRUE(window->page(0).isVisible());
    // Any connection state but 0 means searching.
    ui->sendEvent(LinkEvent::ConnectionState, 77);
    EXPECT_EQ(window->titleButton(3).text(), "Search..");
}

TEST_F(MainWindowTest, ADoubleClickInTheTopLeftCornerOpensTheAboutBox) {
    ASSERT_TRUE(start());
    link->mirror().store(1640, 7);
    link->device().version = 123;
    sendMouse(window.get(), QEvent::MouseButtonDblClick, {5, 5});
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "About");
    EXPECT_TRUE(
        boxes[0].text.startsWith("Software version QX7-V4.1201030H\r\nDevice Version:1.2.3\r\n"))
        << boxes[0].text.toStdString();
    EXPECT_TRUE(boxes[0].text.contains("\r\nDomain:"));

    sendMouse(window.get(), QEvent::MouseButtonDblClick, {20, 5});
    EXPECT_EQ(boxes.size(), 1u);
}

}  // namespace

TEST_F(MainWindowTest, DraggingByTheCaptionShowsTheHandOnlyUntilTheButtonIsReleased) {
    ASSERT_TRUE(start());
    window->show();
    processQueued();
    sendMouse(window.get(), QEvent::MouseButtonPress, {300, 10});
    EXPECT_EQ(window->cursor().shape(), Qt::PointingHandCursor);
    sendMouse(window.get(), QEvent::MouseButtonRelease, {340, 12});
    processQueued();
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor) << "the page area would inherit it";
}

// Nothing found on the network or through a relay: the panel offers USB, and
// only there.
TEST(DeviceStatePanel, OffersUsbWhenNothingIsFoundOnTheNetworkOrTheRelay) {
    const std::pair<TransportType, bool> cases[] = {{TransportType::Network, true},
                                                    {TransportType::Relay, true},
                                                    {TransportType::UsbHid, false},
                                                    {TransportType::Serial, false}};
    for (auto [type, offered] : cases) {
        QWidget window;
        window.resize(1077, 681);
        DeviceStatePanel panel(&window);
        panel.setGeometry(window.rect());
        int asked = 0;
        panel.setUseUsbHandler([&] { ++asked; });
        panel.setTransportType(type);
        window.show();
        panel.setNoDeviceDelay(1);
        panel.restartSearch();
        ASSERT_TRUE(
            processUntil([&] { return panel.state() == DeviceStatePanel::State::NoDevice; }));
        EXPECT_EQ(panel.useUsbButton().isVisible(), offered) << titleSuffix(type);
        if (offered) panel.useUsbButton().click();
        EXPECT_EQ(asked, offered ? 1 : 0) << titleSuffix(type);
    }
}
