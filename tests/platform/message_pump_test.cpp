#include "platform/qt/message_pump.h"

#include <gtest/gtest.h>

#include <QThread>
#include <QWidget>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/qt/control_notification.h"
#include "platform/qt/cross_thread_caller.h"
#include "platform/qt/message_target.h"
#include "platform/qt/window_timer.h"
#include "support/qt_wait.h"
#include "support/wait_for.h"

namespace {

struct Received {
    unsigned message;
    intptr_t wParam;
    intptr_t lParam;
};

class RecordingWindow : public QWidget, public MessageTarget {
public:
    explicit RecordingWindow(QWidget* parent = nullptr) : QWidget(parent) {}

    intptr_t onMessage(unsigned message, intptr_t wParam, intptr_t lParam) override {
        received.push_back({message, wParam, lParam});
        onThread = QThread::currentThread() == thread();
        if (onReceive) onReceive(message);
        return wParam + lParam;
    }

    std::vector<Received> received;
    bool onThread = false;
    std::function<void(unsigned)> onReceive;
};

TEST(MessagePump, SendIsHandledBeforeItReturnsAndPostWaitsForTheQueue) {
    RecordingWindow window;
    EXPECT_TRUE(MessagePump::post(&window, 0x13AA, 0, 4));
    EXPECT_TRUE(window.received.empty());

    EXPECT_EQ(MessagePump::send(&window, 0x5860, 2, 3), 5);
    ASSERT_EQ(window.received.size(), 1u);
    EXPECT_EQ(window.received[0].message, 0x5860u);

    processQueued();
    ASSERT_EQ(window.received.size(), 2u);
    EXPECT_EQ(window.received[1].message, 0x13AAu);
    EXPECT_EQ(window.received[1].lParam, 4);
}

TEST(MessagePump, PostedMessagesKeepTheirOrderAcrossTargetsAndThreads) {
    RecordingWindow a, b;
    std::vector<int> order;
    a.onReceive = [&](unsigned m) { order.push_back(static_cast<int>(m)); };
    b.onReceive = [&](unsigned m) { order.push_back(static_cast<int>(m)); };
    std::thread worker([&] {
        for (int i = 0; i < 200; ++i) MessagePump::post(i % 2 ? &a : &b, 1000 + i, i, 0);
    });
    worker.join();
    processUntil([&] { return order.size() == 200; });
    ASSERT_EQ(order.size(), 200u);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(order[i], 1000 + i);
}

TEST(MessagePump, SendFromAnotherThreadRunsOnTheWindowsThreadAndWaits) {
    RecordingWindow window;
    std::atomic<intptr_t> result{-1};
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        result = MessagePump::send(&window, 0x401, 4, 0);
        returned = true;
    });
    ASSERT_TRUE(processUntil([&] { return returned.load(); }));
    worker.join();
    EXPECT_EQ(result.load(), 4);
    ASSERT_EQ(window.received.size(), 1u);
    EXPECT_TRUE(window.onThread);
}

TEST(MessagePump, MessagesToNoWindowAreRefused) {
    EXPECT_FALSE(MessagePump::post(nullptr, 1, 0, 0));
    EXPECT_EQ(MessagePump::send(nullptr, 1, 0, 0), 0);
    auto* window = new RecordingWindow;
    MessagePump::post(window, 1, 0, 0);
    delete window;
    processQueued();  // the queued message died with its window
}

TEST(CrossThreadCaller, AContextDestroyedBeforeTheCallRanReleasesTheCaller) {
    auto* context = new QObject;
    CrossThreadCaller caller(context);
    std::atomic<bool> returned{false};
    std::atomic<bool> ran{false};
    std::optional<intptr_t> result = 7;
    std::thread worker([&] {
        result = caller.call([&] {
            ran = true;
            return intptr_t{42};
        });
        returned = true;
    });
    ASSERT_TRUE(waitFor([&] { return caller.waiting() == 1; }));
    delete context;
    ASSERT_TRUE(waitFor([&] { return returned.load(); }));
    worker.join();
    EXPECT_FALSE(result.has_value());
    EXPECT_FALSE(ran.load());
}

TEST(CrossThreadCaller, CloseReleasesAWaitingCallerAndRefusesLaterCalls) {
    QObject context;
    CrossThreadCaller caller(&context);
    std::atomic<bool> returned{false};
    std::optional<intptr_t> result = 7;
    std::thread worker([&] {
        result = caller.call([] { return intptr_t{42}; });
        returned = true;
    });
    ASSERT_TRUE(waitFor([&] { return caller.waiting() == 1; }));
    EXPECT_FALSE(returned.load());
    caller.close();
    ASSERT_TRUE(waitFor([&] { return returned.load(); }, std::chrono::seconds(10)));
    worker.join();
    EXPECT_FALSE(result.has_value());
    // The dropped call never runs later on.
    processQueued();
    EXPECT_FALSE(caller.call([] { return intptr_t{1}; }).has_value());
}

TEST(CrossThreadCaller, ReturnsTheResultOfTheCallOnTheContextsThread) {
    QObject context;
    CrossThreadCaller caller(&context);
    std::atomic<bool> returned{false};
    std::optional<intptr_t> result;
    std::thread worker([&] {
        result =
            caller.call([&] { return intptr_t{QThread::currentThread() == context.thread()}; });
        returned = true;
    });
    ASSERT_TRUE(processUntil([&] { return returned.load(); }));
    worker.join();
    EXPECT_EQ(result, 1);
    // On its own thread the call runs at once.
    EXPECT_EQ(caller.call([] { return intptr_t{9}; }), 9);
}

TEST(ControlNotification, ReachesTheParentWithTheControlIdAsMessageNumber) {
    RecordingWindow parent;
    QWidget control(&parent);
    EXPECT_TRUE(ControlNotification::post(&control, 0x13AA, 3, 3));
    EXPECT_TRUE(parent.received.empty());
    processQueued();
    ASSERT_EQ(parent.received.size(), 1u);
    EXPECT_EQ(parent.received[0].message, 0x13AAu);
    EXPECT_EQ(parent.received[0].wParam, 3);
    EXPECT_EQ(parent.received[0].lParam, 3);

    EXPECT_EQ(ControlNotification::send(&control, 2024, 5, 1), 6);
    EXPECT_EQ(parent.received.size(), 2u);

    QWidget orphan;
    EXPECT_FALSE(ControlNotification::post(&orphan, 1, 0, 0));
}

TEST(WindowTimer, DeliversTheTimerMessageWithItsNumberUntilKilled) {
    RecordingWindow window;
    WindowTimer timers(&window);
    timers.set(1, 5);
    timers.set(7, 5);
    ASSERT_TRUE(processUntil([&] {
        bool one = false, seven = false;
        for (auto& r : window.received) {
            one |= r.message == WindowMessage::Timer && r.wParam == 1;
            seven |= r.message == WindowMessage::Timer && r.wParam == 7;
        }
        return one && seven;
    }));
    EXPECT_TRUE(timers.kill(1));
    EXPECT_FALSE(timers.kill(1));
    EXPECT_FALSE(timers.running(1));
    EXPECT_TRUE(timers.running(7));
    window.received.clear();
    ASSERT_TRUE(processUntil([&] { return window.received.size() >= 3; }));
    for (auto& r : window.received) EXPECT_EQ(r.wParam, 7);
}

}  // namespace
