#include "platform/qt/cross_thread_caller.h"

#include <gtest/gtest.h>

#include <QObject>
#include <QThread>
#include <atomic>
#include <thread>

#include "support/qt_wait.h"
#include "support/wait_for.h"

namespace {

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

}  // namespace
