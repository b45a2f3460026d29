#include "app/qt_link_ui.h"

#include <gtest/gtest.h>

#include <QThread>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <thread>

#include "link/link_event.h"
#include "platform/qt/message_box.h"
#include "support/qt_wait.h"
#include "texts/language.h"

namespace {

class Window : public QWidget {
public:
    QtLinkUi::EventHandler handler() {
        return [this](int code, int argument) {
            events.push_back({code, argument});
            onUiThread = onUiThread && QThread::currentThread() == thread();
        };
    }
    std::vector<std::pair<int, int>> events;
    bool onUiThread = true;
};

class BridgeTest : public testing::Test {
protected:
    void SetUp() override { ui.attach(&window, window.handler()); }
    void TearDown() override { MessageBox::setObserver(nullptr); }
    Window window;
    QtLinkUi ui;
};

TEST_F(BridgeTest, PostedEventsArriveInOrderOnTheUserInterfaceThread) {
    std::thread link([&] {
        for (int i = 0; i < 1746; ++i) ui.postEvent(LinkEvent::ParameterReceived, i);
        ui.postEvent(LinkEvent::ReadComplete, 0);
    });
    link.join();
    EXPECT_TRUE(window.events.empty());
    ASSERT_TRUE(processUntil([&] { return window.events.size() == 1747; }));
    for (int i = 0; i < 1746; ++i)
        ASSERT_EQ(window.events[static_cast<size_t>(i)], std::make_pair(0, i));
    EXPECT_EQ(window.events.back(), std::make_pair(1, 0));
    EXPECT_TRUE(window.onUiThread);
}

TEST_F(BridgeTest, ASentEventIsHandledBeforeTheLinkGoesOn) {
    std::atomic<int> step{0};
    std::thread link([&] {
        ui.postEvent(LinkEvent::ParameterReceived, 5);
        ui.sendEvent(LinkEvent::ConnectionState, 0);
        // The window has handled the send (and the post before it) by now.
        step = static_cast<int>(window.events.size());
    });
    ASSERT_TRUE(processUntil([&] { return step.load() != 0; }));
    link.join();
    EXPECT_EQ(step.load(), 2);
    EXPECT_EQ(window.events[1], std::make_pair(4, 0));
}

TEST_F(BridgeTest, AMessageBoxHoldsTheLinkUntilItIsClosed) {
    std::atomic<int> answer{-1};
    int answerWhileOpen = 0;
    MessageBox::setObserver([&](const MessageBox::Request& r) -> std::optional<MessageBox::Answer> {
        EXPECT_EQ(r.text, "Equipment occupied!");
        EXPECT_EQ(r.language, Language::SimplifiedChinese);
        // The user answers a moment later, while the box's own loop runs.
        QTimer::singleShot(0, [&] {
            answerWhileOpen = answer.load();
            MessageBox::answerInnermost(MessageBox::Answer::Yes);
        });
        return std::nullopt;
    });
    std::thread link([&] {
        answer = ui.messageBox("Equipment occupied!", "QX7-USB", Language::SimplifiedChinese,
                               LinkUi::Buttons::YesNo);
    });
    ASSERT_TRUE(processUntil([&] { return answer.load() != -1; }));
    link.join();
    EXPECT_EQ(answerWhileOpen, -1);
    EXPECT_EQ(answer.load(), LinkUi::Yes);
}

TEST_F(BridgeTest, ClosingReleasesAWaitingLinkAndIgnoresLaterCalls) {
    std::atomic<bool> returned{false};
    std::thread link([&] {
        ui.sendEvent(LinkEvent::ConnectionState, 1);
        returned = true;
    });
    // The window never runs its events; closing lets the link go.
    ui.close();
    link.join();
    EXPECT_TRUE(returned.load());
    ui.postEvent(0, 1);
    ui.progressSetPosition(3);
    EXPECT_EQ(ui.messageBox("x", "", Language::English, LinkUi::Buttons::Ok), LinkUi::No);
    processQueued();
    EXPECT_TRUE(window.events.empty());
}

TEST_F(BridgeTest, TitleAndProgressReachTheWindow) {
    std::thread link([&] {
        ui.setWindowTitle("QX7-USB");
        ui.progressSetMaximum(1746);
        ui.progressSetFormat("Read Device Data:%5.0f %%");
        ui.progressSetPosition(873);
        ui.progressShow();
    });
    link.join();
    processQueued();
    EXPECT_EQ(window.windowTitle(), "QX7-USB");
    ASSERT_NE(ui.progressDialog(), nullptr);
    EXPECT_TRUE(ui.progressDialog()->isVisible());
    EXPECT_EQ(ui.progressDialog()->text(), "Read Device Data:   50 %");
    ui.progressHide();
    processQueued();
    EXPECT_FALSE(ui.progressDialog()->isVisible());
}

TEST_F(BridgeTest, AnotherWindowCanTakeTheEventsForAWhile) {
    Window routing;
    ui.setEventTarget(&routing, routing.handler());
    ui.postEvent(0, 1505);
    ui.setEventTarget(nullptr);
    ui.postEvent(0, 7);
    processQueued();
    ASSERT_EQ(routing.events.size(), 1u);
    ASSERT_EQ(window.events.size(), 1u);
    EXPECT_EQ(window.events[0].second, 7);
}

}  // namespace
