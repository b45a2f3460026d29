#include <QApplication>
#include <QDialog>
#include <QTimer>

#include "app/main_messages.h"
#include "link/link_event.h"
#include "main_window_fixture.h"
#include "pages/input_page.h"
#include "pages/main_header.h"
#include "pages/output_page.h"
#include "pages/routing_page.h"
#include "pages/system_page.h"
#include "platform/qt/message_pump.h"
#include "texts/ui_texts.h"

namespace {

// The device reports an index with a value.
void report(Link& link, QtLinkUi& ui, int index, uint16_t value) {
    link.mirror().store(index, value);
    ui.postEvent(LinkEvent::ParameterReceived, index);
}

}  // namespace

TEST_F(MainWindowTest, TheHeaderShowsAndWritesTheMasterVolumesAndSelectors) {
    ASSERT_TRUE(start());
    MainHeader& header = window->header();
    report(*link, *ui, 1602, 575);
    report(*link, *ui, 1620, 6);
    report(*link, *ui, 1637, 0x0115);
    processQueued();
    EXPECT_EQ(header.slider(0).value(), 75);
    EXPECT_EQ(header.slider(0).labelText(), "Music: 75%");
    EXPECT_EQ(header.sourceSelector().GetSelection(), 4);
    EXPECT_EQ(header.sourceSelector().itemText(4), "BT");
    EXPECT_EQ(header.decoderDisplay().text(), "EAC3");
    report(*link, *ui, 1620, 5);
    processQueued();
    EXPECT_EQ(header.sourceSelector().GetSelection(), 4);

    // MIC drives both microphones; MICB shows what the device then reports.
    header.slider(1).SetValue(40);
    MessagePump::send(window.get(), MainHeader::kSliderId + 1, 1, 40);
    EXPECT_EQ(link->mirror().value(1603), 540);
    EXPECT_EQ(link->mirror().value(1605), 540);
    EXPECT_TRUE(link->mirror().pending(1605));
    report(*link, *ui, 1605, 540);
    processQueued();
    EXPECT_EQ(header.slider(3).value(), 40);

    // The Music maximum clamps the slider, also when the device lowers it.
    report(*link, *ui, 1615, 60);
    processQueued();
    header.slider(0).SetValue(80);
    MessagePump::send(window.get(), MainHeader::kSliderId, 0, 80);
    EXPECT_EQ(link->mirror().value(1602), 560);
    EXPECT_EQ(header.slider(0).value(), 60);
    report(*link, *ui, 1615, 30);
    ui->postEvent(LinkEvent::ReadComplete, 0);
    processQueued();
    EXPECT_EQ(header.slider(0).value(), 30);
    EXPECT_EQ(link->mirror().value(1602), 560);  // only the display is clamped
}

TEST_F(MainWindowTest, OutputPagesFollowTheDeviceAndWriteTheirChanges) {
    ASSERT_TRUE(start());
    report(*link, *ui, 219, 620);  // surround pair, band 2 gain
    report(*link, *ui, 2, 1);      // front right mute
    processQueued();
    EXPECT_DOUBLE_EQ(window->outputPage(4).strip(2).GetSubValue(0), 12);
    EXPECT_EQ(window->outputPage(0).button(2).GetCheckType(), 2);
    EXPECT_EQ(link->mirror().countPending(), 0);

    OutputPage& page = window->outputPage(4);
    page.strip(2).SetSubValue(0, -6);
    page.onMessage(2024 + 2, 2, 0);
    EXPECT_EQ(link->mirror().value(219), 440);
    EXPECT_EQ(link->mirror().value(287), 440);
    EXPECT_TRUE(link->mirror().pending(287));

    // Paste before any copy says so and writes nothing.
    int pending = link->mirror().countPending();
    page.onMessage(2245, 4, 0);
    EXPECT_EQ(boxesWithText("No duplicate content!"), 1);
    EXPECT_EQ(link->mirror().countPending(), pending);
}

TEST_F(MainWindowTest, ResizingToTheMinimumAndBackKeepsEveryValue) {
    ASSERT_TRUE(start());
    OutputPage& page = window->outputPage(0);
    const std::pair<int, int> values[] = {{32, 560}, {12, 33021}, {44, 537}, {53, 445},
                                          {58, 101}, {61, 27},    {57, 480}, {41, 1}};
    for (auto [field, value] : values) page.setField(field, value);
    window->resize(100, 60);
    processQueued();
    window->resize(2154, 1362);
    processQueued();
    window->resize(1077, 681);
    processQueued();
    for (auto [field, value] : values) EXPECT_EQ(page.getField(field), value) << field;
    EXPECT_EQ(link->mirror().countPending(), 0);
}

TEST_F(MainWindowTest, TheMicrophonePageEditsAndShowsTheSelectedMicrophone) {
    ASSERT_TRUE(start());
    auto& mic = static_cast<InputPage&>(window->equaliserPage(6));
    report(*link, *ui, 1264, 500);  // MIC B attack, while MIC A is selected
    report(*link, *ui, 1260, 200);
    report(*link, *ui, 1473, 1000);  // reverb high-pass
    processQueued();
    EXPECT_EQ(mic.getField(74), 200);
    EXPECT_EQ(window->equaliserPage(8).getField(41), 1000);

    mic.button(InputPage::kMicBButton).SetCheckType(2);
    mic.onMessage(6024 + InputPage::kMicBButton, 6, 6);
    processQueued();
    EXPECT_EQ(mic.getField(74), 500);
    EXPECT_EQ(link->mirror().countPending(), 0);  // switching sends nothing
    mic.slider(10).SetValue(20);
    mic.onMessage(3024 + 10, 10, 20);
    EXPECT_EQ(link->mirror().value(1264), 140);  // 14 ms
    EXPECT_TRUE(link->mirror().pending(1264));
    EXPECT_FALSE(link->mirror().pending(1260));
}

TEST_F(MainWindowTest, TheSystemPageClampsTheHeaderRelabelsTheWindowAndOpensRouting) {
    ASSERT_TRUE(start());
    SystemPage& system = window->systemPage();
    MessagePump::send(window.get(), MainMessage::PageSelect, 0, SystemPage::kPageIndex);
    report(*link, *ui, 1602, 590);
    report(*link, *ui, 1633, 12);
    processQueued();
    EXPECT_EQ(system.slider(8).value(), 10);
    system.slider(1).SetValue(50);
    system.onMessage(SystemPage::kSliderId + 1, 1, 0);
    processQueued();
    EXPECT_EQ(window->header().slider(0).value(), 50);
    EXPECT_EQ(link->mirror().value(1615), 50);

    system.languageList().SetSelection(Language::TraditionalChinese);
    system.onMessage(SystemPage::kLanguageList, 0, 0);
    processQueued();
    EXPECT_EQ(window->navigationButton(9).text(), QString::fromUtf8("系統"));
    EXPECT_EQ(window->navigationButton(0).text(), QString::fromUtf8(uitext::PageMain[1]));
    EXPECT_EQ(system.button(SystemPage::Route).text(), QString::fromUtf8("路由"));
    EXPECT_TRUE(window->header().slider(0).labelText().startsWith(
        QString::fromUtf8(uitext::MasterMusic[1]).left(2)));

    bool routingOpened = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        routingOpened = dynamic_cast<RoutingPage*>(dialog) != nullptr;
        if (dialog) dialog->reject();
    });
    system.onMessage(SystemPage::kButtonId + SystemPage::Route, SystemPage::Route, 0);
    EXPECT_TRUE(routingOpened);
}
