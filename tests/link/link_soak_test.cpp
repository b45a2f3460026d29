#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <thread>

#include "link/link_event.h"
#include "support/sim_link_harness.h"
#include "support/wait_for.h"

namespace {

constexpr int kWrites = 2000;

// Indices the link itself owns: 0 holds the magic and is never written, 1630
// is the presence word rewritten by every keep-alive.
bool writable(int index) {
    return index != Mirror::kMagic && index != Mirror::kPresence;
}

// 2000 random edits from a second thread while the link runs against a device
// that drops 5% of its replies and damages 1% of their bytes. Once the link is
// quiet, nothing is pending, the mirror holds the device, and the device holds
// every last edit: an edit still pending when the link was lost (a run of
// damaged acknowledgements can outlast the silence limit) is sent after the
// reconnection.
TEST(LinkSoak, RandomEditsOnALossyLineLeaveMirrorAndDeviceInStep) {
    SimLinkHarness h(kLinkTestSpeed, 7);
    SimFaults faults;
    faults.dropReplies = 0.05;
    faults.corruptBytes = 0.01;
    h.device.setFaults(faults);
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.waitForFullReads(1));
    Mirror& mirror = h.link.mirror();
    ASSERT_TRUE(h.differences().size() <= 1u);  // at most the mode word, see below
    // Indices pending whenever the link came back, seen on the link's thread.
    std::mutex carriedMutex;
    std::set<int> carried;
    h.ui.onEvent([&](const RecordingUi::Event& e) {
        if (e.code != LinkEvent::ConnectionState || e.argument != LinkEvent::Connection::Connected)
            return;
        std::lock_guard lock(carriedMutex);
        for (int i = 0; i < Mirror::kSize; ++i)
            if (mirror.pending(i)) carried.insert(i);
    });

    std::map<int, uint16_t> last;
    std::thread writer([&] {
        std::mt19937 random(2024);
        std::uniform_int_distribution<int> index(1, Mirror::kSize - 1);
        // Half the edits hit a few indices again and again, so that echoes of
        // older values keep crossing newer edits.
        std::uniform_int_distribution<int> hot(500, 523);
        std::uniform_int_distribution<int> value(0, 0xFFFF);
        std::uniform_int_distribution<uint32_t> pause(0, 10);
        for (int n = 0; n < kWrites; ++n) {
            int i = n % 2 ? hot(random) : index(random);
            if (!writable(i)) continue;
            auto v = static_cast<uint16_t>(value(random));
            mirror.setPending(i, v);
            last[i] = v;
            h.clock.sleep(pause(random));
        }
    });
    writer.join();

    ASSERT_TRUE(waitFor([&] { return mirror.countPending() == 0; }));
    // Let a batch that was on its way when the last mark cleared reach the device.
    ASSERT_TRUE(h.waitForSteadyIterations(2));

    h.stop();
    std::vector<int> differ = h.differences();
    std::vector<int> lost;
    size_t carriedOver = 0;
    for (auto [index, value] : last) {
        if (h.device.value(index) != value) {
            lost.push_back(index);
        } else {
            std::lock_guard lock(carriedMutex);
            carriedOver += carried.count(index);
        }
    }
    uint64_t connections = h.link.supervisor().connections();
    EXPECT_TRUE(lost.empty()) << lost.size() << " edits never reached the device, first index "
                              << lost.front();
    // The mode word holds the number of the last mode name reply (unless an
    // edit set it); which reply came last depends on what the line lost.
    if (!last.count(Mirror::kModeOperation)) {
        std::erase(differ, Mirror::kModeOperation);
        EXPECT_GE(mirror.value(Mirror::kModeOperation), 1);
        EXPECT_LE(mirror.value(Mirror::kModeOperation), 16);
    }
    EXPECT_TRUE(differ.empty()) << differ.size() << " entries differ, first index "
                                << differ.front();
    EXPECT_EQ(mirror.countPending(), 0);

    size_t batches = 0;
    for (const auto& sent : h.transport->sent())
        batches += sent.frame.size() > 2 &&
                   sent.frame[2] == static_cast<uint8_t>(Command::WriteParameters);
    std::printf(
        "soak: %zu indices edited, %zu frames sent, %zu write frames, %zu frames parsed, "
        "%zu connections; %zu edits on the device (%zu of them pending across a "
        "reconnection and sent after it), %zu lost\n",
        last.size(), h.transport->sent().size(), batches,
        static_cast<size_t>(h.link.parser().framesParsed()), static_cast<size_t>(connections),
        last.size() - lost.size(), carriedOver, lost.size());
}

}  // namespace
