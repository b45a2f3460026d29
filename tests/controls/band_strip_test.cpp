#include <gtest/gtest.h>

#include <QLineEdit>

#include "controls/band_strip.h"
#include "support/qt_wait.h"
#include "synthetic_input.h"

using namespace SyntheticInput;
using Report = SignalRecorder::Report;

namespace {

// One strip as the output page places it: layout row 1 at design size.
class StripTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(200, 300);
        strip = new BandStrip(&parent);
        strip->create(QRect(41, 6, 52, 189));
        parent.listen(strip, &BandStrip::subValueChanged);
        strip->setSkin(nullptr);
        strip->setStripIndex(3);
        parent.show();
        processQueued();
        // The window's first focus lands in a box; leaving it would report the box.
        strip->setFocus();
        processQueued();
        parent.reports.clear();
    }

    void type(int sub, const QString& text) {
        QLineEdit* box = strip->box(sub);
        box->setFocus();
        box->selectAll();
        box->setText(text);
        key(box, Qt::Key_Return);
    }

    Report last() const { return parent.reports.back(); }

    SignalRecorder parent;
    BandStrip* strip = nullptr;
};

}  // namespace

TEST_F(StripTest, StartsAtZeroGain1kHzAndQ04) {
    EXPECT_EQ(strip->boxText(0), "0.0");
    EXPECT_EQ(strip->boxText(1), "1000");
    EXPECT_EQ(strip->boxText(2), "0.40");
    EXPECT_EQ(strip->subValue(3), 7);
}

TEST_F(StripTest, TypedFrequencySnapsToTheTableOnEnter) {
    type(1, "1005");
    EXPECT_EQ(strip->boxText(1), "1020");
    EXPECT_EQ(strip->subValue(1), 1020);
    EXPECT_EQ(last(), (Report{1}));
    type(1, "15");
    EXPECT_EQ(strip->boxText(1), "19.7");
}

TEST_F(StripTest, TextThatIsNotANumberIsRefusedAndANumberOutsideIsClamped) {
    struct Case {
        int box;
        const char* typed;
        const char* shown;
        bool reported;
    };
    for (Case c :
         {Case{0, "abc", "0.0", false}, Case{1, "x", "1000", false}, Case{2, "nan", "0.40", false},
          Case{0, "-99", "-24.0", true}, Case{0, "50", "12.0", true},
          Case{1, "99999", "20600", true}, Case{1, "5", "10.5", true}, Case{1, "1,5", "10.5", true},
          Case{0, "-3,5", "-3.5", true}}) {
        strip->setSubValue(0, 0);
        strip->setSubValue(1, 1000);
        strip->setSubValue(2, 0.4);
        processQueued();
        parent.reports.clear();
        type(c.box, c.typed);
        EXPECT_EQ(strip->boxText(c.box), c.shown) << c.typed;
        EXPECT_EQ(!parent.reports.empty(), c.reported) << c.typed;
    }
}

TEST_F(StripTest, LeavingABoxAppliesWhatWasTyped) {
    QLineEdit* q = strip->box(2);
    q->setFocus();
    processQueued();
    q->setText("1.1");
    strip->box(0)->setFocus();
    processQueued();
    EXPECT_EQ(strip->boxText(2), "1.12");
    EXPECT_EQ(last(), (Report{2}));
}

TEST_F(StripTest, ArrowKeysAtTheEndsOfTheTables) {
    strip->setSubValue(1, 19.7);
    key(strip, Qt::Key_Left);
    EXPECT_EQ(strip->boxText(1), "10.5");
    key(strip, Qt::Key_Left);
    EXPECT_EQ(strip->boxText(1), "10.5");
    strip->setSubValue(1, 20600);
    key(strip, Qt::Key_Right);
    EXPECT_EQ(strip->boxText(1), "20600");
    strip->setSubValue(0, 12);
    key(strip, Qt::Key_Up);
    EXPECT_EQ(strip->subValue(0), 12.0);
    key(strip, Qt::Key_Down);
    EXPECT_EQ(strip->subValue(0), 11.9);
    EXPECT_EQ(last(), (Report{0}));
}

TEST_F(StripTest, ArrowKeysWorkWhileABoxHasTheFocus) {
    strip->box(2)->setFocus();
    processQueued();
    key(strip->box(2), Qt::Key_Right);
    EXPECT_EQ(strip->boxText(1), "1020");
    EXPECT_EQ(last(), (Report{1}));
}

TEST_F(StripTest, WheelStepsTheFocusedBox) {
    strip->setSubValue(2, 128);
    strip->box(2)->setFocus();
    processQueued();
    wheel(strip, QPointF(26, 100), 1);
    EXPECT_EQ(strip->boxText(2), "128");
    wheel(strip, QPointF(26, 100), -1);
    EXPECT_EQ(strip->boxText(2), "121");
    EXPECT_EQ(last(), (Report{2}));
    strip->setFocus();
    processQueued();
    wheel(strip, QPointF(26, 100), 1);
    EXPECT_EQ(strip->boxText(0), "0.1") << "any other focus steps the gain";
}

TEST_F(StripTest, ClickingTheTrackStepsByOneTenth) {
    QRectF thumb = strip->thumbRect();
    click(strip, QPointF(thumb.center().x(), thumb.top() - 8));
    EXPECT_EQ(strip->subValue(0), 0.1);
    click(strip, QPointF(thumb.center().x(), thumb.bottom() + 20));
    click(strip, QPointF(thumb.center().x(), thumb.bottom() + 20));
    EXPECT_EQ(strip->subValue(0), -0.1);
    EXPECT_EQ(last(), (Report{0}));
    EXPECT_TRUE(strip->focusedLook());
}

TEST_F(StripTest, DraggingTheThumbToTheEnds) {
    QPointF thumb = strip->thumbRect().center();
    drag(strip, thumb, QPointF(thumb.x(), -50));
    EXPECT_EQ(strip->subValue(0), 12.0);
    EXPECT_FALSE(strip->dragging());
    thumb = strip->thumbRect().center();
    drag(strip, thumb, QPointF(thumb.x(), 500));
    EXPECT_EQ(strip->subValue(0), -24.0);
    thumb = strip->thumbRect().center();
    press(strip, thumb);
    move(strip, QPointF(thumb.x(), thumb.y() + 10));
    double shown = strip->subValue(0);
    EXPECT_EQ(strip->boxText(0), QString::asprintf("%0.1f", shown));
    EXPECT_EQ(last(), (Report{0}));
    release(strip, QPointF(thumb.x(), thumb.y() + 10));
}

TEST_F(StripTest, TypeIcons) {
    click(strip, strip->iconRect(1).center());
    EXPECT_EQ(strip->subValue(3), 5);
    EXPECT_EQ(last(), (Report{3}));
    click(strip, strip->iconRect(2).center());
    EXPECT_EQ(strip->subValue(3), 6);
    strip->setIconsShown(false);
    click(strip, strip->iconRect(0).center());
    EXPECT_EQ(strip->subValue(3), 6);
}

TEST_F(StripTest, SetSubValueSnapsAndDoesNotNotify) {
    strip->setSubValue(1, 99.5);
    EXPECT_EQ(strip->boxText(1), "101");
    strip->setSubValue(2, 0.44);
    EXPECT_EQ(strip->boxText(2), "0.45");
    strip->setSubValue(0, 40);
    EXPECT_EQ(strip->boxText(0), "12.0");
    strip->setSubValue(0, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(strip->boxText(0), "12.0");
    strip->setSubValue(1, 25.3);
    EXPECT_EQ(strip->subValue(1), 25.3);
    EXPECT_TRUE(parent.reports.empty());
    EXPECT_TRUE(strip->focusedLook());
}

TEST_F(StripTest, HiddenOrDisabledStripsIgnoreTheMouse) {
    QRectF thumb = strip->thumbRect();
    strip->setInputEnabled(false);
    click(strip, QPointF(thumb.center().x(), thumb.top() - 8));
    strip->setInputEnabled(true);
    strip->setShown(false);
    click(strip, QPointF(thumb.center().x(), thumb.top() - 8));
    EXPECT_TRUE(parent.reports.empty());
    EXPECT_EQ(strip->subValue(0), 0);
}

TEST_F(StripTest, HiddenOrDisabledStripsTakeNoKeysNorWheel) {
    const struct {
        const char* what;
        bool enabled, shown;
    } cases[] = {{"disabled", false, true}, {"hidden", true, false}};
    for (const auto& c : cases) {
        strip->setInputEnabled(c.enabled);
        strip->setShown(c.shown);
        QWidget* target = c.shown ? static_cast<QWidget*>(strip->box(1)) : strip;
        target->setFocus();
        processQueued();
        key(target, Qt::Key_Right);
        key(target, Qt::Key_Up);
        wheel(strip, QPointF(26, 100), 1);
        parent.setFocus();  // leaving the box must not report it either
        processQueued();
        EXPECT_TRUE(parent.reports.empty()) << c.what;
        EXPECT_EQ(strip->boxText(1), "1000") << c.what;
        EXPECT_EQ(strip->boxText(0), "0.0") << c.what;
    }
}

TEST_F(StripTest, TheHandCursorLastsOnlyAsLongAsTheDrag) {
    QPointF thumb = strip->thumbRect().center();
    press(strip, thumb);
    EXPECT_EQ(strip->cursor().shape(), Qt::PointingHandCursor);
    release(strip, thumb);
    EXPECT_FALSE(strip->testAttribute(Qt::WA_SetCursor));
}

TEST_F(StripTest, ResizingKeepsValuesAndTinySizesAreHarmless) {
    strip->setSubValue(3, 6);
    strip->setSubValue(0, -3.5);
    for (QSize size : {QSize(0, 0), QSize(1, 1), QSize(104, 378)}) {
        strip->resize(size);
        processQueued();
        (void)strip->grab();
        click(strip, QPointF(0, 0));
    }
    EXPECT_EQ(strip->subValue(3), 6);
    EXPECT_EQ(strip->boxText(0), "-3.5");
}
