#include "controls/skin_button.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "resources/skin_ids.h"
#include "support/mouse_events.h"
#include "support/qt_wait.h"
#include "synthetic_input.h"

namespace {

class ButtonTest : public testing::Test {
protected:
    void SetUp() override {
        parent.resize(400, 200);
        parent.show();
        skin.loadSkin(SkinId::MainWindow);
    }
    SkinButton& make(QRect rect, SkinId png, int checkType = 0) {
        buttons.push_back(std::make_unique<SkinButton>(&parent));
        SkinButton& b = *buttons.back();
        b.create(rect);
        b.setImage(&skin, png);
        parent.listen(&b, &SkinButton::clicked);
        b.setCheckType(checkType);
        b.setTextStyle(12, QString::fromUtf8("微软雅黑"), 0xC8000000, 0x25, 0xC8FAFAFA);
        return b;
    }
    SignalRecorder parent;
    DrawingSurface skin;
    std::vector<std::unique_ptr<SkinButton>> buttons;
};

TEST_F(ButtonTest, FrameCountIsTheStripWidthOverTheButtonWidth) {
    EXPECT_EQ(make({0, 0, 170, 18}, SkinId::WideButton).frameCount(), 4);   // 680 / 170
    EXPECT_EQ(make({0, 20, 200, 18}, SkinId::WideButton).frameCount(), 3);  // 680 / 200
    // A strip narrower than the button still has its one frame.
    EXPECT_EQ(make({0, 40, 390, 18}, SkinId::Button).frameCount(), 1);
}

TEST_F(ButtonTest, AToggleFlipsOnEachClickAndReportsItOnceTheClickIsDone) {
    SkinButton& b = make({10, 10, 71, 21}, SkinId::NavigationButton, 1);
    click(&b, {30, 10});
    EXPECT_EQ(b.checkType(), 2);
    EXPECT_EQ(b.currentFrame(), 1);
    EXPECT_EQ(b.currentTextColour().rgba(), 0xC8FAFAFAu);
    EXPECT_TRUE(parent.reports.empty());  // posted, not sent
    processQueued();
    EXPECT_EQ(parent.reports.size(), 1u);

    click(&b, {30, 10});
    EXPECT_EQ(b.checkType(), 1);
    EXPECT_EQ(b.currentFrame(), 0);

    SkinButton& push = make({10, 40, 77, 18}, SkinId::Button, 0);
    click(&push, {30, 9});
    EXPECT_EQ(push.checkType(), 0);
    processQueued();
    EXPECT_EQ(parent.reports.size(), 3u);
}

TEST_F(ButtonTest, ReleasingOutsideAfterPressingInsideStillToggles) {
    SkinButton& b = make({10, 10, 71, 21}, SkinId::NavigationButton, 1);
    sendMouse(&b, QEvent::MouseButtonPress, {30, 10});
    EXPECT_TRUE(b.pressed());
    sendMouse(&b, QEvent::MouseMove, {300, 150});
    sendMouse(&b, QEvent::MouseButtonRelease, {300, 150});
    EXPECT_EQ(b.checkType(), 2);
    EXPECT_FALSE(b.pressed());
    EXPECT_FALSE(b.hovering());
    processQueued();
    EXPECT_EQ(parent.reports.size(), 1u);
}

TEST_F(ButtonTest, APressOutsideTheFaceDoesNothing) {
    SkinButton& b = make({10, 10, 71, 21}, SkinId::NavigationButton, 1);
    b.resize(71, 21);
    sendMouse(&b, QEvent::MouseButtonPress, {80, 10});
    EXPECT_FALSE(b.pressed());
    sendMouse(&b, QEvent::MouseButtonRelease, {80, 10});
    EXPECT_EQ(b.checkType(), 1);
    processQueued();
    EXPECT_TRUE(parent.reports.empty());
}

TEST_F(ButtonTest, HoverDrawsTheHoverFrameOverTheFace) {
    SkinButton& b = make({10, 10, 71, 21}, SkinId::NavigationButton, 1);
    QImage plain = b.picture().copy();
    sendMouse(&b, QEvent::MouseMove, {30, 10});
    EXPECT_TRUE(b.hovering());
    EXPECT_NE(b.picture(), plain);
    sendMouse(&b, QEvent::MouseMove, {0, 0});  // the outermost pixel is outside the hover area
    EXPECT_FALSE(b.hovering());
    EXPECT_EQ(b.picture(), plain);
}

TEST_F(ButtonTest, AHiddenOrDisabledButtonIgnoresTheMouse) {
    SkinButton& hidden = make({10, 10, 71, 21}, SkinId::NavigationButton, 1);
    hidden.setShown(false);
    sendMouse(&hidden, QEvent::MouseMove, {30, 10});
    click(&hidden, {30, 10});
    EXPECT_FALSE(hidden.hovering());
    EXPECT_EQ(hidden.checkType(), 1);

    SkinButton& disabled = make({10, 40, 71, 21}, SkinId::NavigationButton, 1);
    disabled.setInputEnabled(false);
    sendMouse(&disabled, QEvent::MouseMove, {30, 10});
    click(&disabled, {30, 10});
    EXPECT_FALSE(disabled.hovering());
    EXPECT_EQ(disabled.checkType(), 1);
    processQueued();
    EXPECT_TRUE(parent.reports.empty());

    // Hidden, the button shows only what lies under it.
    QImage under = skin.image().copy(ControlSurface::rectInRoot(&hidden));
    EXPECT_EQ(hidden.picture().convertToFormat(QImage::Format_RGB32),
              under.convertToFormat(QImage::Format_RGB32));
}

TEST_F(ButtonTest, WithoutABackgroundSourceTheButtonSitsOnLightGrey) {
    SkinButton b(&parent);
    b.create({0, 0, 40, 20});
    b.setImage(nullptr, SkinId::None);
    EXPECT_EQ(b.picture().pixel(20, 10), 0xFFF0F0F0u);
}

TEST_F(ButtonTest, TextIsCentredInItsMeasuredBoxAndAnEmptyCaptionDrawsNothing) {
    SkinButton& b = make({10, 10, 79, 23}, SkinId::StatusButton, 1);
    QImage blank = b.picture().copy();
    b.setText("Search..");
    QRectF box = b.textBox();
    EXPECT_NEAR(box.center().x(), (79 - 1) / 2.0, 1.0);
    EXPECT_NEAR(box.center().y(), (23 - 1) / 2.0, 1.0);
    EXPECT_LT(box.width(), 79);
    EXPECT_NE(b.picture(), blank);
    b.setText("");
    EXPECT_EQ(b.picture(), blank);
}

TEST_F(ButtonTest, DrawToSurfaceCopiesThePictureAtItsPlace) {
    SkinButton& b = make({100, 50, 71, 21}, SkinId::NavigationButton, 2);
    DrawingSurface target(QRect(0, 0, 400, 200));
    target.fill(QRect(0, 0, 400, 200), Qt::black);
    b.drawToSurface(target, 1);
    EXPECT_EQ(target.image().pixel(135, 60), b.picture().pixel(35, 10));
    EXPECT_EQ(target.image().pixel(50, 60), QColor(Qt::black).rgb());
}

}  // namespace
