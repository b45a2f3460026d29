#include "platform/qt/message_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include "support/qt_wait.h"

namespace {

class MessageBoxTest : public testing::Test {
protected:
    void TearDown() override { MessageBox::setObserver(nullptr); }
};

TEST_F(MessageBoxTest, TheObserverReadsTheOpenBoxAndItsAnswerClosesIt) {
    std::vector<MessageBox::Request> seen;
    MessageBox::setObserver([&](const MessageBox::Request& r) -> std::optional<MessageBox::Answer> {
        seen.push_back(r);
        EXPECT_EQ(MessageBox::openCount(), 1);
        return MessageBox::Answer::No;
    });
    QWidget owner;
    auto answer = MessageBox::show(
        &owner, {"Whether to exit the program!", "Tip!", 2, MessageBox::Buttons::YesNo});
    EXPECT_EQ(answer, MessageBox::Answer::No);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Whether to exit the program!");
    EXPECT_EQ(seen[0].caption, "Tip!");
    EXPECT_EQ(MessageBox::openCount(), 0);
}

TEST_F(MessageBoxTest, ABoxBlocksUntilItIsAnswered) {
    bool answered = false;
    QTimer::singleShot(0, [&] {
        // The box is open and its caller still waits.
        ASSERT_TRUE(processUntil([] { return MessageBox::openCount() == 1; }));
        EXPECT_EQ(MessageBox::innermost()->text, "The Program is Running!");
        answered = true;
        EXPECT_TRUE(MessageBox::answerInnermost(MessageBox::Answer::Yes));
    });
    auto answer = MessageBox::show(nullptr, {"The Program is Running!", "", 0});
    EXPECT_TRUE(answered);
    EXPECT_EQ(answer, MessageBox::Answer::Yes);
    EXPECT_FALSE(MessageBox::answerInnermost(MessageBox::Answer::Yes));
}

TEST_F(MessageBoxTest, EnterOnAQuestionGivesTheSafeAnswer) {
    for (auto buttons : {MessageBox::Buttons::YesNo, MessageBox::Buttons::OkCancel}) {
        QTimer::singleShot(0, [] {
            ASSERT_TRUE(processUntil([] { return QApplication::activeModalWidget() != nullptr; }));
            QWidget* box = QApplication::activeModalWidget();
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(box, &enter);
        });
        EXPECT_EQ(MessageBox::show(nullptr, {"Delete the file a.qmx?", "", 2, buttons}),
                  MessageBox::Answer::No);
    }
}

TEST_F(MessageBoxTest, NestedBoxesCloseInnermostFirst) {
    std::vector<QString> order;
    MessageBox::setObserver([&](const MessageBox::Request& r) -> std::optional<MessageBox::Answer> {
        if (r.text == "outer") {
            MessageBox::setObserver([&](const MessageBox::Request& inner) {
                order.push_back(inner.text);
                return std::optional(MessageBox::Answer::Yes);
            });
            MessageBox::show(nullptr, {"inner", "", 2});
            order.push_back("after inner");
            return MessageBox::Answer::Yes;
        }
        return std::nullopt;
    });
    MessageBox::show(nullptr, {"outer", "", 2});
    EXPECT_EQ(order, (std::vector<QString>{"inner", "after inner"}));
}

TEST(MessageBoxTexts, ButtonsSpeakTheGivenLanguage) {
    EXPECT_EQ(MessageBox::okText(0), QString::fromUtf8("确定"));
    EXPECT_EQ(MessageBox::okText(1), QString::fromUtf8("確定"));
    EXPECT_EQ(MessageBox::okText(2), "OK");
    EXPECT_EQ(MessageBox::okText(-1), "OK");
    EXPECT_EQ(MessageBox::okText(3), "OK");
    EXPECT_TRUE(MessageBox::yesText(0).startsWith(QString::fromUtf8("是")));
    EXPECT_TRUE(MessageBox::noText(1).startsWith(QString::fromUtf8("否")));
    EXPECT_EQ(MessageBox::yesText(2), "&Yes");
}

}  // namespace
