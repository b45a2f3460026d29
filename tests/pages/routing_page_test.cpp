#include <gtest/gtest.h>

#include <QLineEdit>
#include <optional>

#include "binding/parameter_binding.h"
#include "binding/route_matrix.h"
#include "controls/synthetic_input.h"
#include "files/settings.h"
#include "link/link_event.h"
#include "link/mirror.h"
#include "pages/file_chooser.h"
#include "pages/routing_page.h"
#include "platform/qt/clipboard.h"
#include "platform/qt/message_box.h"
#include "support/qt_wait.h"
#include "support/temp_folder.h"

using namespace SyntheticInput;

namespace {

constexpr int kCell43 = 4 * 8 + 3;

class RoutingPageTest : public testing::Test {
protected:
    void SetUp() override {
        mirror.store(RouteMatrix::cellIndex(kCell43), 0x2801);
        mirror.store(RouteMatrix::cellIndex(0), 0xFA02);  // level 250, switch 2
        mirror.store(RouteMatrix::kDecodedLayout, 0x20);
        page = std::make_unique<RoutingPage>(binding, mirror, nullptr);
        page->setExportFolder(QString::fromStdString(temp.path()));
        page->show();
        processQueued();
        MessageBox::setObserver([this](const MessageBox::Request& r) {
            boxes.push_back(r.text);
            return std::optional(MessageBox::Answer::Yes);
        });
    }
    void TearDown() override { MessageBox::setObserver(nullptr); }

    uint16_t cell(int n) const { return mirror.value(RouteMatrix::cellIndex(n)); }
    void received(int index, uint16_t value) {
        mirror.store(index, value);
        page->linkEvent(LinkEvent::ParameterReceived, index);
    }

    TempFolder temp;
    Mirror mirror;
    ParameterBinding binding{mirror};
    std::unique_ptr<RoutingPage> page;
    std::vector<QString> boxes;
};

}  // namespace

TEST_F(RoutingPageTest, DeviceValuesShowClampedAndAreNotWrittenBack) {
    EXPECT_EQ(page->cellEdit(kCell43).value(), 40);
    EXPECT_EQ(page->cellSlider(0).value(), 100);
    EXPECT_EQ(page->cellButton(0).checkType(), 2);
    received(RouteMatrix::cellIndex(kCell43), 0x1100);
    EXPECT_EQ(page->cellSlider(kCell43).value(), 17);
    EXPECT_EQ(page->cellButton(kCell43).checkType(), 1);
    EXPECT_EQ(mirror.countPending(), 0);
    EXPECT_TRUE(page->windowTitle().endsWith(QStringLiteral("Decoded: 20")));
    EXPECT_EQ(page->layoutSelector().selection(), -1);
}

TEST_F(RoutingPageTest, EditsWriteTheCellAndKeepItsControlsInStep) {
    // The slider's keys, the switch, then typed levels out of range or no number.
    page->cellSlider(kCell43).setFocus();
    key(&page->cellSlider(kCell43), Qt::Key_Up);
    EXPECT_EQ(cell(kCell43), 0x2901);
    EXPECT_EQ(page->cellEdit(kCell43).value(), 41);
    EXPECT_TRUE(mirror.pending(1556));
    click(&page->cellButton(kCell43), page->cellButton(kCell43).rect().center(), Qt::LeftButton);
    processQueued();
    EXPECT_EQ(cell(kCell43), 0x2900);
    struct Case {
        const char* typed;
        uint16_t written;
    };
    for (Case c :
         {Case{"250", 0x6400}, Case{"-5", 0x0000}, Case{"abc", 0x0000}, Case{"33", 0x2100}}) {
        QLineEdit* edit = page->cellEdit(kCell43).edit();
        edit->setFocus();
        edit->setText(QString::fromUtf8(c.typed));
        key(edit, Qt::Key_Return);
        EXPECT_EQ(cell(kCell43), c.written) << c.typed;
        EXPECT_EQ(page->cellSlider(kCell43).value(), c.written >> 8) << c.typed;
    }
}

TEST_F(RoutingPageTest, TheLayoutSelectorWritesTheMaskAndRetitles) {
    page->layoutSelector().setSelection(4);
    emit page->layoutSelector().selectionChosen();
    EXPECT_EQ(mirror.value(RouteMatrix::kDecodedLayout), 1551);
    EXPECT_TRUE(mirror.pending(RouteMatrix::kDecodedLayout));
    processQueued();
    EXPECT_TRUE(page->windowTitle().endsWith(QStringLiteral("51CH")));
}

TEST_F(RoutingPageTest, PollsARowEvery100Milliseconds) {
    EXPECT_TRUE(page->refreshing());
    ASSERT_TRUE(processUntil([&] { return mirror.readRequested(RouteMatrix::cellIndex(7, 7)); }));
    page->reject();
    EXPECT_FALSE(page->refreshing());
}

TEST_F(RoutingPageTest, ExportAsksWhereAndGoesToThatFileAndTheClipboard) {
    Settings::overrideFolders(temp.path() + "/", temp.path() + "/");
    std::optional<QString> answer;  // none: take the offered path
    std::vector<QString> offered;
    FileChooser::setAnswerer([&](const FileChooser::Request&, const QString& start) {
        offered.push_back(start);
        return answer.value_or(start);
    });
    mirror.store(RouteMatrix::cellIndex(0), RouteMatrix::cellValue(100, true));
    emit page->exportButton().clicked();
    const std::string first = temp.path("VX540_RouteData/VX540_RouteInXXCH_Out20CH.c");
    std::string file = TempFolder::read(first);
    EXPECT_NE(file.find("{\r\n//InXXCH>Out20-FL"), std::string::npos);
    EXPECT_NE(file.find("\tDePer(100)|1,DePer(  0)|0,"), std::string::npos);
    EXPECT_TRUE(Clipboard::text().startsWith(QStringLiteral("//InXXCH>Out20")));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], QString::fromStdString("File " + first + " written."));

    // The next export starts in the folder used last; a bare name gets ".c".
    answer = QString::fromStdString(temp.path("mine"));
    emit page->exportButton().clicked();
    EXPECT_FALSE(TempFolder::read(temp.path("mine.c")).empty());
    emit page->exportButton().clicked();
    ASSERT_EQ(offered.size(), 3u);
    EXPECT_EQ(offered[2], QString::fromStdString(temp.path("VX540_RouteInXXCH_Out20CH.c")));

    // A file that cannot be written is said so, and the clipboard still gets the text;
    // a cancelled dialog writes nothing and says nothing.
    TempFolder::write(temp.path("blocked"), "x");
    answer = QString::fromStdString(temp.path("blocked/x.c"));
    Clipboard::setText(QString());
    boxes.clear();
    emit page->exportButton().clicked();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].contains(QStringLiteral("blocked/x.c")));
    EXPECT_TRUE(Clipboard::text().endsWith(QStringLiteral("//BR-CH8")));
    answer = QString();
    emit page->exportButton().clicked();
    EXPECT_EQ(boxes.size(), 1u);
    FileChooser::setAnswerer(nullptr);
    Settings::overrideFolders("", "");
}
