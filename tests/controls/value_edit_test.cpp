#include <gtest/gtest.h>

#include <QLineEdit>

#include "controls/value_edit.h"
#include "support/qt_wait.h"
#include "synthetic_input.h"

using namespace SyntheticInput;
using Report = SignalRecorder::Report;

namespace {

class ValueEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent.resize(300, 200);
        box = new ValueEdit(&parent);
        box->create(QRect(10, 10, 60, 24));
        parent.listen(box, &ValueEdit::valueChanged);
        box->setFormat(QStringLiteral("%0.0f"));
        other = new QLineEdit(&parent);
        other->setGeometry(100, 10, 60, 24);
        parent.show();
        parent.activateWindow();
        processQueued();
    }

    // Types into the box and leaves it.
    void typeAndLeave(const QString& text) {
        box->edit()->setFocus();
        processQueued();
        box->edit()->setText(text);
        other->setFocus();
        processQueued();
    }

    SignalRecorder parent;
    ValueEdit* box = nullptr;
    QLineEdit* other = nullptr;
};

}  // namespace

TEST_F(ValueEditTest, TypedTextIsReadClampedAndReportedOnLeavingOrRefused) {
    struct Case {
        const char* typed;
        int value;  // 50: refused, the box keeps its value and says nothing
    };
    for (Case c :
         {Case{"120", 100}, Case{"abc", 50}, Case{"-5", 0}, Case{"7.9", 7}, Case{"7,9", 7},
          Case{"", 50}, Case{"4x2", 50}, Case{"30dB", 30}, Case{"99999999999999999999999", 100}}) {
        box->setValue(50);
        parent.reports.clear();
        typeAndLeave(QString::fromUtf8(c.typed));
        EXPECT_EQ(box->value(), c.value) << c.typed;
        // Gaining the focus reports 50, leaving it a new value.
        ASSERT_EQ(parent.reports.size(), c.value == 50 ? 1u : 2u) << c.typed;
        EXPECT_EQ(parent.reports[0], (Report{50})) << c.typed;
        EXPECT_EQ(parent.reports.back(), (Report{c.value})) << c.typed;
        EXPECT_EQ(box->edit()->text(), QString::number(c.value)) << c.typed;
    }
}

TEST_F(ValueEditTest, LeavingUnchangedSaysNothing) {
    box->setValue(30);
    parent.reports.clear();
    typeAndLeave(QStringLiteral("30"));
    EXPECT_EQ(parent.reports, (std::vector<Report>{{30}}));
    EXPECT_FALSE(box->focusedLook());
}

TEST_F(ValueEditTest, KeysAndWheelStepWithinTheLimitsAndAlwaysReport) {
    box->setValue(100);
    box->edit()->setFocus();
    processQueued();
    parent.reports.clear();
    key(box->edit(), Qt::Key_Up);
    EXPECT_EQ(parent.reports.back(), (Report{100}));
    box->edit()->setText(QStringLiteral("60"));
    key(box->edit(), Qt::Key_Return);
    EXPECT_EQ(parent.reports.back(), (Report{60}));
    key(box->edit(), Qt::Key_Down);
    wheel(box, QPointF(5, 5), -1);
    EXPECT_EQ(parent.reports.back(), (Report{58}));
    EXPECT_EQ(parent.reports.size(), 4u);
    EXPECT_TRUE(box->focusedLook());
}

TEST_F(ValueEditTest, ReadOnlyBoxIgnoresKeysAndWheel) {
    box->setValue(20);
    box->setEditable(false);
    parent.reports.clear();
    key(box->edit(), Qt::Key_Up);
    wheel(box, QPointF(5, 5), 1);
    EXPECT_TRUE(parent.reports.empty());
    EXPECT_EQ(box->value(), 20);
    EXPECT_FALSE(box->renderPicture().isNull());
}
