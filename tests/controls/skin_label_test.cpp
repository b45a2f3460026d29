#include "controls/skin_label.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "resources/skin_ids.h"

namespace {

class LabelTest : public testing::Test {
protected:
    void SetUp() override {
        parent.resize(600, 300);
        parent.show();
        skin.loadSkin(SkinId::MainWindow);
    }
    QWidget parent;
    DrawingSurface skin;
};

TEST_F(LabelTest, ALongSingleLineTextWidensItsBoxAboutTheCentre) {
    SkinLabel label(&parent);
    label.create({100, 100, 40, 20});
    label.setBackground(&skin);
    label.setTextStyle(14, QString::fromUtf8("微软雅黑"), 0xC89D9D9D, 0x25);
    label.setText("A text far longer than the label");
    QRectF box = label.textBox();
    EXPECT_GT(box.width(), 39);
    EXPECT_NEAR(box.center().x(), 19.5, 0.01);
    EXPECT_DOUBLE_EQ(box.top(), 0);

    label.setText("Hi");
    EXPECT_EQ(label.textBox(), QRectF(0, 0, 39, 19));
}

TEST_F(LabelTest, BackgroundIsTheSkinBeneathOrTheNoSourceFill) {
    SkinLabel plain(&parent);
    plain.create({0, 0, 30, 10});
    plain.setBackground(nullptr);
    EXPECT_EQ(plain.picture().pixel(15, 5), 0xFFF0F0F0u);

    SkinLabel onSkin(&parent);
    onSkin.create({200, 200, 30, 10});
    onSkin.setBackground(&skin);
    EXPECT_EQ(onSkin.picture().pixel(15, 5) | 0xFF000000,
              skin.image().pixel(215, 205) | 0xFF000000);
}

TEST_F(LabelTest, TextChangesTheDrawingAndIsKeptByTheControl) {
    SkinLabel label(&parent);
    label.create({100, 60, 85, 18});
    label.setBackground(&skin);
    label.setTextStyle(14, QString::fromUtf8("微软雅黑"), 0xFFFFFFFF, 0x126);
    QImage empty = label.picture().copy();
    label.setText("AUDIO");
    EXPECT_EQ(label.text(), "AUDIO");
    EXPECT_NE(label.picture(), empty);
    DrawingSurface target(QRect(0, 0, 600, 300));
    label.drawToSurface(target, 1);
    EXPECT_EQ(target.image().pixel(150, 70), label.picture().pixel(50, 10));
}

}  // namespace
