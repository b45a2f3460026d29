#include <gtest/gtest.h>

#include <QImage>

#include "app/cmem_dc_class.h"
#include "controls/cpel_new_scope.h"
#include "support/qt_wait.h"
#include "synthetic_input.h"

using namespace SyntheticInput;
using Message = MessageRecorder::Message;

namespace {

// The output page's graph at design size, initialised as the page does it.
class ScopeWidgetTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(1100, 600);
        scope = new CPel_NewScope(&parent);
        scope->create(2245, QRect(13, 199, 1051, 359));
        scope->limits().highPassMin = 19.0;
        scope->limits().lowPassMin = 19.0;
        scope->Initialise(8);
        scope->options().contextMenu = true;
        parent.show();
        processQueued();
    }

    QPointF marker(int slot) const {
        const ScopeModel& m = scope->model();
        return QPointF(m.plot().left + m.slot(slot).markerX, m.zeroLine() + m.slot(slot).markerY);
    }

    MessageRecorder parent;
    CPel_NewScope* scope = nullptr;
};

}  // namespace

TEST_F(ScopeWidgetTest, DraggingABandToTheEdgesGivesExactLimits) {
    scope->SetBandFrequency(2, 1000);
    QPointF at = marker(4);
    drag(scope, at, QPointF(at.x(), -30));
    EXPECT_EQ(scope->GetBandGain(2), 12.0);
    drag(scope, QPointF(at.x(), marker(4).y()), QPointF(at.x(), 2000));
    EXPECT_EQ(scope->GetBandGain(2), -24.0);
    ASSERT_FALSE(parent.messages.empty());
    EXPECT_EQ(parent.messages.back(), (Message{2245, 0, 2}));
    EXPECT_EQ(scope->model().draggedSlot(), -1);
}

TEST_F(ScopeWidgetTest, DraggedFrequencySnapsToTheTableOnRelease) {
    QPointF at = marker(2);
    int to = scope->model().plot().left + scope->model().markerXOf(2000);
    drag(scope, at, QPointF(to + 2, at.y()));
    double f = scope->GetBandFrequency(0);
    EXPECT_GE(f, 2000);
    EXPECT_LE(f, 2060);
    EXPECT_EQ(scope->model().slot(2).markerX, scope->model().markerXOf(f));
}

TEST_F(ScopeWidgetTest, ArrowKeysStepTheCrossoversAtTheirEnds) {
    scope->SetCrossoverFrequency(0, 19.7);
    scope->setFocus();
    key(scope, Qt::Key_Up);
    EXPECT_EQ(scope->GetCrossoverFrequency(0), 19.7);
    EXPECT_TRUE(parent.messages.empty());
    scope->SetCrossoverFrequency(1, 20600);
    key(scope, Qt::Key_Up);
    EXPECT_EQ(scope->GetCrossoverFrequency(1), 20200);
    EXPECT_EQ(parent.messages.back(), (Message{2245, 2, 0}));
    key(scope, Qt::Key_Down);
    EXPECT_EQ(scope->GetCrossoverFrequency(1), 20600);
}

TEST_F(ScopeWidgetTest, WheelStepsTheSelectedBandGain) {
    scope->SetBandGain(5, -0.3);
    wheel(scope, QPointF(300, 100), 1);
    EXPECT_EQ(scope->GetBandGain(5), -0.2);
    wheel(scope, QPointF(300, 100), -2);
    EXPECT_EQ(scope->GetBandGain(5), -0.4);
    EXPECT_EQ(parent.messages.back(), (Message{2245, 0, 5}));
}

TEST_F(ScopeWidgetTest, ContextMenuCopyAndPaste) {
    click(scope, QPointF(600, 200), Qt::RightButton);
    EXPECT_EQ(scope->model().menuState(), ScopeModel::MenuState::Copy);
    click(scope, QPointF(620, 210));
    EXPECT_EQ(parent.messages.back(), (Message{2245, 3, 0}));
    click(scope, QPointF(600, 200), Qt::RightButton);
    hover(scope, QPointF(620, 230));
    EXPECT_EQ(scope->model().menuState(), ScopeModel::MenuState::Paste);
    click(scope, QPointF(620, 230));
    EXPECT_EQ(parent.messages.back(), (Message{2245, 4, 0}));
    EXPECT_EQ(scope->model().menuState(), ScopeModel::MenuState::Hidden);
}

TEST_F(ScopeWidgetTest, OffCrossoversAreLabelledAndDrawFlat) {
    scope->SetCrossoverType(24);
    scope->SetCrossoverFrequency(0, 19.0);
    EXPECT_EQ(scope->model().labelText(), "F:OFF");
    scope->SetCrossoverFrequency(1, 20600);
    EXPECT_EQ(scope->model().labelText(), "F:OFF");
    for (int v : scope->model().total()) ASSERT_EQ(v, 0);
}

TEST_F(ScopeWidgetTest, ThePictureShowsThePeakWhereTheModelPutsIt) {
    scope->SetBandFrequency(3, 1000);
    scope->SetBandQ(3, 1.41);
    scope->SetBandGain(3, 6);
    const QImage& picture = scope->renderPicture();
    const ScopeModel& m = scope->model();
    int x = m.plot().left + m.slot(5).markerX + 40;  // beside the marker and its label
    int y = m.zeroLine() + m.total()[size_t(m.slot(5).markerX + 40)];
    bool curve = false;
    for (int dy = -2; dy <= 2; ++dy) {
        QColor c = picture.pixelColor(x, y + dy);
        if (c.red() > 150 && c.blue() > 150 && c.green() < 100) curve = true;
    }
    EXPECT_TRUE(curve) << "the magenta total curve runs through the model's point";
    EXPECT_EQ(picture.pixelColor(3, 3), QColor(0x15, 0x20, 0x30));
}

TEST_F(ScopeWidgetTest, EqPassShowsTheBannerWithoutChangingBands) {
    QImage before = scope->renderPicture().copy();
    scope->SetEqEnabled(false);
    EXPECT_FALSE(scope->GetEqEnabled());
    EXPECT_NE(scope->renderPicture(), before);
    scope->SetEqEnabled(true);
    EXPECT_EQ(scope->renderPicture(), before);
}

TEST_F(ScopeWidgetTest, DrawToSurfaceCopiesThePictureAtItsPlace) {
    CMemDcClass target;
    target.recreate(0, 0, 1100, 600);
    scope->DrawToSurface(target, true);
    QImage picture = scope->renderPicture();
    EXPECT_EQ(target.image().pixelColor(13 + 5, 199 + 5), picture.pixelColor(5, 5));
    EXPECT_EQ(target.image().pixelColor(5, 5), QColor(240, 240, 240));
}

TEST_F(ScopeWidgetTest, AnimationRunsWhileShown) {
    scope->OnShow(1);
    EXPECT_EQ(scope->model().selectedSlot(), 2);
    int frame = scope->model().animationFrame();
    EXPECT_TRUE(processUntil([&] { return scope->model().animationFrame() != frame; }));
    scope->OnShow(0);
    frame = scope->model().animationFrame();
    processQueued();
    EXPECT_EQ(scope->model().animationFrame(), frame);
}

TEST_F(ScopeWidgetTest, TinyAndEmptySizesDrawWithoutFault) {
    scope->SetBandGain(0, 6);
    for (QSize size : {QSize(0, 0), QSize(1, 1), QSize(20, 10), QSize(49, 29)}) {
        scope->resize(size);
        processQueued();
        (void)scope->renderPicture();
        (void)scope->grab();
        press(scope, QPointF(0, 0));
        move(scope, QPointF(5, 5));
        release(scope, QPointF(5, 5));
    }
    scope->resize(1051, 359);
    processQueued();
    EXPECT_EQ(scope->GetBandGain(0), 6);
}
