#include <gtest/gtest.h>
#include <sodium.h>
#include <sys/stat.h>

#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>

#include "platform/clock.h"
#include "support/recording_ui.h"
#include "support/temp_folder.h"
#include "support/update_server.h"
#include "support/wait_for.h"
#include "texts/language.h"
#include "texts/software_update_texts.h"
#include "update/update_installer.h"
#include "update/update_manifest.h"
#include "update/update_packet.h"
#include "update/update_worker.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using End = UpdateWorker::End;

namespace {

const UpdatePacket::MachineId kMachine = {0xA1, 0x06, 0x09, 0x00, 0xFF, 0xFB, 0xEB, 0xBF};
const UpdatePacket::MachineId kOtherMachine = {1, 2, 3, 4, 5, 6, 7, 8};

Bytes answer(bool available, const UpdatePacket::MachineId& machine, const Bytes& token = {}) {
    // Bytes 5 to 11, the machine at 12, the token from 20.
    Bytes payload = {static_cast<uint8_t>(available ? 1 : 0), 0, 0, 0, 0, 0, 0};
    for (uint8_t b : machine) payload.push_back(b);
    for (uint8_t b : token) payload.push_back(b);
    return UpdatePacket::build(UpdatePacket::kVersionAnswer, payload);
}

Bytes downloadStart(uint64_t size) {
    Bytes payload = {0};
    for (int shift = 32; shift >= 0; shift -= 8)
        payload.push_back(static_cast<uint8_t>(size >> shift));
    return UpdatePacket::build(UpdatePacket::kDownloadStart, payload);
}

Bytes text(const std::string& s) {
    return Bytes(s.begin(), s.end());
}

const std::string kOldProgram = "#!/bin/sh\necho old\n";
// Confirms that it runs, as the program does once its window is up.
const std::string kNewProgram =
    "#!/bin/sh\necho \"$@\" >\"$(dirname \"$0\")/arguments\"\nrm -f \"$QX7_UPDATE_CONFIRM\"\n";
const uint32_t kRunning = 0x00010002;

// The worker on a clock 100 times faster against the server on 127.0.0.1,
// replacing a copy of a program in a temporary folder.
class UpdateWorkerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GE(sodium_init(), 0);
        ASSERT_TRUE(m_server.ok());
        Language::set(Language::English);
        crypto_sign_keypair(m_public, m_secret);
        m_program = m_folder.folder("bin") + "program";
        TempFolder::write(m_program, kOldProgram);
        ::chmod(m_program.c_str(), 0755);
    }

    void TearDown() override {
        if (m_worker) m_worker->cancel();
    }

    static UpdateManifest manifestOf(const Bytes& program) {
        UpdateManifest m{UpdateManifest::kProduct, UpdateManifest::thisPlatform(), kRunning + 1,
                         program.size(), Bytes(32)};
        crypto_hash_sha256(m.sha256.data(), program.data(), program.size());
        return m;
    }

    // The program, its manifest, the manifest's length and the signature over it.
    Bytes sign(const Bytes& program, const UpdateManifest& manifest,
               const unsigned char* secret = nullptr) {
        const std::string m = manifest.text();
        Bytes out = program;
        out.insert(out.end(), m.begin(), m.end());
        out.push_back(static_cast<uint8_t>(m.size() >> 8));
        out.push_back(static_cast<uint8_t>(m.size()));
        out.resize(out.size() + crypto_sign_BYTES);
        crypto_sign_detached(out.data() + out.size() - crypto_sign_BYTES, nullptr,
                             reinterpret_cast<const uint8_t*>(m.data()), m.size(),
                             secret ? secret : m_secret);
        return out;
    }
    Bytes sign(const Bytes& program) { return sign(program, manifestOf(program)); }

    void serve(const Bytes& file) {
        Bytes download = downloadStart(file.size());
        download.insert(download.end(), file.begin(), file.end());
        m_server.setAnswer(answer(true, kOtherMachine));
        m_server.setDownload(download, false);
    }

    void startWorker(bool withKey = true, NameLookup::Resolver resolve = SocketAddress::resolve) {
        UpdateWorker::Config config;
        config.resolve = std::move(resolve);
        config.host = "127.0.0.1";
        config.port = m_server.port();
        config.cacheFolder = m_folder.path("cache");
        config.executable = m_program;
        if (withKey) config.publicKey.assign(m_public, m_public + sizeof m_public);
        config.fileVersion = kRunning;
        config.machine = kMachine;
        config.arguments = {"--serial", "/dev/ttyS1"};
        config.releaseLock = [this] { ++m_releases; };
        config.retakeLock = [this] { ++m_retakes; };
        m_worker = std::make_unique<UpdateWorker>(m_ui, m_clock, config, [this] { ++m_quits; });
        ASSERT_TRUE(m_worker->start());
    }

    End awaitEnd() {
        EXPECT_TRUE(waitFor([&] { return !m_worker->running(); }));
        return m_worker->end();
    }

    bool cacheEmpty() const {
        std::error_code ec;
        return !fs::exists(m_folder.path("cache"), ec) || fs::is_empty(m_folder.path("cache"), ec);
    }

    Clock m_clock{100};
    UpdateServer m_server;
    TempFolder m_folder;
    RecordingUi m_ui;
    std::string m_program;
    unsigned char m_public[crypto_sign_PUBLICKEYBYTES];
    unsigned char m_secret[crypto_sign_SECRETKEYBYTES];
    std::atomic<int> m_quits{0};
    std::atomic<int> m_releases{0};
    std::atomic<int> m_retakes{0};
    std::unique_ptr<UpdateWorker> m_worker;
};

}  // namespace

TEST(UpdatePacket, VersionQueryCarriesVersionBuildAndMachine) {
    Bytes q = UpdatePacket::versionQuery(0x00010002, kMachine);
    ASSERT_EQ(q.size(), 22u);
    EXPECT_EQ(Bytes(q.begin(), q.begin() + 6), (Bytes{0x51, 0x7A, 0x00, 0x16, 0x00, 0x00}));
    EXPECT_EQ(Bytes(q.begin() + 6, q.begin() + 10), (Bytes{0x00, 0x01, 0x00, 0x02}));
    EXPECT_EQ(Bytes(q.begin() + 10, q.begin() + 12), (Bytes{0x2E, 0xEA}));
    EXPECT_EQ(q[12], 0xA1);
    ASSERT_EQ(UpdatePacket::scan(q.data(), q.size()).size(), 1u);
}

TEST(UpdatePacket, ScanKeepsOnlyWholePacketsWithTheirCrc) {
    Bytes good = answer(true, kMachine, text("tok"));
    Bytes badCrc = good;
    badCrc.back() ^= 1;
    Bytes pastEnd = good;
    pastEnd[3] = static_cast<uint8_t>(pastEnd[3] + 1);
    Bytes tooShortLength = good;
    tooShortLength[2] = 0;
    tooShortLength[3] = 3;
    Bytes two = downloadStart(0xFFFFFFFFFFull);
    two.insert(two.end(), good.begin(), good.end());
    struct Case {
        Bytes data;
        size_t packets;
    };
    for (const Case& c : {Case{good, 1}, Case{badCrc, 0}, Case{pastEnd, 0}, Case{tooShortLength, 0},
                          Case{two, 2}, Case{Bytes(good.begin(), good.end() - 1), 0}}) {
        EXPECT_EQ(UpdatePacket::scan(c.data.data(), c.data.size()).size(), c.packets);
    }
    auto found = UpdatePacket::scan(two.data(), two.size());
    EXPECT_EQ(found[0].downloadSize(), 0xFFFFFFFFFFull);
    EXPECT_EQ(found[1].token(), text("tok"));
    EXPECT_EQ(found[1].machineId(), kMachine);
    EXPECT_TRUE(found[1].updateAvailable());
}

TEST_F(UpdateWorkerTest, NoServerConfiguredNoWorker) {
    UpdateWorker worker(m_ui, m_clock, UpdateWorker::Config{}, nullptr);
    EXPECT_FALSE(worker.start());
    EXPECT_FALSE(worker.running());
}

TEST_F(UpdateWorkerTest, AnAnswerWithAWrongCrcIsIgnoredAndTheQueryRepeats) {
    Bytes bad = answer(true, kOtherMachine);
    bad[bad.size() - 2] ^= 0x40;
    m_server.setAnswer(bad);
    startWorker();
    ASSERT_TRUE(waitFor([&] { return m_server.queries().size() >= 3; }));
    EXPECT_TRUE(m_worker->running());
    EXPECT_TRUE(m_ui.messages().empty());
    EXPECT_EQ(m_server.queries()[0], UpdatePacket::versionQuery(0x00010002, kMachine));
    m_worker->cancel();
    EXPECT_EQ(m_worker->end(), End::Cancelled);
}

// A name server that never answers must not hold the program's exit.
TEST_F(UpdateWorkerTest, ACancelDuringALookupThatNeverAnswersReturns) {
    struct Lookup {
        std::mutex mutex;
        std::condition_variable released;
        bool asked = false;
        bool free = false;
    };
    auto lookup = std::make_shared<Lookup>();
    startWorker(true, [lookup](const std::string&) -> std::optional<SocketAddress> {
        std::unique_lock lock(lookup->mutex);
        lookup->asked = true;
        lookup->released.wait(lock, [&] { return lookup->free; });
        return std::nullopt;
    });
    ASSERT_TRUE(waitFor([&] {
        std::lock_guard lock(lookup->mutex);
        return lookup->asked;
    }));
    m_worker->cancel();
    EXPECT_EQ(m_worker->end(), End::Cancelled);
    EXPECT_TRUE(m_server.queries().empty());
    std::lock_guard lock(lookup->mutex);
    lookup->free = true;
    lookup->released.notify_all();
}

TEST_F(UpdateWorkerTest, CancelInTheQuestionEndsTheWorkerWithoutContactingTheServer) {
    m_server.setAnswer(answer(true, kOtherMachine));
    m_ui.onMessageBox([](const RecordingUi::Message&) { return LinkUi::No; });
    startWorker();
    EXPECT_EQ(awaitEnd(), End::Declined);
    ASSERT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(m_ui.messages()[0].text, "Software update,Whether to update!");
    EXPECT_EQ(m_ui.messages()[0].caption, "Tip!");
    EXPECT_EQ(m_server.connections(), 0u);
    EXPECT_EQ(m_server.queries().size(), 1u);
}

TEST_F(UpdateWorkerTest, ItsOwnMachineIdentifierEndsTheWorker) {
    m_server.setAnswer(answer(true, kMachine));
    startWorker();
    EXPECT_EQ(awaitEnd(), End::SameMachine);
    EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(UpdateWorkerTest, BrokenDownloadsLeaveNoFileAndTheExchangeStartsAgain) {
    Bytes program = sign(text(kNewProgram));
    Bytes half = downloadStart(program.size());
    half.insert(half.end(), program.begin(), program.begin() + program.size() / 2);
    Bytes huge = downloadStart((uint64_t{1} << 40) - 1);
    huge.insert(huge.end(), 100, 0x55);
    for (const Bytes& download : {half, huge}) {
        m_server.setAnswer(answer(true, kOtherMachine, text("T")));
        m_server.setDownload(download, true);  // the peer stops sending
        size_t connections = m_server.connections();
        startWorker();
        ASSERT_TRUE(waitFor([&] { return m_server.connections() > connections + 1; }));
        EXPECT_EQ(m_server.requests().at(0), UpdatePacket::downloadRequest(text("T")));
        m_worker->cancel();
        EXPECT_TRUE(cacheEmpty());
        EXPECT_EQ(TempFolder::read(m_program), kOldProgram);
        EXPECT_EQ(m_quits, 0);
    }
}

TEST_F(UpdateWorkerTest, AServerThatTricklesIsGivenUpAtTheEndOfAWindow) {
    Bytes file = sign(Bytes(256 * 1024, 'x'));
    Bytes download = downloadStart(file.size());
    download.insert(download.end(), file.begin(), file.end());
    m_server.setAnswer(answer(true, kOtherMachine));
    m_server.setDownload(download, true, 2000);
    startWorker();
    // A byte every 20 ms kept the old per-read wait from ever running out.
    EXPECT_TRUE(waitFor([&] { return m_server.connections() >= 2; }, std::chrono::seconds(5)));
    m_worker->cancel();
    EXPECT_TRUE(cacheEmpty());
    EXPECT_EQ(TempFolder::read(m_program), kOldProgram);
}

TEST_F(UpdateWorkerTest, ASignedDownloadReplacesTheProgramWhichStartsWithTheSameOptions) {
    serve(sign(text(kNewProgram)));
    startWorker();
    EXPECT_EQ(awaitEnd(), End::Installed);
    EXPECT_EQ(m_quits, 1);
    EXPECT_EQ(m_releases, 1);
    EXPECT_EQ(m_retakes, 0);
    EXPECT_EQ(TempFolder::read(m_program), kNewProgram);
    EXPECT_EQ(TempFolder::read(m_folder.path("bin/arguments")), "--serial /dev/ttyS1\n");
    EXPECT_FALSE(fs::exists(UpdateInstaller::backupPath(m_program))) << "removed once confirmed";
    EXPECT_FALSE(fs::exists(UpdateInstaller::markerPath(m_program)));
    EXPECT_TRUE(cacheEmpty());
    EXPECT_EQ(m_ui.progressLog().back(), "hide");
}

TEST_F(UpdateWorkerTest, ACancelWithTheLastChunkInstallsNothing) {
    const Bytes file = sign(text(kNewProgram));
    serve(file);
    m_ui.cancelAtPosition(static_cast<int>(file.size()));
    startWorker();
    EXPECT_EQ(awaitEnd(), End::Cancelled);
    EXPECT_EQ(TempFolder::read(m_program), kOldProgram);
    EXPECT_FALSE(fs::exists(UpdateInstaller::backupPath(m_program)));
    EXPECT_TRUE(cacheEmpty());
    EXPECT_EQ(m_quits, 0);
    EXPECT_EQ(m_ui.progressLog().back(), "hide");
}

TEST_F(UpdateWorkerTest, ANewProgramThatDoesNotStartLeavesTheOldOneInPlace) {
    for (const std::string& program :
         {std::string("#!/bin/sh\nexit 0\n"), std::string("not a program at all\n")}) {
        SCOPED_TRACE(program);
        m_ui.clear();
        m_retakes = 0;
        serve(sign(text(program)));
        startWorker();
        EXPECT_EQ(awaitEnd(), End::NotStarted);
        EXPECT_EQ(m_ui.messages().back().text, updatetext::NotStarted[2]);
        EXPECT_EQ(TempFolder::read(m_program), kOldProgram);
        EXPECT_FALSE(fs::exists(UpdateInstaller::backupPath(m_program)));
        EXPECT_FALSE(fs::exists(UpdateInstaller::markerPath(m_program)));
        EXPECT_EQ(m_retakes, 1);
    }
    EXPECT_EQ(m_quits, 0);
}

// A new program that never confirmed (it hung, or the machine went down) is
// replaced by the old one at the next start; the new one confirming is not.
TEST(UpdateInstallerStart, AnUnconfirmedUpdateIsUndoneAtTheNextStart) {
    struct Case {
        const char* name;
        bool marker;
        bool confirming;
        UpdateInstaller::Previous previous;
        const char* program;
        bool backupKept;
    };
    const Case cases[] = {
        {"never confirmed", true, false, UpdateInstaller::Previous::Restored, "old", false},
        {"the new program starting", true, true, UpdateInstaller::Previous::Confirming, "new",
         true},
        {"a confirmed update", false, false, UpdateInstaller::Previous::None, "new", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string program = folder.path("program");
        TempFolder::write(program, "new");
        TempFolder::write(UpdateInstaller::backupPath(program), "old");
        if (c.marker) TempFolder::write(UpdateInstaller::markerPath(program), "");
        if (c.confirming)
            ::setenv(UpdateInstaller::kConfirmVariable,
                     UpdateInstaller::markerPath(program).c_str(), 1);
        EXPECT_EQ(UpdateInstaller::atStart(program), c.previous);
        EXPECT_EQ(::getenv(UpdateInstaller::kConfirmVariable), nullptr);
        EXPECT_EQ(TempFolder::read(program), c.program);
        EXPECT_EQ(fs::exists(UpdateInstaller::backupPath(program)), c.backupKept);
        EXPECT_EQ(fs::exists(UpdateInstaller::markerPath(program)), c.confirming);
    }
}

TEST_F(UpdateWorkerTest, WithoutAKeyBuiltInUpdatesAreOffAndNothingIsAsked) {
    serve(sign(text(kNewProgram)));
    startWorker(false);
    EXPECT_EQ(awaitEnd(), End::UpdatesOff);
    ASSERT_EQ(m_ui.messages().size(), 1u);
    EXPECT_EQ(m_ui.messages()[0].text, updatetext::UpdatesOff[2]);
    EXPECT_TRUE(m_server.queries().empty());
}

TEST_F(UpdateWorkerTest, DownloadsThatDoNotVerifyOrAreNotANewerBuildHereAreRefused) {
    unsigned char otherPublic[crypto_sign_PUBLICKEYBYTES];
    unsigned char otherSecret[crypto_sign_SECRETKEYBYTES];
    crypto_sign_keypair(otherPublic, otherSecret);
    const Bytes program = text(kNewProgram);
    Bytes tampered = sign(program);
    tampered[12] ^= 1;
    UpdateManifest same = manifestOf(program);
    same.version = kRunning;
    UpdateManifest older = manifestOf(program);
    older.version = kRunning - 1;
    UpdateManifest otherPlatform = manifestOf(program);
    otherPlatform.platform = "other-arm";
    UpdateManifest otherProduct = manifestOf(program);
    otherProduct.product = "qx9";
    UpdateManifest shorter = manifestOf(program);
    shorter.size = program.size() - 1;
    struct Case {
        const char* name;
        Bytes file;
        End end;
        const TextTriple& text;
    };
    const Case cases[] = {
        {"tampered", tampered, End::NotVerified, updatetext::NotVerified},
        {"unsigned", text(kNewProgram + std::string(66, '#')), End::NotVerified,
         updatetext::NotVerified},
        {"another key", sign(program, manifestOf(program), otherSecret), End::NotVerified,
         updatetext::NotVerified},
        {"another size", sign(program, shorter), End::NotVerified, updatetext::NotVerified},
        {"the running version", sign(program, same), End::NotNewer, updatetext::NotNewer},
        {"an older version", sign(program, older), End::NotNewer, updatetext::NotNewer},
        {"another platform", sign(program, otherPlatform), End::OtherPlatform,
         updatetext::OtherPlatform},
        {"another product", sign(program, otherProduct), End::OtherPlatform,
         updatetext::OtherPlatform},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_ui.clear();
        serve(c.file);
        startWorker();
        EXPECT_EQ(awaitEnd(), c.end);
        ASSERT_EQ(m_ui.messages().size(), 2u);
        EXPECT_EQ(m_ui.messages()[1].text, c.text[2]);
        EXPECT_TRUE(cacheEmpty());
        EXPECT_EQ(TempFolder::read(m_program), kOldProgram);
        EXPECT_FALSE(fs::exists(UpdateInstaller::backupPath(m_program)));
    }
    EXPECT_EQ(m_quits, 0);
    EXPECT_EQ(m_releases, 0);
}

TEST(UpdateManifest, ReadsBackWhatItWritesAndNothingElse) {
    UpdateManifest m{"qx7", "linux-x86_64", 0x00020005, 123456, Bytes(32, 0xAB)};
    const std::string good = m.text();
    EXPECT_EQ(good.substr(0, 46), "product=qx7\nplatform=linux-x86_64\nversion=2.5\n");
    auto parse = [](const std::string& t) {
        return UpdateManifest::parse(reinterpret_cast<const uint8_t*>(t.data()), t.size());
    };
    EXPECT_EQ(parse(good), m);
    for (const std::string& bad :
         {good.substr(0, good.size() - 1), good + good.substr(0, 12), good + "extra=1\n",
          std::string("product=qx7\n"), std::string("product=q x7") + good.substr(11),
          good.substr(0, 42) + "2.x\n" + good.substr(46), std::string(600, '\n')})
        EXPECT_FALSE(parse(bad)) << bad;
}
