#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "link/firmware_upgrade.h"
#include "link/link_event.h"
#include "link/link_supervisor.h"
#include "support/package_file.h"
#include "support/sim_link_harness.h"
#include "support/wait_for.h"
#include "texts/language.h"
#include "texts/upgrade_texts.h"

namespace {

constexpr uint8_t kStart = 0xFE;
constexpr uint8_t kBlock = 0xFF;
constexpr uint8_t kFinish = 0xFC;
using Result = FirmwareUpgrade::Result;

// The numbers of the blocks the device was sent, in order.
std::vector<uint32_t> blockNumbers(const std::vector<std::vector<uint8_t>>& log) {
    std::vector<uint32_t> numbers;
    for (const auto& frame : log)
        if (frame.size() == 264 && frame[2] == kBlock)
            numbers.push_back(static_cast<uint32_t>(frame[3] << 16 | frame[4] << 8 | frame[5]));
    return numbers;
}

bool anyUpgradeFrame(const std::vector<std::vector<uint8_t>>& log) {
    for (const auto& frame : log)
        if (frame[2] == kStart || frame[2] == kBlock || frame[2] == kFinish) return true;
    return false;
}

class FirmwareUpgradeTest : public ::testing::Test {
protected:
    void SetUp() override {
        Language::set(Language::English);
        m_upgrade = std::make_unique<FirmwareUpgrade>(m_h.link);
        ASSERT_TRUE(m_h.start());
        ASSERT_TRUE(waitFor([&] { return m_h.link.supervisor().steadyIterations() > 0; }));
        m_h.device.clearRequestLog();
        m_h.ui.clear();
    }

    void TearDown() override {
        m_h.stop();
        m_upgrade.reset();
    }

    Result run(int type, const PackageFile& package) {
        std::string path = m_files.path("package.bin");
        package.write(path);
        return runFile(type, path);
    }

    Result runFile(int type, const std::string& path) {
        uint64_t before = m_upgrade->lastOutcome().serial;
        m_upgrade->request(type, path);
        EXPECT_TRUE(waitFor([&] { return m_upgrade->lastOutcome().serial > before; }));
        return m_upgrade->lastOutcome().result;
    }

    std::vector<std::string> messages() {
        std::vector<std::string> texts;
        for (const auto& m : m_h.ui.messages()) texts.push_back(m.text);
        return texts;
    }

    SimLinkHarness m_h;
    TempFolder m_files;
    std::unique_ptr<FirmwareUpgrade> m_upgrade;
};

}  // namespace

TEST_F(FirmwareUpgradeTest, EveryTypeArrivesWholeInTheLoader) {
    // Two whole passes and a part of a block; the last type fits one block.
    const size_t sizes[] = {8192 + 300, 4096, 2 * 4096 + 256, 5000, 100};
    for (int type = 1; type <= FirmwareUpgrade::kTypes; ++type) {
        SCOPED_TRACE(type);
        m_h.ui.clear();
        PackageFile package{type, PackageFile::randomImage(sizes[type - 1], type)};
        package.k = static_cast<uint8_t>(type * 30);
        int searches =
            m_h.ui.countEvents(LinkEvent::ConnectionState, LinkEvent::Connection::Searching);
        ASSERT_EQ(run(type, package), Result::Succeeded);
        EXPECT_EQ(messages(), std::vector<std::string>{upgradetext::kSucceeded});

        SimLoader::Report report = m_h.device.loaderReport();
        EXPECT_EQ(report.type, type);
        EXPECT_TRUE(report.finished);
        ASSERT_EQ(report.image.size() % 256, 0u);
        ASSERT_GE(report.image.size(), package.image.size());
        EXPECT_TRUE(std::equal(package.image.begin(), package.image.end(), report.image.begin()));
        EXPECT_EQ(m_h.ui.progressLog().back(), "hide");
        // Only the communication module restarts into its loader and is searched for.
        int searched =
            m_h.ui.countEvents(LinkEvent::ConnectionState, LinkEvent::Connection::Searching) -
            searches;
        EXPECT_EQ(searched > 0, type == 3);
        EXPECT_TRUE(waitFor([&] { return m_h.link.state().alive(); }));
    }
}

TEST_F(FirmwareUpgradeTest, BadFilesAreRefusedBeforeAnythingIsSent) {
    PackageFile good{2, PackageFile::randomImage(600, 7)};
    std::vector<uint8_t> odd = good.bytes();
    odd.pop_back();
    PackageFile pastHeader = good;
    pastHeader.k = 241;
    PackageFile duplicate = good;
    duplicate.alphabet[9] = duplicate.alphabet[3];
    std::vector<uint8_t> foreign = good.bytes();
    foreign[700] = '#';
    struct Case {
        const char* name;
        int type;
        std::vector<uint8_t> bytes;
        Result result;
        std::string message;
    };
    const Case cases[] = {
        {"another type", 1, good.bytes(), Result::WrongType, upgradetext::kNotDsp1Package},
        {"another type", 3, good.bytes(), Result::WrongType, upgradetext::kNotCommPackage},
        {"too short", 2, std::vector<uint8_t>(257, 1), Result::BadPackage,
         upgradetext::PackageTooShort[2]},
        {"odd image", 2, odd, Result::BadPackage, upgradetext::PackageOddImage[2]},
        {"alphabet past header", 2, pastHeader.bytes(), Result::BadPackage,
         upgradetext::PackageAlphabetPastHeader[2]},
        {"duplicate symbols", 2, duplicate.bytes(), Result::BadPackage,
         upgradetext::PackageDuplicateSymbols[2]},
        {"a symbol outside the alphabet", 2, foreign, Result::BadPackage,
         upgradetext::PackageForeignSymbol[2]},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_h.ui.clear();
        std::string path = m_files.path("bad.bin");
        PackageFile::writeBytes(path, c.bytes);
        EXPECT_EQ(runFile(c.type, path), c.result);
        EXPECT_EQ(messages(), std::vector<std::string>{c.message});
    }
    m_h.ui.clear();
    std::string missing = m_files.path("missing.bin");
    EXPECT_EQ(runFile(4, missing), Result::CannotOpen);
    EXPECT_EQ(messages(), std::vector<std::string>{"打开" + missing + "文件失败"});
    EXPECT_FALSE(anyUpgradeFrame(m_h.device.requestLog()));
}

TEST_F(FirmwareUpgradeTest, AWrongNumberRestartsThePassAndSilenceResendsTheBlock) {
    PackageFile package{5, PackageFile::randomImage(3 * 4096, 5)};
    struct Case {
        const char* name;
        SimLoader::Faults faults;
        std::vector<uint32_t> expected;  // block numbers from 4096 on, up to 8192
    };
    const std::vector<uint32_t> pass = {4096, 4352, 4608, 4864, 5120, 5376, 5632, 5888,
                                        6144, 6400, 6656, 6912, 7168, 7424, 7680, 7936};
    std::vector<uint32_t> restarted = {4096, 4352, 4608};
    restarted.insert(restarted.end(), pass.begin(), pass.end());
    std::vector<uint32_t> resent = {4096, 4352, 4608, 4608};
    resent.insert(resent.end(), pass.begin() + 3, pass.end());
    SimLoader::Faults wrong;
    wrong.wrongNumberBlock = 4608;
    wrong.wrongNumberTimes = 1;
    SimLoader::Faults silent;
    silent.silentBlock = 4608;
    silent.silentTimes = 1;
    for (const Case& c :
         {Case{"wrong number", wrong, restarted}, Case{"no answer", silent, resent}}) {
        SCOPED_TRACE(c.name);
        m_h.device.clearRequestLog();
        m_h.ui.clear();
        m_h.device.setLoaderFaults(c.faults);
        ASSERT_EQ(run(5, package), Result::Succeeded);
        std::vector<uint32_t> numbers = blockNumbers(m_h.device.requestLog());
        auto from = std::find(numbers.begin(), numbers.end(), 4096u);
        auto to = std::find(numbers.begin(), numbers.end(), 8192u);
        EXPECT_EQ(std::vector<uint32_t>(from, to), c.expected);
        EXPECT_TRUE(std::equal(package.image.begin(), package.image.end(),
                               m_h.device.loaderReport().image.begin()));
    }
}

TEST_F(FirmwareUpgradeTest, EndsWithFailureAfterElevenRefusalsOrFailures) {
    PackageFile package{1, PackageFile::randomImage(1000, 1)};
    SimLoader::Faults refused;
    refused.refusedStarts = 11;
    SimLoader::Faults failing;
    failing.wrongNumberBlock = 512;
    failing.wrongNumberTimes = 11;
    for (const SimLoader::Faults& faults : {refused, failing}) {
        m_h.device.clearRequestLog();
        m_h.ui.clear();
        m_h.device.setLoaderFaults(faults);
        EXPECT_EQ(run(1, package), Result::Failed);
        EXPECT_EQ(messages(), std::vector<std::string>{upgradetext::kFailed});
        auto log = m_h.device.requestLog();
        EXPECT_TRUE(SimLinkHarness::framesOf(log, Command::UpgradeFinish).empty());
    }
    EXPECT_EQ(m_h.device.loaderReport().blocks, 11u + 11u * 2u);
}

TEST_F(FirmwareUpgradeTest, InterruptedBetweenPasses) {
    PackageFile package{4, PackageFile::randomImage(4 * 4096, 4)};
    SimLoader::Faults faults;
    faults.silentBlock = 4096;  // holds the second pass while the user interrupts
    faults.silentTimes = 1;
    m_h.device.setLoaderFaults(faults);
    package.write(m_files.path("p.bin"));
    uint64_t before = m_upgrade->lastOutcome().serial;
    m_upgrade->request(4, m_files.path("p.bin"));
    ASSERT_TRUE(waitFor([&] {
        std::vector<uint32_t> numbers = blockNumbers(m_h.device.requestLog());
        return !numbers.empty() && numbers.back() == 4096;
    }));
    m_upgrade->interrupt();
    ASSERT_TRUE(waitFor([&] { return m_upgrade->lastOutcome().serial > before; }));
    EXPECT_EQ(m_upgrade->lastOutcome().result, Result::Interrupted);
    EXPECT_EQ(messages(), std::vector<std::string>{upgradetext::kInterrupted});
    std::vector<uint32_t> numbers = blockNumbers(m_h.device.requestLog());
    EXPECT_EQ(numbers.back(), 8192u - 256u) << "the second pass ends, the third never begins";
    EXPECT_TRUE(SimLinkHarness::framesOf(m_h.device.requestLog(), Command::UpgradeFinish).empty());
}
