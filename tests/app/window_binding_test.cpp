#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include "app/graph_menu.h"
#include "app/undo_control.h"
#include "binding/equaliser_bands.h"
#include "binding/page_number.h"
#include "controls/synthetic_input.h"
#include "filter/filter_text_reader.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "main_window_fixture.h"
#include "pages/input_page.h"
#include "pages/main_header.h"
#include "pages/output_page.h"
#include "pages/routing_page.h"
#include "pages/system_page.h"
#include "support/manual_clock.h"
#include "support/mouse_events.h"
#include "texts/ui_texts.h"
#include "texts/undo_texts.h"

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
    EXPECT_EQ(header.sourceSelector().selection(), 4);
    EXPECT_EQ(header.sourceSelector().itemText(4), "BT");
    EXPECT_EQ(header.decoderDisplay().text(), "EAC3");
    report(*link, *ui, 1620, 5);
    processQueued();
    EXPECT_EQ(header.sourceSelector().selection(), 4);

    // MIC drives both microphones; MICB shows what the device then reports.
    header.slider(1).setValue(40);
    emit header.slider(1).valueChanged(40);
    EXPECT_EQ(link->mirror().value(1603), 540);
    EXPECT_EQ(link->mirror().value(1605), 540);
    EXPECT_TRUE(link->mirror().pending(1605));
    report(*link, *ui, 1605, 540);
    processQueued();
    EXPECT_EQ(header.slider(3).value(), 40);

    // The Music maximum clamps the slider, also when the device lowers it.
    report(*link, *ui, 1615, 60);
    processQueued();
    header.slider(0).setValue(80);
    emit header.slider(0).valueChanged(80);
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
    EXPECT_DOUBLE_EQ(window->outputPage(4).strip(2).subValue(0), 12);
    EXPECT_EQ(window->outputPage(0).button(2).checkType(), 2);
    EXPECT_EQ(link->mirror().countPending(), 0);

    OutputPage& page = window->outputPage(4);
    page.strip(2).setSubValue(0, -6);
    emit page.strip(2).subValueChanged(0);
    EXPECT_EQ(link->mirror().value(219), 440);
    EXPECT_EQ(link->mirror().value(287), 440);
    EXPECT_TRUE(link->mirror().pending(287));

    // Paste before any copy says so and writes nothing.
    int pending = link->mirror().countPending();
    emit page.graph().edited(4, 0);
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

    mic.button(InputPage::kMicBButton).setCheckType(2);
    emit mic.button(6).clicked();
    processQueued();
    EXPECT_EQ(mic.getField(74), 500);
    EXPECT_EQ(link->mirror().countPending(), 0);  // switching sends nothing
    mic.slider(10).setValue(20);
    emit mic.slider(10).valueChanged(20);
    EXPECT_EQ(link->mirror().value(1264), 140);  // 14 ms
    EXPECT_TRUE(link->mirror().pending(1264));
    EXPECT_FALSE(link->mirror().pending(1260));
}

TEST_F(MainWindowTest, FiveWheelNotchesOnAStripAreOneUndoStep) {
    ASSERT_TRUE(start());
    link->supervisor().stop();
    report(*link, *ui, 75 + 4 * 2, 500);  // band 3 of the first output page at 0 dB
    processQueued();
    ManualClock clock;
    window->undoControl().setClock(clock);
    BandStrip& strip = window->outputPage(0).strip(2);
    for (int n = 0; n < 5; ++n) {
        SyntheticInput::wheel(&strip, QPointF(20, 80), 1);
        processQueued();
        clock.advance(300);
    }
    EXPECT_EQ(link->mirror().value(75 + 8), 505);
    UndoControl& undo = window->undoControl();
    EXPECT_EQ(undo.history().undoCount(), 1u);
    // A value box with the focus leaves Ctrl+Z to the window's undo.
    QKeyEvent ctrlZ(QEvent::ShortcutOverride, Qt::Key_Z, Qt::ControlModifier);
    ctrlZ.ignore();
    QApplication::sendEvent(strip.box(1), &ctrlZ);
    EXPECT_FALSE(ctrlZ.isAccepted());
    undo.undoAction().trigger();
    EXPECT_EQ(link->mirror().value(75 + 8), 500);
    // A notch after a pause of a second is a step of its own.
    SyntheticInput::wheel(&strip, QPointF(20, 80), 1);
    processQueued();
    clock.advance(1000);
    SyntheticInput::wheel(&strip, QPointF(20, 80), 1);
    processQueued();
    EXPECT_EQ(undo.history().undoCount(), 2u);
}

TEST_F(MainWindowTest, ADragIsOneUndoStepAndUndoAndRedoReachTheDevice) {
    ASSERT_TRUE(start());
    link->supervisor().stop();  // it clears the mirror as it starts
    for (int b = 0; b < 8; ++b) report(*link, *ui, 75 + 4 * b, 500);  // every gain 0 dB
    processQueued();
    OutputPage& page = window->outputPage(0);
    ResponseGraph& graph = page.graph();
    const ResponseGraphModel& model = graph.model();
    int slot = ResponseGraphModel::kFirstBand + 3;
    QPointF marker(model.plot().left + model.slot(slot).markerX,
                   model.zeroLine() + model.slot(slot).markerY);
    sendMouse(&graph, QEvent::MouseButtonPress, marker);
    for (int dy = 4; dy <= 40; dy += 4)
        sendMouse(&graph, QEvent::MouseMove, marker - QPointF(0, dy));
    sendMouse(&graph, QEvent::MouseButtonRelease, marker - QPointF(0, 40));
    processQueued();
    int band = model.selectedSlot() - ResponseGraphModel::kFirstBand;
    int gain = 75 + 4 * band;
    uint16_t dragged = link->mirror().value(gain);
    ASSERT_GT(dragged, 500);
    UndoControl& undo = window->undoControl();
    EXPECT_EQ(undo.history().undoCount(), 1u);

    undo.undoAction().trigger();
    EXPECT_EQ(link->mirror().value(gain), 500);
    EXPECT_EQ(link->mirror().value(gain + 68), 500) << "the right channel follows";
    EXPECT_TRUE(link->mirror().pending(gain));
    EXPECT_EQ(page.getField(30 + band), 500);
    undo.redoAction().trigger();
    EXPECT_EQ(link->mirror().value(gain), dragged);
    EXPECT_EQ(page.getField(30 + band), dragged);

    emit page.button(3).clicked();  // "REST": sixteen fields
    processQueued();
    EXPECT_EQ(undo.history().undoCount(), 2u);
}

// A click on the Music slider reaches the device only once the device's
// values are known; before, the window says what it waits for.
TEST_F(MainWindowTest, NothingIsWrittenBeforeTheDeviceIsReadAndTheWindowSaysWhy) {
    using State = DeviceStatePanel::State;
    struct Step {
        const char* name;
        int code;  // -1: no event
        int argument;
        State state;
        const char* status;
        const char* says;
    };
    const Step steps[] = {
        {"started", -1, 0, State::Searching, "Search..", "Searching"},
        {"nothing found", -1, 0, State::NoDevice, "Search..", "udev rule"},
        {"connected", LinkEvent::ConnectionState, 0, State::Reading, "Reading..", "Reading device"},
        {"read", LinkEvent::ReadComplete, 0, State::Live, "Successful", ""},
        {"lost", LinkEvent::ConnectionState, 1, State::Searching, "Search..", "Searching"},
    };
    ASSERT_TRUE(start(false));
    DeviceStatePanel& panel = window->statePanel();
    ValueSlider& music = window->header().slider(0);
    for (const Step& s : steps) {
        if (s.state == State::NoDevice) {
            panel.setNoDeviceDelay(1);
            panel.restartSearch();
            ASSERT_TRUE(processUntil([&] { return panel.state() == State::NoDevice; }));
            panel.setNoDeviceDelay(DeviceStatePanel::kNoDeviceMs);
        }
        if (s.code >= 0) ui->postEvent(s.code, s.argument);
        processQueued();
        EXPECT_EQ(panel.state(), s.state) << s.name;
        EXPECT_EQ(window->titleButton(3).text(), s.status) << s.name;
        EXPECT_TRUE(panel.message().contains(s.says))
            << s.name << ": " << panel.message().toStdString();
        EXPECT_FALSE(panel.message().contains(QString::fromUtf8("欢迎")))
            << s.name << ": no greeting";
        EXPECT_EQ(panel.isVisible(), s.state != State::Live) << s.name;

        link->mirror().setPendingMark(1602, false);
        music.setValue(0);
        QPoint centre = music.geometry().center();
        QWidget* under = window->childAt(centre);
        ASSERT_NE(under, nullptr);
        click(under, under->mapFrom(window.get(), centre));
        processQueued();
        EXPECT_EQ(link->mirror().pending(1602), s.state == State::Live) << s.name;
        EXPECT_EQ(window->undoControl().history().canUndo(), s.state == State::Live) << s.name;
        window->clearUndoHistory(undotext::ClearedByDevice);
        boxes.clear();
    }
}

TEST_F(MainWindowTest, TheWindowSaysHowManyUnsentValuesWereDropped) {
    ASSERT_TRUE(start());
    ui->postEvent(LinkEvent::PendingDropped, 3);
    processQueued();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.startsWith("3 unsent values were dropped"))
        << boxes[0].text.toStdString();
}

TEST_F(MainWindowTest, TheHistoryIsClearedWhenTheDeviceChangedUnderIt) {
    const QString replaced = "The device's values were replaced: the undo history was cleared.";
    const QString lost =
        "The device's values changed while the link was lost: the undo history was cleared.";
    struct Case {
        const char* name;
        std::vector<int> events;  // (code, argument) pairs after one edit
        bool deviceChanged;
        bool kept;
        QString box;
    };
    using namespace LinkEvent;
    const Case cases[] = {
        {"mode recalled", {ValuesReplaced, 4}, false, false, replaced},
        {"found again, same values",
         {ConnectionState, Connection::Searching, ConnectionState, Connection::Connected,
          ReadComplete, 0},
         false,
         true,
         QString()},
        {"found again, other values",
         {ConnectionState, Connection::Searching, ConnectionState, Connection::Connected,
          ReadComplete, 0},
         true,
         false,
         lost},
    };
    ASSERT_TRUE(start());
    link->supervisor().stop();  // the link events are the test's alone
    int gain = 540;
    for (const Case& c : cases) {
        ui->postEvent(ConnectionState, Connection::Connected);
        ui->postEvent(ReadComplete, 0);
        processQueued();
        boxes.clear();
        window->outputPage(1).setField(30, gain += 10);
        emit window->outputPage(1).strip(0).subValueChanged(0);
        processQueued();
        ASSERT_TRUE(window->undoControl().history().canUndo()) << c.name;
        if (c.deviceChanged) link->mirror().store(75 + 4 * 68, 500);
        for (size_t i = 0; i + 1 < c.events.size(); i += 2)
            ui->postEvent(c.events[i], c.events[i + 1]);
        processQueued();
        EXPECT_EQ(window->undoControl().history().canUndo(), c.kept) << c.name;
        EXPECT_EQ(boxes.size(), c.box.isEmpty() ? 0u : 1u) << c.name;
        EXPECT_EQ(boxesWithText(c.box), c.box.isEmpty() ? 0 : 1) << c.name;
        window->clearUndoHistory(undotext::ClearedByDevice);
    }
}

TEST_F(MainWindowTest, OtherChannelsOnTheGraphAreSwitchedFromItsMenuAndRemembered) {
    ASSERT_TRUE(start());
    EXPECT_FALSE(window->outputPage(2).graph().companionsShown());
    emit window->outputPage(0).graph().edited(5, 0);
    for (int p = 0; p < 5; ++p) EXPECT_TRUE(window->outputPage(p).graph().companionsShown()) << p;
    EXPECT_EQ(Settings().readInt(GraphMenu::kSettingsFile, GraphMenu::kOtherChannelsKey), 1);
    window.reset();
    link.reset();
    ui.reset();
    ASSERT_TRUE(start());
    EXPECT_TRUE(window->outputPage(3).graph().companionsShown());
}

TEST_F(MainWindowTest, AFilterImportIsReportedFirstAndWrittenAsOneUndoStepWhenAgreed) {
    ASSERT_TRUE(start());
    link->supervisor().stop();
    std::string text = "Filter Settings file\n\nNotes: test\n\n";
    for (int k = 1; k <= 10; ++k)
        text += "Filter " + std::to_string(k) + ": ON PK Fc " + std::to_string(100 * k) +
                " Hz Gain -3.5 dB Q 2.00\n";
    std::string path = (root() / "ten.txt").string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
    GraphMenu& menu = window->graphMenu();
    constexpr int kFrequency0 = 74;  // page 0, band 0

    answer = MessageBox::Answer::No;
    EXPECT_FALSE(menu.importFilters(0, QString::fromStdString(path)));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.contains("Line 13: filter 9 left out: the page has 8 bands."))
        << boxes[0].text.toStdString();
    EXPECT_TRUE(boxes[0].text.contains("filter 10 left out"));
    EXPECT_EQ(link->mirror().countPending(), 0) << "nothing written before the user agrees";

    answer = MessageBox::Answer::Yes;
    EXPECT_TRUE(menu.importFilters(0, QString::fromStdString(path)));
    processQueued();
    EXPECT_EQ(link->mirror().value(kFrequency0), 101) << "100 Hz onto the grid";
    EXPECT_EQ(window->undoControl().history().undoCount(), 1u);

    // What is exported reads back to the same bands.
    std::string out = (root() / "out.txt").string();
    ASSERT_TRUE(menu.exportFilters(0, QString::fromStdString(out)));
    FilterTextReader::Result back = FilterTextReader::readFile(out, 8);
    ASSERT_EQ(back.filters.size(), 8u);
    EXPECT_EQ(back.filters[7].band, EqualiserBands::read(0, link->mirror())[7]);

    window->undoControl().undo();
    EXPECT_EQ(link->mirror().value(kFrequency0), 0);
}

TEST_F(MainWindowTest, TheSystemPageClampsTheHeaderRelabelsTheWindowAndOpensRouting) {
    ASSERT_TRUE(start());
    SystemPage& system = window->systemPage();
    window->selectPage(pageNumber::System);
    report(*link, *ui, 1602, 590);
    report(*link, *ui, 1633, 12);
    processQueued();
    EXPECT_EQ(system.slider(8).value(), 10);
    system.slider(1).setValue(50);
    emit system.slider(1).valueChanged(50);
    processQueued();
    EXPECT_EQ(window->header().slider(0).value(), 50);
    EXPECT_EQ(link->mirror().value(1615), 50);

    system.languageList().setSelection(Language::TraditionalChinese);
    emit system.languageList().selectionChosen();
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
    emit system.button(SystemPage::Route).clicked();
    EXPECT_TRUE(routingOpened);
}
