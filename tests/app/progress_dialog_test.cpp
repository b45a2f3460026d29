#include <gtest/gtest.h>

#include <QPushButton>
#include <QWidget>
#include <thread>

#include "app/progress_dialog.h"
#include "app/progress_text.h"
#include "resources/skin_art.h"
#include "resources/skin_ids.h"
#include "support/qt_wait.h"
#include "texts/language.h"

namespace {

TEST(ProgressText, FillsOneFloatingPlaceholder) {
    EXPECT_EQ(ProgressText::format("Read Device Data:%5.0f %%", 50.0), "Read Device Data:   50 %");
    EXPECT_EQ(ProgressText::format("Updown Device:%0.0f %%", 99.6), "Updown Device:100 %");
    EXPECT_EQ(ProgressText::format(QString::fromUtf8("欢迎使用!"), 0),
              QString::fromUtf8("欢迎使用!"));
    EXPECT_EQ(ProgressText::format("Call...", 10), "Call...");
    EXPECT_EQ(ProgressText::format("", 10), "");
}

TEST(ProgressText, AFormatThatIsNotOneFloatIsShownAsItIs) {
    EXPECT_EQ(ProgressText::format("%s%n%d", 1.0), "%s%n%d");
    EXPECT_EQ(ProgressText::format("%f %f", 1.0), "%f %f");
    EXPECT_EQ(ProgressText::format("%99999.0f", 1.0), "%99999.0f");
    EXPECT_EQ(ProgressText::format("trailing %", 1.0), "trailing %");
}

class ProgressDialogTest : public testing::Test {
protected:
    QWidget owner;
    ProgressDialog dialog{&owner};
};

TEST_F(ProgressDialogTest, StartsWithTheWelcomeAndAnEmptyBar) {
    EXPECT_TRUE(dialog.active());
    EXPECT_EQ(dialog.text(), QString::fromUtf8("欢迎使用!"));
    EXPECT_EQ(dialog.barWidth(), 27);
    EXPECT_EQ(dialog.size(), QSize(541, 161));
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_NEAR(dialog.windowOpacity(), 220 / 255.0, 0.01);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ProgressDialogTest, HalfOfTheParametersFillHalfTheBar) {
    dialog.setMaximum(1746);
    dialog.setFormat("Read Device Data:%5.0f %%");
    dialog.setPosition(873);
    EXPECT_EQ(dialog.text(), "Read Device Data:   50 %");
    EXPECT_EQ(dialog.barWidth(), 271);
    QImage picture = dialog.picture();
    QImage empty = SkinArt::image(SkinId::ProgressEmpty);
    QImage full = SkinArt::image(SkinId::ProgressFull);
    EXPECT_EQ(picture.pixel(260, 60), full.pixel(260, 60));
    EXPECT_EQ(picture.pixel(280, 60), empty.pixel(280, 60));
    // The text is red and sits below y 90.
    bool red = false;
    for (int y = 90; y < 161 && !red; ++y)
        for (int x = 0; x < 541 && !red; ++x) {
            QColor c = picture.pixelColor(x, y);
            red = c.red() > 200 && c.green() < 60 && c.blue() < 60;
        }
    EXPECT_TRUE(red);

    dialog.setPosition(0);
    EXPECT_EQ(dialog.barWidth(), 27);
    dialog.setPosition(1746);
    EXPECT_EQ(dialog.barWidth(), 516);
    EXPECT_EQ(dialog.text(), "Read Device Data:  100 %");
}

TEST_F(ProgressDialogTest, OutOfRangeCallsStayWithinTheBar) {
    dialog.setMaximum(0);
    dialog.setFormat("Read Device Data:%5.0f %%");
    dialog.setPosition(5);
    EXPECT_EQ(dialog.barWidth(), 27);
    dialog.setMaximum(100);
    dialog.setPosition(-40);
    EXPECT_EQ(dialog.barWidth(), 27);
    dialog.setPosition(1000);
    EXPECT_EQ(dialog.barWidth(), 516);
}

TEST_F(ProgressDialogTest, WorkerThreadsDriveItWhileTheWindowPaints) {
    dialog.setMaximum(1000);
    dialog.setFormat("Update Display Data:%5.0f %%");
    dialog.showDialog();
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int p = 0; p <= 1000; p += 50) dialog.setPosition(p);
        dialog.hideDialog();
        done = true;
    });
    ASSERT_TRUE(processUntil([&] { return done.load(); }));
    worker.join();
    processQueued();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.barWidth(), 516);
}

TEST_F(ProgressDialogTest, ShowingAndClosing) {
    owner.setGeometry(100, 100, 1077, 681);
    dialog.showDialog();
    processQueued();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.pos(), QPoint((100 + 100 + 1077 - 541) / 2, (100 + 100 + 681 - 161) / 2));
    dialog.setPosition(30);
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.text(), "");
    EXPECT_EQ(dialog.barWidth(), 27);
}

// A download offers Cancel; a click is remembered until Cancel is offered again.
TEST_F(ProgressDialogTest, CancelIsOfferedPressedAndTakenAway) {
    Language::set(Language::English);
    dialog.showDialog();
    dialog.setCancellable(true);
    processQueued();
    QPushButton* cancel = dialog.cancelButton();
    ASSERT_TRUE(cancel->isVisible());
    EXPECT_EQ(cancel->text(), "Cancel");
    EXPECT_TRUE(dialog.rect().contains(cancel->geometry()));
    EXPECT_FALSE(dialog.cancelled());
    cancel->click();
    EXPECT_TRUE(dialog.cancelled());
    dialog.setCancellable(false);
    processQueued();
    EXPECT_FALSE(cancel->isVisible());
    EXPECT_TRUE(dialog.cancelled());
    dialog.setCancellable(true);
    EXPECT_FALSE(dialog.cancelled());
}

}  // namespace
