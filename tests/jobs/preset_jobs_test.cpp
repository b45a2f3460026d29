#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

#include "files/preset_codec.h"
#include "files/preset_files.h"
#include "files/settings.h"
#include "link/link.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "link/preset_jobs.h"
#include "support/sim_link_harness.h"
#include "support/temp_folder.h"
#include "support/wait_for.h"
#include "texts/language.h"

namespace fs = std::filesystem;

namespace {

constexpr uint8_t kWrite = 0x03;
constexpr uint8_t kRecall = 0x01;
constexpr uint8_t kSaveName = 0x10;
constexpr uint8_t kBulkRead = 0xF0;

// Indices that the device keeps when a file is sent to it.
const std::vector<int> kDeviceState = {1606, 1607, 1608, 1610, 1625, 1626, 1628,
                                       1629, 1636, 1637, 1638, 1639, 1640, 1641};

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Write parameters groups (index, value) of every logged request frame, in order.
std::vector<std::pair<int, int>> writtenGroups(const std::vector<std::vector<uint8_t>>& log) {
    std::vector<std::pair<int, int>> groups;
    for (const auto& frame : log) {
        if (frame.size() < 5 || frame[2] != kWrite) continue;
        for (size_t k = 3; k + 4 <= frame.size() - 2; k += 4)
            groups.emplace_back(frame[k] << 8 | frame[k + 1], frame[k + 2] << 8 | frame[k + 3]);
    }
    return groups;
}

// The link on the simulated USB device with the preset jobs, on a fast clock.
class PresetJobsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Language::set(Language::English);
        fs::create_directories(Settings::programFolder());
        m_jobs = std::make_unique<PresetJobs>(m_h.link);
        ASSERT_TRUE(m_h.start());
        ASSERT_TRUE(waitUntilSteady());
        m_ui.clear();
    }

    // The supervisor calls into the jobs until it has stopped.
    void TearDown() override {
        m_h.stop();
        m_jobs.reset();
    }

    bool waitUntilSteady() {
        return waitFor([&] {
            if (m_link.supervisor().steadyIterations() == 0) return false;
            for (int p = 1; p <= DeviceInfo::kModes; ++p)
                if (!m_link.device().nameReceived(p)) return false;
            return true;
        });
    }

    // Makes the request and waits for the job to end.
    template <typename Request>
    PresetJobs::Outcome run(Request request) {
        uint64_t before = m_jobs->lastOutcome().serial;
        request();
        EXPECT_TRUE(waitFor([&] { return m_jobs->lastOutcome().serial > before; }));
        return m_jobs->lastOutcome();
    }

    static std::string programFile(const std::string& name) {
        return Settings::programFolder() + name;
    }

    std::vector<uint16_t> mirrorValues() {
        std::vector<uint16_t> v(Mirror::kSize);
        for (int i = 0; i < Mirror::kSize; ++i)
            v[static_cast<size_t>(i)] = m_link.mirror().value(i);
        return v;
    }

    // After the names are read, the preset operation word holds the last preset named.
    void expectMirrorMatchesDevice(bool namesReadLast = false) {
        for (int i : m_h.differences())
            EXPECT_TRUE(namesReadLast && i == Mirror::kModeOperation) << "index " << i;
    }

    SimLinkHarness m_h;
    SimDevice& m_device = m_h.device;
    RecordingUi& m_ui = m_h.ui;
    Link& m_link = m_h.link;
    std::unique_ptr<PresetJobs> m_jobs;
};

}  // namespace

TEST_F(PresetJobsTest, SavedFileSentBackRestoresTheDeviceButNotItsOwnState) {
    const SimDevice::Memory saved = m_device.memory();
    auto outcome = run([&] { m_jobs->requestSaveToFile("room"); });
    ASSERT_TRUE(outcome.ok);
    ASSERT_TRUE(fs::exists(programFile("room.qmx")));
    ASSERT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(m_ui.messages()[0].caption, "Save successfully!");
    EXPECT_EQ(m_ui.messages()[0].text,
              fs::path(programFile("room.qmx")).lexically_normal().string());

    PresetFiles file;
    ASSERT_EQ(file.loadPreset("room"), 0);
    EXPECT_EQ(file.preset().deviceMagic, 22356u);
    ASSERT_EQ(file.preset().values.size(), 1746u);
    for (int i = 0; i < Mirror::kSize; ++i)
        ASSERT_EQ(file.preset().values[static_cast<size_t>(i)], saved[static_cast<size_t>(i)]) << i;

    // Changes made on the device itself, to settings and to its own state.
    std::vector<int> changed = {1, 17, 400, 999, 1500, 1744, 1745};
    changed.insert(changed.end(), kDeviceState.begin(), kDeviceState.end());
    for (int i : changed)
        m_device.setValue(i, static_cast<uint16_t>(saved[static_cast<size_t>(i)] ^ 0x5A5A));
    m_ui.clear();

    outcome = run([&] { m_jobs->requestSendFile("room.qmx"); });
    ASSERT_TRUE(outcome.ok);
    SimDevice::Memory now = m_device.memory();
    for (int i = 0; i < 1745; ++i) {
        if (PresetJobs::takenFromFile(i))
            ASSERT_EQ(now[static_cast<size_t>(i)], saved[static_cast<size_t>(i)])
                << "restored " << i;
        else
            ASSERT_EQ(now[static_cast<size_t>(i)], saved[static_cast<size_t>(i)] ^ 0x5A5A)
                << "kept " << i;
    }
    EXPECT_EQ(now[1745], saved[1745] ^ 0x5A5A) << "the last value of a file is never sent";
    for (int i : kDeviceState) EXPECT_FALSE(PresetJobs::takenFromFile(i)) << i;

    expectMirrorMatchesDevice();
    EXPECT_TRUE(m_ui.messages().empty());
    EXPECT_GE(m_ui.countEvents(LinkEvent::ReadComplete, 0), 1);
    EXPECT_EQ(m_ui.countEvents(LinkEvent::ValuesReplaced, PresetJobs::kSendFileSlot), 1);
    auto progress = m_ui.progressLog();
    EXPECT_NE(std::find(progress.begin(), progress.end(), "format Update Scene Data:%5.0f %%"),
              progress.end());
    EXPECT_NE(std::find(progress.begin(), progress.end(), "max 1746"), progress.end());
}

TEST_F(PresetJobsTest, SendingAFileOnlyWritesWhatDiffersFromNothingElse) {
    auto outcome = run([&] { m_jobs->requestSaveToFile("same"); });
    ASSERT_TRUE(outcome.ok);
    m_device.clearRequestLog();
    outcome = run([&] { m_jobs->requestSendFile("same"); });
    ASSERT_TRUE(outcome.ok);
    for (auto [index, value] : writtenGroups(m_device.requestLog())) {
        (void)value;
        if (index == Mirror::kPresence) continue;  // the keep-alive
        EXPECT_TRUE(PresetJobs::takenFromFile(index) && index < 1745) << index;
    }
}

TEST_F(PresetJobsTest, BadFilesAndNamesGiveTheirMessageAndChangeNothing) {
    // A protected file, a file of another device and a damaged file next to a good one.
    PresetFiles writer;
    std::vector<uint16_t> values(1746, 7);
    values[0] = 22356;
    writer.preset().deviceMagic = 22356;
    writer.preset().passwordMark = 1;
    ASSERT_EQ(writer.writePreset(programFile("locked"), values), 0);
    writer.preset().passwordMark = 0;
    writer.preset().deviceMagic = 0x4242;
    ASSERT_EQ(writer.writePreset(programFile("other"), values), 0);
    writer.preset().deviceMagic = 22356;
    ASSERT_EQ(writer.writePreset(programFile("damaged"), values), 0);
    // Each file has its own alphabet, so the damage is chosen from it: another of its letters
    // breaks the checksum, a byte outside it is foreign.
    const std::vector<uint8_t> good = fileBytes(programFile("damaged.qmx"));
    const auto alphabet = good.begin() + PresetCodec::kAlphabetAt;
    auto writeBytes = [&](const char* name, std::vector<uint8_t> bytes, size_t size) {
        std::ofstream(programFile(name), std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(size));
    };
    std::vector<uint8_t> bytes = good;
    bytes[1234] = bytes[1234] == alphabet[0] ? alphabet[1] : alphabet[0];
    writeBytes("damaged.qmx", bytes, bytes.size());
    bytes = good;
    bytes[1234] = 0;
    while (std::find(alphabet, alphabet + 16, bytes[1234]) != alphabet + 16) ++bytes[1234];
    writeBytes("foreign.qmx", bytes, bytes.size());
    writeBytes("truncated.qmx", good, 1000);

    const struct {
        const char* name;
        const char* message;
    } cases[] = {
        {"", "Please enter the file name!"},
        {"missing", "No files。"},
        {"locked.qmx", "The data has a password ."},
        {"other", "Wrong file version。"},
        {"damaged", "File damaged: damaged\r\nThe checksum does not match."},
        {"foreign", "File damaged: foreign\r\nThe file holds bytes that do not belong there."},
        {"truncated", "File damaged: truncated\r\nThe file is cut short."}};
    const SimDevice::Memory device = m_device.memory();
    const std::vector<uint16_t> mirror = mirrorValues();
    for (const auto& c : cases) {
        m_ui.clear();
        auto outcome = run([&] { m_jobs->requestSendFile(c.name); });
        EXPECT_FALSE(outcome.ok) << c.name;
        ASSERT_EQ(m_ui.messages().size(), 1u) << c.name;
        EXPECT_EQ(m_ui.messages()[0].text, c.message);
        EXPECT_EQ(m_ui.messages()[0].language, Language::English);
        EXPECT_EQ(m_device.memory(), device) << c.name;
        EXPECT_EQ(mirrorValues(), mirror) << c.name;
        EXPECT_EQ(m_link.mirror().countPending(), 0) << c.name;
    }
}

TEST_F(PresetJobsTest, SaveWithoutANameSendsNothingAndWritesNothing) {
    uint64_t bulkReads = m_device.requests(kBulkRead);
    auto outcome = run([&] { m_jobs->requestSaveToFile(""); });
    EXPECT_FALSE(outcome.ok);
    ASSERT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(m_ui.messages()[0].text, "Please enter the file name!");
    EXPECT_EQ(m_device.requests(kBulkRead), bulkReads);
    EXPECT_TRUE(fs::is_empty(Settings::programFolder()));
}

TEST_F(PresetJobsTest, SaveWithNoWritableFolderReportsFailure) {
    TempFolder folder;
    std::string blocker = folder.path("blocker");
    TempFolder::write(blocker, "x");
    Settings::overrideFolders(blocker + "/program/", blocker + "/user/");
    auto outcome = run([&] { m_jobs->requestSaveToFile("nowhere"); });
    EXPECT_FALSE(outcome.ok);
    ASSERT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(m_ui.messages()[0].text, "Save Failed!");
}

TEST_F(PresetJobsTest, DeviceLostDuringASaveLeavesTheOldFile) {
    ASSERT_TRUE(run([&] { m_jobs->requestSaveToFile("keep"); }).ok);
    const std::vector<uint8_t> before = fileBytes(programFile("keep.qmx"));
    m_ui.clear();

    uint64_t bulkReads = m_device.requests(kBulkRead);
    uint64_t serial = m_jobs->lastOutcome().serial;
    m_jobs->requestSaveToFile("keep");
    ASSERT_TRUE(waitFor([&] { return m_device.requests(kBulkRead) > bulkReads; }));
    m_device.setAbsent(true);
    ASSERT_TRUE(waitFor([&] { return m_jobs->lastOutcome().serial > serial; }));
    EXPECT_FALSE(m_jobs->lastOutcome().ok);
    EXPECT_EQ(m_ui.countMessages("Save Failed!"), 1);
    EXPECT_EQ(fileBytes(programFile("keep.qmx")), before);
}

TEST_F(PresetJobsTest, DeviceLostDuringASendIsReportedAndTheNextConnectionReadsTheDevice) {
    ASSERT_TRUE(run([&] { m_jobs->requestSaveToFile("scene"); }).ok);
    for (int i = 1; i < 1600; i += 3) m_device.setValue(i, 1234);
    m_ui.clear();

    uint64_t writes = m_device.requests(kWrite);
    uint64_t serial = m_jobs->lastOutcome().serial;
    uint64_t connections = m_link.supervisor().connections();
    m_jobs->requestSendFile("scene");
    ASSERT_TRUE(waitFor([&] { return m_device.requests(kWrite) > writes + 5; }));
    m_device.setAbsent(true);
    ASSERT_TRUE(waitFor([&] { return m_jobs->lastOutcome().serial > serial; }));
    EXPECT_FALSE(m_jobs->lastOutcome().ok);
    EXPECT_EQ(m_ui.countMessages("Write Data Failed!"), 1);

    m_device.setAbsent(false);
    ASSERT_TRUE(waitFor([&] { return m_link.supervisor().connections() > connections; }));
    // No steady iteration runs between the connection and the end of its full
    // read; the first one sends the rest of the file.
    uint64_t steady = m_link.supervisor().steadyIterations();
    ASSERT_TRUE(waitFor([&] {
        return m_link.supervisor().steadyIterations() > steady + 1 &&
               m_link.mirror().countPending() == 0;
    }));
    expectMirrorMatchesDevice(true);
}

TEST_F(PresetJobsTest, RecallLoadsTheModeAndReadsEverythingAgain) {
    const SimDevice::Memory preset = m_device.modeMemory(3);
    ASSERT_NE(m_device.memory(), preset);
    auto outcome = run([&] { m_jobs->requestRecall(3); });
    ASSERT_TRUE(outcome.ok);
    EXPECT_TRUE(m_ui.messages().empty());

    SimDevice::Memory now = m_device.memory();
    for (int i = 1; i < Mirror::kSize; ++i) {
        // The device keeps its own state through a recall, as it does through a file.
        if (i == Mirror::kPresence || !PresetJobs::takenFromFile(i)) continue;
        ASSERT_EQ(now[static_cast<size_t>(i)], preset[static_cast<size_t>(i)]) << i;
    }
    EXPECT_EQ(now[Mirror::kCurrentMode], 3);
    expectMirrorMatchesDevice();
    EXPECT_FALSE(m_link.mirror().pending(Mirror::kModeOperation));
    EXPECT_GE(m_ui.countEvents(LinkEvent::ReadSucceeded, 0), 1);
    EXPECT_GE(m_ui.countEvents(LinkEvent::ReadComplete, 0), 2)
        << "one from the read, one after the recall";
    EXPECT_EQ(m_ui.countEvents(LinkEvent::ValuesReplaced, PresetJobs::kRecallSlot), 1);

    auto log = m_device.requestLog();
    auto recall =
        std::find_if(log.begin(), log.end(), [](const auto& f) { return f[2] == kRecall; });
    ASSERT_NE(recall, log.end());
    EXPECT_EQ((*recall)[3], 3);
    auto progress = m_ui.progressLog();
    EXPECT_NE(std::find(progress.begin(), progress.end(), "format Call..."), progress.end());
}

TEST_F(PresetJobsTest, UnconfirmedRecallFailsAndTheOperationWordIsWrittenAsAParameter) {
    SimFaults faults;
    faults.ignoredCommand = kRecall;
    m_device.setFaults(faults);
    const SimDevice::Memory before = m_device.memory();
    auto outcome = run([&] { m_jobs->requestRecall(5); });
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(m_ui.countMessages("Invocation pattern of failure!"), 1);
    EXPECT_EQ(m_device.requests(kRecall), 3u);
    EXPECT_EQ(m_device.value(Mirror::kCurrentMode), before[Mirror::kCurrentMode]);

    // The steady loop then writes 0x0605 to parameter 1629 after the last attempt.
    ASSERT_TRUE(waitFor([&] {
        auto log = m_device.requestLog();
        auto lastRecall =
            std::find_if(log.rbegin(), log.rend(), [](const auto& f) { return f[2] == kRecall; });
        std::vector<std::vector<uint8_t>> after(log.rbegin(), lastRecall);
        for (auto [index, value] : writtenGroups(after))
            if (index == Mirror::kModeOperation && value == 0x0605) return true;
        return false;
    }));
    EXPECT_TRUE(waitFor([&] { return !m_link.mirror().pending(Mirror::kModeOperation); }));
}

TEST_F(PresetJobsTest, ReadsAModeName) {
    m_device.setModeName(5, "Renamed On Device");
    auto outcome = run([&] { m_jobs->requestReadName(5); });
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(m_link.device().modeNameText(5), "Renamed On Device");
    EXPECT_EQ(m_link.mirror().value(Mirror::kModeOperation), 5);
    EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(PresetJobsTest, SavesAModeNameOfAtMostTwentyBytes) {
    auto outcome = run([&] { m_jobs->requestSaveName(7, "Karaoke Night Twenty+Five"); });
    ASSERT_TRUE(outcome.ok);
    EXPECT_EQ(m_device.modeName(7), "Karaoke Night Twenty");
    ASSERT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(m_ui.messages()[0].text, "Save successfully!");
    EXPECT_FALSE(m_link.mirror().pending(Mirror::kModeOperation));

    auto log = m_device.requestLog();
    auto save =
        std::find_if(log.begin(), log.end(), [](const auto& f) { return f[2] == kSaveName; });
    ASSERT_NE(save, log.end());
    ASSERT_EQ(save->size(), 3u + 21u + 2u);
    EXPECT_EQ((*save)[3], 7);
    EXPECT_TRUE(waitFor([&] { return m_link.device().modeNameText(7) == "Karaoke Night Twenty"; }))
        << "the names are read again";
}

TEST_F(PresetJobsTest, UnansweredNameSaveFails) {
    SimFaults faults;
    faults.ignoredCommand = kSaveName;
    m_device.setFaults(faults);
    const std::string before = m_device.modeName(2);
    auto outcome = run([&] { m_jobs->requestSaveName(2, "Never"); });
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(m_ui.countMessages("Save Failed!"), 1);
    EXPECT_EQ(m_device.requests(kSaveName), 3u);
    EXPECT_EQ(m_device.modeName(2), before);
}

TEST_F(PresetJobsTest, ModeNumbersOutsideTheDeviceAreRefused) {
    EXPECT_FALSE(m_jobs->requestRecall(0));
    EXPECT_FALSE(m_jobs->requestRecall(17));
    EXPECT_FALSE(m_jobs->requestReadName(-1));
    EXPECT_FALSE(m_jobs->requestSaveName(99, "x"));
    for (LinkJob job : {LinkJob::Recall, LinkJob::ReadName, LinkJob::SaveName})
        EXPECT_FALSE(m_link.supervisor().jobQueued(job));
}

// Each job keeps the inputs it was requested with, whatever the link receives
// before it runs: a whole connection cycle, or the reply of another job.
TEST_F(PresetJobsTest, JobsRunWithTheInputsTheyWereRequestedWith) {
    const struct {
        const char* what;
        bool whileAbsent;
        std::function<void(PresetJobs&)> request;
        int jobs;
        int currentMode;  // on the device afterwards
        const char* name7;
    } cases[] = {
        {"recall while absent", true, [](PresetJobs& j) { j.requestRecall(5); }, 1, 5, nullptr},
        {"name save while absent", true, [](PresetJobs& j) { j.requestSaveName(7, "Brand New"); },
         1, 5, "Brand New"},
        {"name read and save in one iteration", false,
         [](PresetJobs& j) {
             j.requestReadName(3);
             j.requestSaveName(7, "Second Name");
         },
         2, 5, "Second Name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_ui.clear();
        std::vector<std::string> names;
        for (int p = 1; p <= DeviceInfo::kModes; ++p) names.push_back(m_device.modeName(p));
        LinkState& state = m_link.state();
        if (c.whileAbsent) {
            m_device.setAbsent(true);
            ASSERT_TRUE(waitFor([&] { return !state.alive(); }));
        } else {
            state.pauseFlag = true;
        }
        uint64_t serial = m_jobs->lastOutcome().serial;
        c.request(*m_jobs);
        m_device.setAbsent(false);
        state.pauseFlag = false;
        ASSERT_TRUE(waitFor([&] { return m_jobs->lastOutcome().serial >= serial + c.jobs; }));
        EXPECT_TRUE(m_jobs->lastOutcome().ok);
        EXPECT_EQ(m_device.value(Mirror::kCurrentMode), c.currentMode);
        for (int p = 1; p <= DeviceInfo::kModes; ++p) {
            std::string expected = p == 7 && c.name7 ? c.name7 : names[size_t(p - 1)];
            EXPECT_EQ(m_device.modeName(p), expected) << "preset " << p;
        }
        EXPECT_EQ(m_ui.countMessages("Invocation pattern of failure!"), 0);
        EXPECT_EQ(m_ui.countMessages("Save Failed!"), 0);
    }
}

// A slot set without a request takes the preset from the operation word; the
// device refuses a preset it does not have, and the job says so.
TEST_F(PresetJobsTest, RecallOfAModeTheDeviceDoesNotHaveFails) {
    const SimDevice::Memory before = m_device.memory();
    uint64_t serial = m_jobs->lastOutcome().serial;
    m_link.mirror().setPending(Mirror::kModeOperation, 0x0611);
    m_link.supervisor().requestJob(LinkJob::Recall);
    ASSERT_TRUE(waitFor([&] { return m_jobs->lastOutcome().serial > serial; }));
    EXPECT_FALSE(m_jobs->lastOutcome().ok);
    EXPECT_EQ(m_ui.countMessages("Invocation pattern of failure!"), 1);
    auto recalls = SimLinkHarness::framesOf(m_device.requestLog(), Command::RecallMode);
    ASSERT_EQ(recalls.size(), 3u);
    for (const auto& frame : recalls) EXPECT_EQ(frame[3], 17);
    EXPECT_EQ(m_device.value(Mirror::kCurrentMode), before[Mirror::kCurrentMode]);
}
