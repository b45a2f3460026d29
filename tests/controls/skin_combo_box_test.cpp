#include "controls/skin_combo_box.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QWidget>

#include "resources/skin_ids.h"
#include "support/qt_wait.h"
#include "synthetic_input.h"

namespace {

class ComboTest : public testing::Test {
protected:
    void SetUp() override {
        parent.resize(600, 300);
        parent.show();
        skin.loadSkin(SkinId::MainWindow);
        combo = std::make_unique<SkinComboBox>(&parent);
        combo->create(QRect(20, 30, 200, 100));
        for (const char* item : {"AUX1", "AUX2", "OPT"}) combo->addItem(item);
        parent.listen(combo.get(), &SkinComboBox::selectionChosen);
        combo->setSkin(&skin, SkinComboBox::Style::Header);
        processQueued();
    }
    SignalRecorder parent;
    DrawingSurface skin;
    std::unique_ptr<SkinComboBox> combo;
};

TEST_F(ComboTest, TheFaceScalesWithTheWidthAndKeepsTheSkinsProportions) {
    EXPECT_EQ(combo->width(), 200);
    EXPECT_EQ(combo->height(), 38);  // 19 x 200 / 100
    combo->picture();
    EXPECT_DOUBLE_EQ(combo->scale(), 2.0);
    EXPECT_EQ(combo->textRect(), QRect(QPoint(12, 2), QPoint(159, 35)));
}

TEST_F(ComboTest, ASelectionBeyondTheItemsShowsItemZero) {
    combo->setSelection(2);
    combo->picture();
    EXPECT_EQ(combo->selection(), 2);
    EXPECT_EQ(combo->faceText(), "OPT");
    combo->setSelection(9);
    EXPECT_EQ(combo->selection(), 0);
    combo->picture();
    EXPECT_EQ(combo->faceText(), "AUX1");
    // Items removed under a stored selection: drawn as item 0.
    combo->setSelection(2);
    combo->removeItem(2);
    combo->update();
    combo->setSelection(combo->selection());
    combo->picture();
    EXPECT_EQ(combo->faceText(), "AUX1");
}

TEST_F(ComboTest, AChoiceFromTheListIsReportedOnceTheEventIsDone) {
    emit combo->activated(1);
    EXPECT_EQ(combo->selection(), 1);
    EXPECT_TRUE(parent.reports.empty());
    processQueued();
    EXPECT_EQ(parent.reports.size(), 1u);
    combo->picture();
    EXPECT_EQ(combo->faceText(), "AUX2");
}

TEST_F(ComboTest, FocusShowsTheSecondFrame) {
    QFocusEvent out(QEvent::FocusOut);
    QApplication::sendEvent(combo.get(), &out);
    QImage unfocused = combo->picture().copy();
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(combo.get(), &in);
    EXPECT_TRUE(combo->focused());
    EXPECT_NE(combo->picture(), unfocused);
    QApplication::sendEvent(combo.get(), &out);
    EXPECT_FALSE(combo->focused());
    EXPECT_EQ(combo->picture(), unfocused);
}

TEST_F(ComboTest, AHiddenComboSwallowsClicksAndShowsItsBackground) {
    combo->setShown(false);
    sendMouse(combo.get(), QEvent::MouseButtonPress, {20, 10});
    EXPECT_FALSE(combo->view()->isVisible());
    QImage under = skin.image().copy(ControlSurface::rectInRoot(combo.get()));
    EXPECT_EQ(combo->picture().convertToFormat(QImage::Format_RGB32),
              under.convertToFormat(QImage::Format_RGB32));
}

}  // namespace

// The device says item 2; a wheel notch or a key may change that only on a
// combo the user is working in: focused, shown and enabled.
TEST_F(ComboTest, OnlyAFocusedShownEnabledComboTakesTheWheelAndKeys) {
    QWidget other(&parent);
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    parent.activateWindow();
    const struct {
        const char* what;
        bool focused;
        bool shown, enabled;
        bool takes;
    } cases[] = {
        {"unfocused", false, true, true, false},
        {"hidden", true, false, true, false},
        {"disabled", true, true, false, false},
        {"focused", true, true, true, true},
    };
    for (const auto& c : cases) {
        combo->setShown(c.shown);
        combo->setInputEnabled(c.enabled);
        combo->setSelection(1);
        EXPECT_EQ(combo->currentIndex(), 1) << "one selection, in the Qt combo too";
        (c.focused ? static_cast<QWidget*>(combo.get()) : &other)->setFocus();
        processQueued();
        ASSERT_EQ(combo->hasFocus(), c.focused) << c.what;
        parent.reports.clear();
        SyntheticInput::wheel(combo.get(), QPointF(10, 10), -1);
        processQueued();
        int posted = static_cast<int>(parent.reports.size());
        SyntheticInput::key(combo.get(), Qt::Key_Up);
        SyntheticInput::key(combo.get(), Qt::Key_Up);
        processQueued();
        // Down a notch to 2, then up twice to 0.
        EXPECT_EQ(posted, c.takes ? 1 : 0) << c.what;
        EXPECT_EQ(combo->selection(), c.takes ? 0 : 1) << c.what;
        EXPECT_EQ(parent.reports.size(), c.takes ? 3u : 0u) << c.what;
    }
}
