#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "app/ckf_file_data.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint16_t> sampleValues(uint32_t seed = 3, size_t n = 1746) {
    std::mt19937 random(seed);
    std::vector<uint16_t> values(n);
    for (auto& v : values) v = static_cast<uint16_t>(random());
    values[0] = 22356;
    return values;
}

std::vector<int32_t> widened(const std::vector<uint16_t>& values) {
    return std::vector<int32_t>(values.begin(), values.end());
}

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void putFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Program folder, user data folder and current folder, all fresh.
class PresetFiles : public ::testing::Test {
protected:
    void SetUp() override {
        m_program = m_root.folder("program");
        m_user = m_root.folder("user");
        m_current = m_root.folder("current");
        m_previous = fs::current_path();
        fs::current_path(m_current);
        CKF_FileData::overrideFolders(m_program, m_user);
    }
    void TearDown() override {
        CKF_FileData::overrideFolders("", "");
        fs::current_path(m_previous);
    }

    // A folder that no one, root included, can create: its parent is a file.
    std::string impossibleFolder(const std::string& name) {
        std::string blocker = m_root.path(name + "-blocker");
        putFileBytes(blocker, {1});
        return blocker + "/" + name + "/";
    }

    TempFolder m_root;
    std::string m_program, m_user, m_current;
    fs::path m_previous;
};

}  // namespace

TEST_F(PresetFiles, WrittenFileReadsBackWithValuesMagicAndTimeStamp) {
    std::vector<uint16_t> values = sampleValues();
    CKF_FileData writer;
    writer.preset().deviceMagic = 22356;
    ASSERT_EQ(writer.writePreset(m_current + "room1", values), 0);
    ASSERT_TRUE(fs::exists(m_current + "room1.qmx"));
    EXPECT_EQ(fs::file_size(m_current + "room1.qmx"), 7762u);

    CKF_FileData reader;
    ASSERT_EQ(reader.readPreset(m_current + "room1.qmx"), 0);
    EXPECT_EQ(reader.preset().values, widened(values));
    EXPECT_EQ(reader.preset().valueCount, 1746u);
    EXPECT_EQ(reader.preset().deviceMagic, 22356u);
    EXPECT_EQ(reader.preset().timeStamp, writer.creationTime());
    EXPECT_EQ(reader.preset().passwordMark, 0);
    EXPECT_EQ(reader.preset().headerLength, 512u);
    EXPECT_EQ(reader.preset().formatMark, 1u);
}

TEST_F(PresetFiles, TwoSavesOfTheSameValuesDifferAndBothReadBack) {
    std::vector<uint16_t> values = sampleValues();
    CKF_FileData data;
    ASSERT_EQ(data.writePreset("a", values), 0);
    ASSERT_EQ(data.writePreset("b", values), 0);
    EXPECT_NE(fileBytes("a.qmx"), fileBytes("b.qmx"));
    for (const char* name : {"a", "b"}) {
        CKF_FileData reader;
        ASSERT_EQ(reader.readPreset(name), 0);
        EXPECT_EQ(reader.preset().values, widened(values));
    }
}

TEST_F(PresetFiles, DamagedFilesGiveCode6AndLeaveTheFieldsAlone) {
    CKF_FileData writer;
    writer.preset().deviceMagic = 22356;
    ASSERT_EQ(writer.writePreset("good", sampleValues()), 0);
    const std::vector<uint8_t> good = fileBytes("good.qmx");

    std::vector<uint8_t> flipped = good;
    flipped[256] ^= 0x40;
    putFileBytes("flipped.qmx", flipped);
    std::vector<uint8_t> flippedLate = good;
    flippedLate[5000] = static_cast<uint8_t>(~flippedLate[5000]);
    putFileBytes("flipped-late.qmx", flippedLate);
    putFileBytes("truncated.qmx", std::vector<uint8_t>(good.begin(), good.begin() + 4000));
    putFileBytes("short.qmx", std::vector<uint8_t>(good.begin(), good.begin() + 100));
    putFileBytes("empty.qmx", {});
    std::vector<uint8_t> junk(7762);
    std::mt19937 random(5);
    for (auto& b : junk) b = static_cast<uint8_t>(random());
    putFileBytes("junk.qmx", junk);

    for (const char* name : {"flipped", "flipped-late", "truncated", "short", "empty", "junk"}) {
        CKF_FileData reader;
        reader.preset().deviceMagic = 1;
        EXPECT_EQ(reader.readPreset(name), 6) << name;
        EXPECT_EQ(reader.preset().deviceMagic, 1u) << name;
        EXPECT_TRUE(reader.preset().values.empty()) << name;
    }
}

TEST_F(PresetFiles, PaddedFileReadsTheContentAndAHugeOneIsRefused) {
    std::vector<uint16_t> values = sampleValues();
    CKF_FileData writer;
    ASSERT_EQ(writer.writePreset("padded", values), 0);
    std::vector<uint8_t> bytes = fileBytes("padded.qmx");
    bytes.insert(bytes.end(), 333, 0x00);
    putFileBytes("padded.qmx", bytes);
    CKF_FileData reader;
    ASSERT_EQ(reader.readPreset("padded"), 0);
    EXPECT_EQ(reader.preset().values, widened(values));

    bytes.resize(CKF_FileData::kMaxPresetFileSize + 1, 0x00);
    putFileBytes("huge.qmx", bytes);
    EXPECT_EQ(reader.readPreset("huge"), 6);
}

TEST_F(PresetFiles, EmptyNamesGiveCode2Everywhere) {
    CKF_FileData data;
    EXPECT_EQ(data.writePreset("", sampleValues()), 2);
    EXPECT_EQ(data.readPreset(""), 2);
    EXPECT_EQ(data.savePreset("", sampleValues()), 2);
    EXPECT_EQ(data.loadPreset(""), 2);
    EXPECT_EQ(data.deletePreset(""), 2);
    EXPECT_FALSE(data.presetExists(""));
    EXPECT_TRUE(fs::is_empty(m_program));
    EXPECT_TRUE(fs::is_empty(m_user));
    EXPECT_TRUE(fs::is_empty(m_current));
}

TEST_F(PresetFiles, MissingFilesAndFoldersGiveCode4) {
    CKF_FileData data;
    EXPECT_EQ(data.readPreset("nothing"), 4);
    EXPECT_EQ(data.loadPreset("nothing"), 4);
    fs::create_directories(m_current + "folder.qmx");
    EXPECT_EQ(data.readPreset("folder.qmx"), 4);
    EXPECT_EQ(data.loadPreset("folder"), 4);
}

TEST_F(PresetFiles, NameWithAndWithoutExtensionAddressTheSameFile) {
    std::vector<uint16_t> values = sampleValues();
    CKF_FileData data;
    ASSERT_EQ(data.savePreset("Hall", values), 0);
    EXPECT_TRUE(fs::exists(m_program + "Hall.qmx"));
    EXPECT_TRUE(data.presetExists("Hall"));
    EXPECT_TRUE(data.presetExists("Hall.qmx"));
    EXPECT_EQ(data.presetFullPath("Hall"), data.presetFullPath("Hall.qmx"));
    EXPECT_EQ(data.presetFullPath("Hall"),
              fs::path(m_program + "Hall.qmx").lexically_normal().string());

    CKF_FileData a, b;
    ASSERT_EQ(a.loadPreset("Hall"), 0);
    ASSERT_EQ(b.loadPreset("Hall.qmx"), 0);
    EXPECT_EQ(a.preset().values, b.preset().values);

    EXPECT_EQ(data.deletePreset("Hall.qmx"), 0);
    EXPECT_FALSE(data.presetExists("Hall"));
    EXPECT_EQ(data.deletePreset("Hall"), 0) << "deleting what is not there is no error";
}

TEST_F(PresetFiles, SaveGoesToTheProgramFolderAndReplacesOtherCopies) {
    CKF_FileData first;
    ASSERT_EQ(first.writePreset(m_current + "Party", sampleValues(1)), 0);
    ASSERT_EQ(first.writePreset(m_user + "Party", sampleValues(2)), 0);

    CKF_FileData saver;
    std::vector<uint16_t> values = sampleValues(3);
    ASSERT_EQ(saver.savePreset("Party", values), 0);
    EXPECT_EQ(saver.lastSavedPath(), fs::path(m_program + "Party.qmx").lexically_normal().string());
    EXPECT_FALSE(fs::exists(m_current + "Party.qmx"));
    EXPECT_FALSE(fs::exists(m_user + "Party.qmx"));

    CKF_FileData loader;
    ASSERT_EQ(loader.loadPreset("Party"), 0);
    EXPECT_EQ(loader.preset().values, widened(values));
    EXPECT_EQ(saver.listPresets(), std::vector<std::string>{"Party.qmx"});
}

TEST_F(PresetFiles, ReadOnlyProgramFolderSendsTheFileToTheUserFolder) {
    std::string user = m_root.path("later/user/");
    CKF_FileData::overrideFolders(impossibleFolder("program"), user);
    CKF_FileData data;
    std::vector<uint16_t> values = sampleValues();
    ASSERT_EQ(data.savePreset("Night", values), 0);
    EXPECT_TRUE(fs::exists(user + "Night.qmx")) << "the user folder is created when needed";
    EXPECT_EQ(data.lastSavedPath(), fs::path(user + "Night.qmx").lexically_normal().string());
    EXPECT_EQ(data.listPresets(), std::vector<std::string>{"Night.qmx"});

    CKF_FileData loader;
    ASSERT_EQ(loader.loadPreset("Night"), 0);
    EXPECT_EQ(loader.preset().values, widened(values));
}

TEST_F(PresetFiles, NoWritableFolderGivesCode5AndKeepsTheOldFile) {
    CKF_FileData old;
    ASSERT_EQ(old.writePreset(m_current + "Keep", sampleValues(1)), 0);
    const std::vector<uint8_t> before = fileBytes(m_current + "Keep.qmx");

    CKF_FileData::overrideFolders(impossibleFolder("program"), impossibleFolder("user"));
    CKF_FileData data;
    EXPECT_EQ(data.savePreset("Keep", sampleValues(2)), 5);
    EXPECT_EQ(fileBytes(m_current + "Keep.qmx"), before) << "a failed save deletes nothing";
    EXPECT_EQ(data.writePreset(impossibleFolder("elsewhere") + "x", sampleValues()), 5);
}

TEST_F(PresetFiles, RewritingAFileLeavesNoTemporaryFilesBehind) {
    CKF_FileData data;
    for (uint32_t seed = 0; seed < 3; ++seed)
        ASSERT_EQ(data.writePreset("same", sampleValues(seed)), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_current), fs::directory_iterator()), 1);
    CKF_FileData reader;
    ASSERT_EQ(reader.readPreset("same"), 0);
    EXPECT_EQ(reader.preset().values, widened(sampleValues(2)));
    fs::create_directories(m_current + "dir.qmx");
    EXPECT_EQ(data.writePreset("dir", sampleValues()), 5) << "a folder is never replaced";
}

TEST_F(PresetFiles, SaveWithAFolderInTheNameWritesExactlyThere) {
    std::string elsewhere = m_root.folder("elsewhere");
    CKF_FileData data;
    ASSERT_EQ(data.savePreset(elsewhere + "Cinema", sampleValues()), 0);
    EXPECT_TRUE(fs::exists(elsewhere + "Cinema.qmx"));
    EXPECT_TRUE(fs::is_empty(m_program));
    CKF_FileData loader;
    EXPECT_EQ(loader.loadPreset(elsewhere + "Cinema"), 0);
    EXPECT_EQ(loader.loadPreset("Cinema"), 4);
}

TEST_F(PresetFiles, LoadSearchesCurrentThenProgramThenUserFolder) {
    CKF_FileData data;
    ASSERT_EQ(data.writePreset(m_user + "Jazz", sampleValues(1)), 0);
    CKF_FileData a;
    ASSERT_EQ(a.loadPreset("Jazz"), 0);
    EXPECT_EQ(a.preset().values, widened(sampleValues(1)));

    ASSERT_EQ(data.writePreset(m_program + "Jazz", sampleValues(2)), 0);
    CKF_FileData b;
    ASSERT_EQ(b.loadPreset("Jazz"), 0);
    EXPECT_EQ(b.preset().values, widened(sampleValues(2)));

    ASSERT_EQ(data.writePreset(m_current + "Jazz", sampleValues(3)), 0);
    CKF_FileData c;
    ASSERT_EQ(c.loadPreset("Jazz"), 0);
    EXPECT_EQ(c.preset().values, widened(sampleValues(3)));

    // A damaged first copy is reported, not skipped for an older one.
    std::vector<uint8_t> bytes = fileBytes(m_current + "Jazz.qmx");
    bytes[3000] ^= 0x10;
    putFileBytes(m_current + "Jazz.qmx", bytes);
    CKF_FileData d;
    EXPECT_EQ(d.loadPreset("Jazz"), 6);
}

TEST_F(PresetFiles, ListShowsEveryFolderAndNamesFoundTwice) {
    CKF_FileData data;
    ASSERT_EQ(data.writePreset(m_current + "B", sampleValues()), 0);
    ASSERT_EQ(data.writePreset(m_current + "A", sampleValues()), 0);
    ASSERT_EQ(data.writePreset(m_user + "A", sampleValues()), 0);
    ASSERT_EQ(data.writePreset(m_program + "P", sampleValues()), 0);
    putFileBytes(m_current + "notes.txt", {1, 2});
    putFileBytes(m_current + "old.qmx.bak", {1, 2});
    EXPECT_EQ(data.listPresets(), (std::vector<std::string>{"A.qmx", "B.qmx", "P.qmx", "A.qmx"}));

    CKF_FileData::overrideFolders(m_current, m_user + "missing/");
    EXPECT_EQ(data.listPresets(), (std::vector<std::string>{"A.qmx", "B.qmx"}))
        << "the current folder is listed once even when it is the program folder";
}

TEST_F(PresetFiles, FullPathOfAnUnknownNameIsInTheUserFolder) {
    CKF_FileData data;
    EXPECT_EQ(data.presetFullPath("Fresh"), m_user + "Fresh.qmx");
}

TEST_F(PresetFiles, ProtectedMarkAndHeaderFieldsSurviveAFile) {
    CKF_FileData writer;
    writer.preset().deviceMagic = 0x1234;
    writer.preset().passwordMark = 1;
    writer.preset().reserved1 = 5;
    writer.preset().reserved2 = 6;
    ASSERT_EQ(writer.writePreset("locked", sampleValues()), 0);
    CKF_FileData reader;
    ASSERT_EQ(reader.readPreset("locked"), 0);
    EXPECT_EQ(reader.preset().passwordMark, 1);
    EXPECT_EQ(reader.preset().deviceMagic, 0x1234u);
    EXPECT_EQ(reader.preset().reserved1, 5u);
    EXPECT_EQ(reader.preset().reserved2, 6u);
}
