#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

#include "files/settings.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "link/preset_jobs.h"
#include "support/manual_clock.h"
#include "support/sim_link_harness.h"
#include "support/wait_for.h"
#include "texts/language.h"
#include "texts/link_texts.h"

namespace {

using Frames = std::vector<std::vector<uint8_t>>;
using Bytes = std::vector<uint8_t>;

Bytes payloadOf(const Bytes& frame) {
    return Bytes(frame.begin() + 3, frame.end() - 2);
}

bool isCommand(const Bytes& frame, Command command) {
    return frame.size() >= 5 && frame[2] == static_cast<uint8_t>(command);
}

bool isKeepAliveRead(const Bytes& frame) {
    return isCommand(frame, Command::ReadParameters) &&
           payloadOf(frame) == Bytes{0x06, 0x65, 0x06, 0x67, 0x06, 0x68};  // 1637, 1639, 1640
}

bool isPresenceWrite(const Bytes& frame) {
    return isCommand(frame, Command::WriteParameters) &&
           payloadOf(frame) == Bytes{0x06, 0x5E, 0x00, 0x01};
}

bool isReadOfMagic(const Bytes& frame) {
    return isCommand(frame, Command::ReadParameters) && payloadOf(frame) == Bytes{0x00, 0x00};
}

// Hello requests of each connection cycle: the connect routine reads parameter 0
// on its own, the handshake sends Hello before each read of it.
std::vector<int> hellosPerCycle(const Frames& log) {
    std::vector<int> cycles;
    bool afterHello = false;
    for (const Bytes& frame : log) {
        if (isCommand(frame, Command::Hello)) {
            if (cycles.empty()) cycles.push_back(0);
            ++cycles.back();
            afterHello = true;
        } else if (isReadOfMagic(frame)) {
            if (!afterHello) cycles.push_back(0);
            afterHello = false;
        }
    }
    std::erase(cycles, 0);
    return cycles;
}

int indexOfEvent(const std::vector<RecordingUi::Event>& events, int code, int argument,
                 size_t from = 0) {
    for (size_t k = from; k < events.size(); ++k)
        if (events[k].code == code && events[k].argument == argument) return static_cast<int>(k);
    return -1;
}

TEST(LinkSupervisor, ConnectionEndsWithTheMirrorEqualToTheDevice) {
    SimLinkHarness h;
    std::mutex mutex;
    std::vector<int> differAtReadComplete;
    bool taken = false;
    h.ui.onEvent([&](const RecordingUi::Event& e) {
        if (e.code != LinkEvent::ReadComplete || taken) return;
        std::lock_guard lock(mutex);
        differAtReadComplete = h.differences();
        taken = true;
    });
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.waitForFullReads(1));
    ASSERT_TRUE(h.waitForSteadyIterations(1));
    {
        std::lock_guard lock(mutex);
        EXPECT_TRUE(differAtReadComplete.empty())
            << differAtReadComplete.size() << " entries differ, first "
            << differAtReadComplete.front();
    }
    EXPECT_EQ(h.ui.title(), "QX7-USB");
    EXPECT_TRUE(h.ui.messages().empty());
    EXPECT_EQ(h.device.value(Mirror::kPresence), 1);

    // Started, searching, connected, read succeeded, every index told, complete.
    auto events = h.ui.events();
    int started = indexOfEvent(events, LinkEvent::ConnectionState, LinkEvent::Connection::Started);
    int searching =
        indexOfEvent(events, LinkEvent::ConnectionState, LinkEvent::Connection::Searching);
    int connected =
        indexOfEvent(events, LinkEvent::ConnectionState, LinkEvent::Connection::Connected);
    int succeeded = indexOfEvent(events, LinkEvent::ReadSucceeded, 0);
    int complete = indexOfEvent(events, LinkEvent::ReadComplete, 0);
    int after = indexOfEvent(events, LinkEvent::ReadCompleteAfter, 0);
    ASSERT_GE(started, 0);
    EXPECT_TRUE(events[static_cast<size_t>(started)].sent);
    EXPECT_LT(started, searching);
    EXPECT_LT(searching, connected);
    EXPECT_TRUE(events[static_cast<size_t>(connected)].sent);
    EXPECT_LT(connected, succeeded);
    EXPECT_LT(succeeded, complete);
    EXPECT_EQ(after, complete + 1);
    std::vector<bool> told(Mirror::kSize, false);
    for (int k = succeeded; k < complete; ++k)
        if (events[static_cast<size_t>(k)].code == LinkEvent::ParameterReceived)
            told[static_cast<size_t>(events[static_cast<size_t>(k)].argument)] = true;
    EXPECT_EQ(std::count(told.begin(), told.end(), true), Mirror::kSize);

    // The progress dialog is never left open and each hide is followed by event 8.
    auto progress = h.ui.progressLog();
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), "hide");
    EXPECT_NE(std::find(progress.begin(), progress.end(), "max 1746"), progress.end());
    EXPECT_NE(std::find(progress.begin(), progress.end(), "format Read Device Data:%5.0f %%"),
              progress.end());
    EXPECT_EQ(std::count(progress.begin(), progress.end(), "hide"),
              h.ui.countEvents(LinkEvent::ProgressHidden, 0));

    // The presence word is written before the full read, and every mode name has been read.
    Frames log = h.device.requestLog();
    auto presence = std::find_if(log.begin(), log.end(), isPresenceWrite);
    auto bulk = std::find_if(log.begin(), log.end(),
                             [](const Bytes& f) { return isCommand(f, Command::BulkRead); });
    EXPECT_LT(presence, bulk);
    // The last name replies may still be on their way when the steady loop begins; the
    // last of them is the current mode's, and its number is left in the mode word.
    EXPECT_TRUE(waitFor([&] {
        for (int p = 1; p <= DeviceInfo::kModes; ++p)
            if (h.link.device().modeNameText(p) != h.device.modeName(p)) return false;
        return h.link.mirror().value(Mirror::kModeOperation) ==
               h.device.value(Mirror::kCurrentMode);
    }));
}

TEST(LinkSupervisor, SteadyLoopSendsEditsAndFollowsTheDevice) {
    SimLinkHarness h;
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.waitForFullReads(1));
    Mirror& mirror = h.link.mirror();

    for (int i = 100; i < 160; ++i) mirror.setPending(i, static_cast<uint16_t>(4000 + i));
    EXPECT_TRUE(waitFor([&] { return mirror.countPending() == 0; }));
    for (int i = 100; i < 160; ++i) EXPECT_EQ(h.device.value(i), 4000 + i);

    h.device.setValue(200, 77);
    mirror.requestRead(200);
    mirror.requestRead(0);
    EXPECT_TRUE(waitFor([&] { return h.ui.countEvents(LinkEvent::ParameterReceived, 200) >= 2; }));
    EXPECT_EQ(mirror.value(200), 77);
    ASSERT_TRUE(h.waitForSteadyIterations(3));
    // The steady loop never reports index 0; only the notification after a full read does.
    EXPECT_EQ(h.ui.countEvents(LinkEvent::ParameterReceived, 0), 1);
    EXPECT_TRUE(mirror.received(0));

    // A job nobody set is just taken off the queue.
    h.link.supervisor().requestJob(LinkJob::UpgradeDsp1);
    EXPECT_TRUE(waitFor([&] { return !h.link.supervisor().jobQueued(LinkJob::UpgradeDsp1); }));
}

TEST(LinkSupervisor, DeviceIdIsRememberedOnlyWhenTheUserAskedForIt) {
    for (int remember : {0, 1}) {
        SimLinkHarness h;
        Settings settings;
        settings.writeInt("WIFI_Mode", "Device_IDMemory", remember);
        ASSERT_TRUE(h.start());
        ASSERT_TRUE(h.waitForFullReads(1));
        EXPECT_EQ(h.link.device().deviceIdNumber(), h.device.deviceId());
        EXPECT_EQ(settings.readListItem("WIFI_Mode", "Device_IDS", 0),
                  remember ? static_cast<int>(h.device.deviceId()) : -1);
        EXPECT_LE(settings.readInt("WIFI_Mode", "Device_IDSMax"), 1);
    }
}

TEST(LinkSupervisor, QuietLinkSendsOneKeepAlivePairAfter15IterationsThenEverySixth) {
    SimLinkHarness h;
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.waitForFullReads(1));
    ASSERT_TRUE(waitFor([&] { return h.link.supervisor().steadyIterations() >= 30; }));

    std::vector<uint64_t> reads, writes, others;
    for (const auto& sent : h.transport->sent()) {
        if (sent.stamp == 0 || sent.stamp > 29) continue;
        if (isKeepAliveRead(sent.frame))
            reads.push_back(sent.stamp);
        else if (isPresenceWrite(sent.frame))
            writes.push_back(sent.stamp);
        else
            others.push_back(sent.stamp);
    }
    EXPECT_EQ(reads, (std::vector<uint64_t>{16, 22, 28}));
    EXPECT_EQ(writes, (std::vector<uint64_t>{16, 22, 28}));
    EXPECT_TRUE(others.empty());
    EXPECT_EQ(h.link.supervisor().connections(), 1u);
}

TEST(LinkSupervisor, AnEditMadeBetweenTheKeepAliveFramesGoesOutBeforeThePresenceWrite) {
    SimLinkHarness h;
    std::atomic<bool> edited{false};
    h.transport->setAfterSend([&](const Bytes& frame) {
        if (isKeepAliveRead(frame) && !edited.exchange(true)) h.link.mirror().setPending(300, 1234);
    });
    ASSERT_TRUE(h.start());
    std::vector<Bytes> frames;
    auto read = frames.end();
    ASSERT_TRUE(waitFor([&] {
        frames.clear();
        for (const auto& sent : h.transport->sent()) frames.push_back(sent.frame);
        read = std::find_if(frames.begin(), frames.end(), isKeepAliveRead);
        return frames.end() - read >= 3;
    }));
    EXPECT_TRUE(isCommand(read[1], Command::WriteParameters));
    EXPECT_EQ(payloadOf(read[1]), (Bytes{0x01, 0x2C, 0x04, 0xD2}));  // 300 = 1234
    EXPECT_TRUE(isPresenceWrite(read[2]));
}

TEST(LinkSupervisor, WrongMagicIsGivenUpAfterTwelveHandshakeIterations) {
    SimLinkHarness h;
    SimFaults faults;
    faults.magic = 0x1234;
    h.device.setFaults(faults);
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(waitFor([&] {
        return h.ui.countEvents(LinkEvent::ConnectionState, LinkEvent::Connection::Searching) >= 3;
    }));
    h.stop();

    std::vector<int> cycles = hellosPerCycle(h.device.requestLog());
    ASSERT_GE(cycles.size(), 2u);
    EXPECT_EQ(cycles[0], 12);
    EXPECT_EQ(cycles[1], 12);
    EXPECT_EQ(h.ui.countEvents(LinkEvent::ConnectionState, LinkEvent::Connection::Connected), 0);
    EXPECT_TRUE(h.ui.messages().empty());
    EXPECT_EQ(h.device.requests(static_cast<uint8_t>(Command::BulkRead)), 0u);
}

class OccupancyCheck : public ::testing::TestWithParam<int> {};

TEST_P(OccupancyCheck, TwoOrMoreForeignAnswersOfTenShowEquipmentOccupied) {
    const int foreign = GetParam();
    SimLinkHarness h;
    SimFaults faults;
    faults.foreignPresence = 2;
    faults.foreignPer10 = foreign;
    h.device.setFaults(faults);
    // The other controller lets go once the user has seen the message.
    h.ui.onMessageBox([&](const RecordingUi::Message&) {
        h.device.setFaults(SimFaults{});
        return LinkUi::Yes;
    });
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.waitForFullReads(1));

    auto messages = h.ui.messages();
    if (foreign < 2) {
        EXPECT_TRUE(messages.empty());
    } else {
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, linktext::EquipmentOccupied.get());
        EXPECT_EQ(messages[0].caption, "QX7-USB");
        EXPECT_EQ(messages[0].language, Language::index());
    }
    EXPECT_EQ(h.ui.countEvents(LinkEvent::ReadComplete, 0), 1);
}

INSTANTIATE_TEST_SUITE_P(ForeignAnswers, OccupancyCheck, ::testing::Values(1, 2, 3));

TEST(LinkSupervisor, VanishedDeviceIsSearchedForAndReadAgainWhileTheMirrorKeepsItsValues) {
    SimLinkHarness h;
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.waitForFullReads(1));
    ASSERT_TRUE(h.waitForSteadyIterations(2));
    Mirror& mirror = h.link.mirror();
    std::vector<uint16_t> before;
    for (int i = 0; i < Mirror::kSize; ++i) before.push_back(mirror.value(i));
    int searches = h.ui.countEvents(LinkEvent::ConnectionState, LinkEvent::Connection::Searching);

    h.device.setAbsent(true);
    // Lost (4, 1), then the connect routine's own search (4, 1).
    ASSERT_TRUE(waitFor([&] {
        return h.ui.countEvents(LinkEvent::ConnectionState, LinkEvent::Connection::Searching) >=
               searches + 2;
    }));
    EXPECT_FALSE(h.link.state().alive());
    for (int i = 0; i < Mirror::kSize; ++i)
        ASSERT_EQ(mirror.value(i), before[static_cast<size_t>(i)]) << i;

    // Changed while away: the new full read brings it. Edited here while away:
    // the edit stays pending and goes out after the full read.
    h.device.setValue(300, 12345);
    mirror.setPending(301, 4242);
    h.device.setAbsent(false);
    ASSERT_TRUE(h.waitForFullReads(2));
    EXPECT_EQ(mirror.value(301), 4242);
    ASSERT_TRUE(waitFor([&] { return h.device.value(301) == 4242 && !mirror.pending(301); }));
    EXPECT_EQ(h.link.supervisor().connections(), 2u);
    EXPECT_EQ(h.device.requests(static_cast<uint8_t>(Command::BulkRead)), 2u);
    EXPECT_EQ(mirror.value(300), 12345);
    EXPECT_EQ(h.ui.countEvents(LinkEvent::PendingDropped, 1), 0);
    ASSERT_TRUE(h.waitForSteadyIterations(1));
    std::vector<int> differ = h.differences();
    std::erase(differ,
               Mirror::kModeOperation);  // holds the current mode after the name replies
    EXPECT_TRUE(differ.empty());
}

// The device's values win over an edit left unsent by the loss, unless the
// device that came back is the same one and came back soon.
TEST(LinkSupervisor, UnsentEditsAreDroppedForAnotherDeviceOrALateReturn) {
    struct Case {
        const char* name;
        uint32_t id;
        const char* serial;
        bool late;
    };
    const Case cases[] = {
        {"another device ID", 0x00ABCDEF, "SIM0001", false},
        {"another USB serial number", 0x00BC614E, "SIM0002", false},
        {"the same device, back too late", 0x00BC614E, "SIM0001", true},
    };
    using LinkEvent::ConnectionState;
    using LinkEvent::Connection::Searching;
    for (const Case& c : cases) {
        SimLinkHarness h;
        ASSERT_TRUE(h.start());
        ASSERT_TRUE(h.waitForFullReads(1)) << c.name;
        Mirror& mirror = h.link.mirror();
        const uint16_t onDevice = h.device.value(301);
        int searches = h.ui.countEvents(ConnectionState, Searching);
        h.device.setAbsent(true);
        ASSERT_TRUE(waitFor([&] {
            return h.ui.countEvents(ConnectionState, Searching) >= searches + 2;
        })) << c.name;
        uint32_t lost = h.clock.ticks();
        mirror.setPending(301, static_cast<uint16_t>(onDevice + 1));
        if (c.late) {
            ASSERT_TRUE(waitFor([&] {
                return ticksSince(h.clock.ticks(), lost) > LinkSupervisor::kReconnectGraceMs + 500;
            }));
        }
        h.device.setDeviceId(c.id);
        h.device.setUsbSerial(c.serial);
        h.device.setAbsent(false);
        ASSERT_TRUE(h.waitForFullReads(2)) << c.name;
        EXPECT_EQ(h.ui.countEvents(LinkEvent::PendingDropped, 1), 1) << c.name;
        EXPECT_EQ(mirror.value(301), onDevice) << c.name;
        ASSERT_TRUE(h.waitForSteadyIterations(2));
        EXPECT_EQ(h.device.value(301), onDevice) << c.name;
        EXPECT_FALSE(mirror.pending(301)) << c.name;
    }
}

TEST(LinkSupervisor, DeviceFallingSilentDuringTheFullReadFailsItAndIsSearchedForAgain) {
    SimLinkHarness h;
    SimFaults silent;
    silent.silent = true;
    h.ui.onEvent([&](const RecordingUi::Event& e) {
        if (e.code == LinkEvent::ConnectionState &&
            e.argument == LinkEvent::Connection::Connected &&
            h.link.supervisor().connections() == 0)
            h.device.setFaults(silent);
    });
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(waitFor([&] { return h.ui.countMessages(linktext::ReadDataFailed.get()) == 1; }));
    ASSERT_TRUE(waitFor([&] {
        auto events = h.ui.events();
        int connected =
            indexOfEvent(events, LinkEvent::ConnectionState, LinkEvent::Connection::Connected);
        return indexOfEvent(events, LinkEvent::ConnectionState, LinkEvent::Connection::Searching,
                            static_cast<size_t>(connected)) > connected;
    }));
    EXPECT_EQ(h.ui.countEvents(LinkEvent::ReadSucceeded, 0), 0);
    auto progress = h.ui.progressLog();
    EXPECT_EQ(progress.back(), "hide");

    h.device.setFaults(SimFaults{});
    ASSERT_TRUE(h.waitForFullReads(1));
    EXPECT_EQ(h.link.supervisor().connections(), 2u);
}

TEST(LinkSupervisor, JobRequestedWhileDisconnectedRunsAfterTheNextFullRead) {
    SimLinkHarness h;
    h.device.setAbsent(true);
    std::atomic<int> readsBeforeJob{-1};
    std::atomic<int> runs{0};
    h.link.supervisor().setJob(LinkJob::UpgradePanel, [&] {
        readsBeforeJob = h.ui.countEvents(LinkEvent::ReadComplete, 0);
        ++runs;
    });
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(waitFor([&] {
        return h.ui.countEvents(LinkEvent::ConnectionState, LinkEvent::Connection::Searching) >= 1;
    }));
    h.link.supervisor().requestJob(LinkJob::UpgradePanel);
    h.device.setAbsent(false);
    ASSERT_TRUE(waitFor([&] { return runs > 0; }));
    EXPECT_EQ(readsBeforeJob, 1);
    ASSERT_TRUE(h.waitForSteadyIterations(2));
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(h.link.supervisor().jobQueued(LinkJob::UpgradePanel));
}

TEST(LinkSupervisor, StopWhileAMessageBoxIsOpenEndsTheThreadOnceItIsClosed) {
    SimLinkHarness h;
    SimFaults faults;
    faults.foreignPresence = 2;
    faults.foreignPer10 = 3;
    h.device.setFaults(faults);
    std::atomic<bool> open{false};
    std::atomic<bool> close{false};
    h.ui.onMessageBox([&](const RecordingUi::Message&) {
        open = true;
        waitFor([&] { return close.load(); });
        return LinkUi::Yes;
    });
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(waitFor([&] { return open.load(); }));
    size_t sentBeforeClose = h.transport->sent().size();

    std::atomic<bool> stopped{false};
    std::thread stopper([&] {
        h.link.supervisor().stop();
        stopped = true;
    });
    ASSERT_TRUE(waitFor([&] { return !h.link.state().running(); }));
    EXPECT_TRUE(h.link.supervisor().threadRunning());

    close = true;
    EXPECT_TRUE(
        waitFor([&] { return !h.link.supervisor().threadRunning(); }, std::chrono::seconds(10)));
    stopper.join();
    EXPECT_TRUE(stopped);
    EXPECT_EQ(h.ui.messages().size(), 1u);
    EXPECT_EQ(h.transport->sent().size(), sentBeforeClose);
    EXPECT_EQ(h.ui.countEvents(LinkEvent::ReadSucceeded, 0), 0);
    EXPECT_EQ(h.device.requests(static_cast<uint8_t>(Command::BulkRead)), 0u);
}

TEST(LinkSupervisor, StopRightAfterStartEndsTheThread) {
    SimLinkHarness h;
    ASSERT_TRUE(h.start());
    h.link.supervisor().stop();
    bool ended =
        waitFor([&] { return !h.link.supervisor().threadRunning(); }, std::chrono::seconds(10));
    EXPECT_TRUE(ended);
}

// Link time (the harness clock's milliseconds) since start.
double linkMsSince(std::chrono::steady_clock::time_point start, const Clock& clock) {
    std::chrono::duration<double, std::milli> real = std::chrono::steady_clock::now() - start;
    return real.count() * clock.speed();
}

int searches(const RecordingUi& ui) {
    return ui.countEvents(LinkEvent::ConnectionState, LinkEvent::Connection::Searching);
}

TEST(FrameSender, CountsFramesSentIntoSilenceAndEndsTheLinkPastTheLimit) {
    RecordingUi ui;
    ManualClock clock;
    Link link(ui, clock);
    LinkState& state = link.state();
    state.lastReplyTime = clock.ticks();
    state.linkAlive = true;
    const struct {
        uint32_t advance;
        Command command;
        int missed;
        bool alive;
    } steps[] = {
        {1499, Command::ReadParameters, 0, true},  // not silent long enough yet
        {1, Command::ReadParameters, 1, true},
        {0, Command::ModuleText, 1, true},  // module texts never count
        {0, Command::Hello, 2, true},
        {0, Command::ReadParameters, 3, true},
        {0, Command::ReadParameters, 4, true},
        {0, Command::ReadParameters, 0, false},  // sent with the counter at the limit
    };
    for (size_t k = 0; k < std::size(steps); ++k) {
        clock.advance(steps[k].advance);
        link.send(steps[k].command, {0});
        EXPECT_EQ(state.missedReplies, steps[k].missed) << "step " << k;
        EXPECT_EQ(state.alive(), steps[k].alive) << "step " << k;
    }
}

TEST(LinkSupervisor, DeviceFallingSilentWhilePresentIsDeclaredLost) {
    SimLinkHarness h;
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.waitForFullReads(1));
    ASSERT_TRUE(h.waitForSteadyIterations(1));
    int before = searches(h.ui);
    SimFaults silent;
    silent.silent = true;
    auto start = std::chrono::steady_clock::now();
    h.device.setFaults(silent);
    ASSERT_TRUE(waitFor([&] { return searches(h.ui) > before; }));
    std::printf("silent device declared lost after %.0f ms of link time (silence limit %d ms)\n",
                linkMsSince(start, h.clock), h.link.state().timing.silenceLimit.load());
    EXPECT_EQ(h.link.supervisor().connections(), 1u);
}

TEST(LinkSupervisor, ThePauseFlagHoldsTheSteadyLoopUntilCleared) {
    SimLinkHarness h;
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.waitForFullReads(1));
    ASSERT_TRUE(h.waitForSteadyIterations(1));
    LinkState& state = h.link.state();
    state.pauseFlag = true;
    // Past any iteration under way: the loop sleeps in the pause from here on.
    uint64_t slept = h.clock.sleptMs();
    ASSERT_TRUE(waitFor([&] { return h.clock.sleptMs() > slept + 1000; }));
    uint64_t iterations = h.link.supervisor().steadyIterations();
    size_t sent = h.transport->sent().size();
    uint16_t edit = static_cast<uint16_t>(h.device.value(300) ^ 0x1111);
    h.link.mirror().setPending(300, edit);
    slept = h.clock.sleptMs();
    ASSERT_TRUE(waitFor([&] { return h.clock.sleptMs() > slept + 3000; }));
    EXPECT_EQ(h.link.supervisor().steadyIterations(), iterations);
    EXPECT_EQ(h.transport->sent().size(), sent) << "not even a keep-alive";

    state.pauseFlag = false;
    EXPECT_TRUE(waitFor([&] { return h.device.value(300) == edit; }));
    EXPECT_EQ(h.link.supervisor().connections(), 1u);
}

TEST(LinkSupervisor, StopWhileAJobWaitsEndsTheThreadWithoutAMessage) {
    SimLinkHarness h;
    PresetJobs jobs(h.link);
    SimFaults faults;
    faults.ignoredCommand = static_cast<int>(Command::RecallMode);
    h.device.setFaults(faults);
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.waitForFullReads(1));
    jobs.requestRecall(4);
    ASSERT_TRUE(waitFor([&] { return h.device.requests(0x01) == 1; }));
    auto start = std::chrono::steady_clock::now();
    h.link.supervisor().stop();
    std::printf("stopped during a recall: stop returned after %.0f ms of link time\n",
                linkMsSince(start, h.clock));
    EXPECT_FALSE(h.link.supervisor().threadRunning());
    EXPECT_EQ(jobs.lastOutcome().serial, 1u);
    EXPECT_FALSE(jobs.lastOutcome().ok);
    EXPECT_TRUE(h.ui.messages().empty()) << h.ui.messages().front().text;
}

// A network on which nothing ever answers.
class NothingFoundTransport : public Transport {
public:
    explicit NothingFoundTransport(Link& link) : m_link(link) {}
    void connect(Handshake&) override {
        entered = true;
        while (m_link.state().running()) m_link.sleep(20);
    }
    void sendFrame(const uint8_t*, size_t) override {}
    bool isConnected() const override { return false; }
    void close() override {}

    std::atomic<bool> entered{false};

private:
    Link& m_link;
};

TEST(LinkSupervisor, ASearchOnTheNetworkEndsWhenTheUserSwitchesToUsb) {
    SimLinkHarness h;
    auto network = std::make_unique<NothingFoundTransport>(h.link);
    NothingFoundTransport& searching = *network;
    h.link.setTransport(TransportType::Network, std::move(network));
    h.link.supervisor().setInitialTransportType(TransportType::Network);
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(waitFor([&] { return searching.entered.load(); }));
    EXPECT_FALSE(h.link.supervisor().requestTransport(TransportType::Serial));  // none installed
    ASSERT_TRUE(h.link.supervisor().requestTransport(TransportType::UsbHid));
    ASSERT_TRUE(h.waitForFullReads(1));
    EXPECT_EQ(h.link.state().transportType.load(), TransportType::UsbHid);
    EXPECT_EQ(h.ui.title(), "QX7-USB");
    EXPECT_TRUE(h.link.supervisor().threadRunning());
}

TEST(LinkShutdown, AThreadThatOutlivesTheLimitIsGivenUpOn) {
    RecordingUi ui;
    Clock clock(kLinkTestSpeed);
    std::atomic<bool> held{false};
    std::atomic<bool> release{false};
    ui.onEvent([&](const RecordingUi::Event&) {
        if (held.exchange(true)) return;
        waitFor([&] { return release.load(); }, std::chrono::hours(1));
    });
    auto link = std::make_unique<Link>(ui, clock);
    int overdue = 0;
    link->setShutdownOverdue([&] {
        ++overdue;
        release = true;
    });
    ASSERT_TRUE(link->supervisor().start());
    ASSERT_TRUE(waitFor([&] { return held.load(); }));
    auto start = std::chrono::steady_clock::now();
    link.reset();
    std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    std::printf("shutdown gave up on a stuck thread after %.0f ms (limit %u ms)\n", took.count(),
                Link::kShutdownLimitMs);
    EXPECT_EQ(overdue, 1);
}

TEST(LinkSupervisor, WhatTheDeviceSaysUnaskedIsTakenInAndTheLinkStays) {
    SimLinkHarness h;
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.waitForFullReads(1));
    SimFaults faults;
    faults.startByte81 = true;
    h.device.setFaults(faults);
    int told = h.ui.countEvents(LinkEvent::ParameterReceived, 300);
    h.device.sendNotice();
    h.device.changeAndReport(300, 4321);
    EXPECT_TRUE(waitFor([&] { return h.link.mirror().value(300) == 4321; }));
    EXPECT_TRUE(
        waitFor([&] { return h.ui.countEvents(LinkEvent::ParameterReceived, 300) > told; }));
    ASSERT_TRUE(h.waitForSteadyIterations(20));  // keep-alives answered with 0x81 frames
    EXPECT_EQ(h.link.supervisor().connections(), 1u);
    EXPECT_TRUE(h.link.state().alive());
}

TEST(LinkSupervisor, AFullReadThatFailsInItsBulkPhaseHidesTheProgressDialog) {
    SimLinkHarness h(std::min(kLinkTestSpeed, 4.0));  // the bulk phase lasts 2 s of link time
    SimFaults noStream;
    noStream.ignoredCommand = static_cast<int>(Command::BulkRead);
    h.device.setFaults(noStream);
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(waitFor([&] { return h.device.requests(0xF0) == 1; }));
    int before = searches(h.ui);
    h.device.setAbsent(true);
    ASSERT_TRUE(waitFor([&] { return searches(h.ui) > before; }));
    EXPECT_EQ(h.ui.progressLog().back(), "hide");
    EXPECT_EQ(h.ui.countMessages(linktext::ReadDataFailed.get()), 0) << "failed in the gap phase";
}

}  // namespace

namespace {

TEST(LinkSupervisor, ModuleCommandsReachTheModuleAndAreConfirmedOnce) {
    SimLinkHarness h;
    ASSERT_TRUE(h.start());
    ASSERT_TRUE(h.waitForFullReads(1));
    ModuleTable& module = h.link.module();
    module.setTextAndQueue(ModuleTable::SetHotspotSsid, "Set_HotSSID:Den");
    module.setTextAndQueue(ModuleTable::SetHotspotPassword, "Set_HotPW:");
    ASSERT_TRUE(waitFor([&] { return h.ui.countMessages("Set Hot:OK") == 1; }));
    EXPECT_EQ(h.ui.messages().back().caption, "WiFi");
    EXPECT_EQ(h.device.moduleSetting("HotSSID"), "Den");
    EXPECT_EQ(h.device.moduleSetting("HotPW"), "");

    // A refused command goes out nine times, then the queue moves on.
    module.setTextAndQueue(ModuleTable::SetWifiMode, "Set_WiFiMode:9");
    ASSERT_TRUE(waitFor([&] { return !module.queued(ModuleTable::SetWifiMode); }));
    auto log = h.device.moduleLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Set_WiFiMode:9"), 9);
    EXPECT_EQ(h.ui.countMessages("WiFiMode:OK"), 0);
}

}  // namespace
