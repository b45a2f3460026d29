#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "files/preset_files.h"
#include "files/settings.h"
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
class PresetFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_program = m_root.folder("program");
        m_user = m_root.folder("user");
        m_current = m_root.folder("current");
        m_previous = fs::current_path();
        fs::current_path(m_current);
        Settings::overrideFolders(m_program, m_user);
    }
    void TearDown() override {
        Settings::overrideFolders("", "");
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

TEST_F(PresetFilesTest, WrittenFileReadsBackWithValuesMagicAndTimeStamp) {
    std::vector<uint16_t> values = sampleValues();
    PresetFiles writer;
    writer.preset().deviceMagic = 22356;
    ASSERT_EQ(writer.writePreset(m_current + "room1", values), 0);
    ASSERT_TRUE(fs::exists(m_current + "room1.qmx"));
    EXPECT_EQ(fs::file_size(m_current + "room1.qmx"), 7762u);

    PresetFiles reader;
    ASSERT_EQ(reader.readPreset(m_current + "room1.qmx"), 0);
    EXPECT_EQ(reader.preset().values, widened(values));
    EXPECT_EQ(reader.preset().valueCount, 1746u);
    EXPECT_EQ(reader.preset().deviceMagic, 22356u);
    EXPECT_EQ(reader.preset().timeStamp, writer.creationTime());
    EXPECT_EQ(reader.preset().passwordMark, 0);
    EXPECT_EQ(reader.preset().headerLength, 512u);
    EXPECT_EQ(reader.preset().formatMark, 1u);
}

TEST_F(PresetFilesTest, TwoSavesOfTheSameValuesDifferAndBothReadBack) {
    std::vector<uint16_t> values = sampleValues();
    PresetFiles data;
    ASSERT_EQ(data.writePreset("a", values), 0);
    ASSERT_EQ(data.writePreset("b", values), 0);
    EXPECT_NE(fileBytes("a.qmx"), fileBytes("b.qmx"));
    for (const char* name : {"a", "b"}) {
        PresetFiles reader;
        ASSERT_EQ(reader.readPreset(name), 0);
        EXPECT_EQ(reader.preset().values, widened(values));
    }
}

TEST_F(PresetFilesTest, DamagedFilesGiveCode6AndLeaveTheFieldsAlone) {
    PresetFiles writer;
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
        PresetFiles reader;
        reader.preset().deviceMagic = 1;
        EXPECT_EQ(reader.readPreset(name), 6) << name;
        EXPECT_EQ(reader.preset().deviceMagic, 1u) << name;
        EXPECT_TRUE(reader.preset().values.empty()) << name;
    }
}

TEST_F(PresetFilesTest, PaddedFileReadsTheContentAndAHugeOneIsRefused) {
    std::vector<uint16_t> values = sampleValues();
    PresetFiles writer;
    ASSERT_EQ(writer.writePreset("padded", values), 0);
    std::vector<uint8_t> bytes = fileBytes("padded.qmx");
    bytes.insert(bytes.end(), 333, 0x00);
    putFileBytes("padded.qmx", bytes);
    PresetFiles reader;
    ASSERT_EQ(reader.readPreset("padded"), 0);
    EXPECT_EQ(reader.preset().values, widened(values));

    bytes.resize(PresetFiles::kMaxPresetFileSize + 1, 0x00);
    putFileBytes("huge.qmx", bytes);
    EXPECT_EQ(reader.readPreset("huge"), 6);
}

TEST_F(PresetFilesTest, EmptyNamesGiveCode2Everywhere) {
    PresetFiles data;
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

TEST_F(PresetFilesTest, MissingFilesAndFoldersGiveCode4) {
    PresetFiles data;
    EXPECT_EQ(data.readPreset("nothing"), 4);
    EXPECT_EQ(data.loadPreset("nothing"), 4);
    fs::create_directories(m_current + "folder.qmx");
    EXPECT_EQ(data.readPreset("folder.qmx"), 4);
    EXPECT_EQ(data.loadPreset("folder"), 4);
}

TEST_F(PresetFilesTest, NameWithAndWithoutExtensionAddressTheSameFile) {
    std::vector<uint16_t> values = sampleValues();
    PresetFiles data;
    ASSERT_EQ(data.savePreset("Hall", values), 0);
    EXPECT_TRUE(fs::exists(m_program + "Hall.qmx"));
    EXPECT_TRUE(data.presetExists("Hall"));
    EXPECT_TRUE(data.presetExists("Hall.qmx"));
    EXPECT_EQ(data.presetFullPath("Hall"), data.presetFullPath("Hall.qmx"));
    EXPECT_EQ(data.presetFullPath("Hall"),
              fs::path(m_program + "Hall.qmx").lexically_normal().string());

    PresetFiles a, b;
    ASSERT_EQ(a.loadPreset("Hall"), 0);
    ASSERT_EQ(b.loadPreset("Hall.qmx"), 0);
    EXPECT_EQ(a.preset().values, b.preset().values);

    EXPECT_EQ(data.deletePreset("Hall.qmx"), 0);
    EXPECT_FALSE(data.presetExists("Hall"));
    EXPECT_EQ(data.deletePreset("Hall"), 0) << "deleting what is not there is no error";
}

TEST_F(PresetFilesTest, SaveGoesToTheProgramFolderAndReplacesOtherCopies) {
    PresetFiles first;
    ASSERT_EQ(first.writePreset(m_current + "Party", sampleValues(1)), 0);
    ASSERT_EQ(first.writePreset(m_user + "Party", sampleValues(2)), 0);

    PresetFiles saver;
    std::vector<uint16_t> values = sampleValues(3);
    ASSERT_EQ(saver.savePreset("Party", values), 0);
    EXPECT_EQ(saver.lastSavedPath(), fs::path(m_program + "Party.qmx").lexically_normal().string());
    EXPECT_FALSE(fs::exists(m_current + "Party.qmx"));
    EXPECT_FALSE(fs::exists(m_user + "Party.qmx"));

    PresetFiles loader;
    ASSERT_EQ(loader.loadPreset("Party"), 0);
    EXPECT_EQ(loader.preset().values, widened(values));
    EXPECT_EQ(saver.listPresets(), std::vector<std::string>{"Party.qmx"});
}

TEST_F(PresetFilesTest, ReadOnlyProgramFolderSendsTheFileToTheUserFolder) {
    std::string user = m_root.path("later/user/");
    Settings::overrideFolders(impossibleFolder("program"), user);
    PresetFiles data;
    std::vector<uint16_t> values = sampleValues();
    ASSERT_EQ(data.savePreset("Night", values), 0);
    EXPECT_TRUE(fs::exists(user + "Night.qmx")) << "the user folder is created when needed";
    EXPECT_EQ(data.lastSavedPath(), fs::path(user + "Night.qmx").lexically_normal().string());
    EXPECT_EQ(data.listPresets(), std::vector<std::string>{"Night.qmx"});

    PresetFiles loader;
    ASSERT_EQ(loader.loadPreset("Night"), 0);
    EXPECT_EQ(loader.preset().values, widened(values));
}

TEST_F(PresetFilesTest, NoWritableFolderGivesCode5AndKeepsTheOldFile) {
    PresetFiles old;
    ASSERT_EQ(old.writePreset(m_current + "Keep", sampleValues(1)), 0);
    const std::vector<uint8_t> before = fileBytes(m_current + "Keep.qmx");

    Settings::overrideFolders(impossibleFolder("program"), impossibleFolder("user"));
    PresetFiles data;
    EXPECT_EQ(data.savePreset("Keep", sampleValues(2)), 5);
    EXPECT_EQ(fileBytes(m_current + "Keep.qmx"), before) << "a failed save deletes nothing";
    EXPECT_EQ(data.writePreset(impossibleFolder("elsewhere") + "x", sampleValues()), 5);
}

TEST_F(PresetFilesTest, RewritingAFileLeavesNoTemporaryFilesBehind) {
    PresetFiles data;
    for (uint32_t seed = 0; seed < 3; ++seed)
        ASSERT_EQ(data.writePreset("same", sampleValues(seed)), 0);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_current), fs::directory_iterator()), 1);
    PresetFiles reader;
    ASSERT_EQ(reader.readPreset("same"), 0);
    EXPECT_EQ(reader.preset().values, widened(sampleValues(2)));
    fs::create_directories(m_current + "dir.qmx");
    EXPECT_EQ(data.writePreset("dir", sampleValues()), 5) << "a folder is never replaced";
}

TEST_F(PresetFilesTest, SaveWithAFolderInTheNameWritesExactlyThere) {
    std::string elsewhere = m_root.folder("elsewhere");
    PresetFiles data;
    ASSERT_EQ(data.savePreset(elsewhere + "Cinema", sampleValues()), 0);
    EXPECT_TRUE(fs::exists(elsewhere + "Cinema.qmx"));
    EXPECT_TRUE(fs::is_empty(m_program));
    PresetFiles loader;
    EXPECT_EQ(loader.loadPreset(elsewhere + "Cinema"), 0);
    EXPECT_EQ(loader.loadPreset("Cinema"), 4);
}

TEST_F(PresetFilesTest, LoadSearchesCurrentThenProgramThenUserFolder) {
    PresetFiles data;
    ASSERT_EQ(data.writePreset(m_user + "Jazz", sampleValues(1)), 0);
    PresetFiles a;
    ASSERT_EQ(a.loadPreset("Jazz"), 0);
    EXPECT_EQ(a.preset().values, widened(sampleValues(1)));

    ASSERT_EQ(data.writePreset(m_program + "Jazz", sampleValues(2)), 0);
    PresetFiles b;
    ASSERT_EQ(b.loadPreset("Jazz"), 0);
    EXPECT_EQ(b.preset().values, widened(sampleValues(2)));

    ASSERT_EQ(data.writePreset(m_current + "Jazz", sampleValues(3)), 0);
    PresetFiles c;
    ASSERT_EQ(c.loadPreset("Jazz"), 0);
    EXPECT_EQ(c.preset().values, widened(sampleValues(3)));

    // A damaged first copy is reported, not skipped for an older one.
    std::vector<uint8_t> bytes = fileBytes(m_current + "Jazz.qmx");
    bytes[3000] ^= 0x10;
    putFileBytes(m_current + "Jazz.qmx", bytes);
    PresetFiles d;
    EXPECT_EQ(d.loadPreset("Jazz"), 6);
}

TEST_F(PresetFilesTest, ListShowsEveryFolderAndNamesFoundTwice) {
    PresetFiles data;
    ASSERT_EQ(data.writePreset(m_current + "B", sampleValues()), 0);
    ASSERT_EQ(data.writePreset(m_current + "A", sampleValues()), 0);
    ASSERT_EQ(data.writePreset(m_user + "A", sampleValues()), 0);
    ASSERT_EQ(data.writePreset(m_program + "P", sampleValues()), 0);
    putFileBytes(m_current + "notes.txt", {1, 2});
    putFileBytes(m_current + "old.qmx.bak", {1, 2});
    EXPECT_EQ(data.listPresets(), (std::vector<std::string>{"A.qmx", "B.qmx", "P.qmx", "A.qmx"}));

    Settings::overrideFolders(m_current, m_user + "missing/");
    EXPECT_EQ(data.listPresets(), (std::vector<std::string>{"A.qmx", "B.qmx"}))
        << "the current folder is listed once even when it is the program folder";
}

TEST_F(PresetFilesTest, FullPathOfAnUnknownNameIsInTheUserFolder) {
    PresetFiles data;
    EXPECT_EQ(data.presetFullPath("Fresh"), m_user + "Fresh.qmx");
}

TEST_F(PresetFilesTest, ProtectedMarkAndHeaderFieldsSurviveAFile) {
    PresetFiles writer;
    writer.preset().deviceMagic = 0x1234;
    writer.preset().passwordMark = 1;
    writer.preset().reserved1 = 5;
    writer.preset().reserved2 = 6;
    ASSERT_EQ(writer.writePreset("locked", sampleValues()), 0);
    PresetFiles reader;
    ASSERT_EQ(reader.readPreset("locked"), 0);
    EXPECT_EQ(reader.preset().passwordMark, 1);
    EXPECT_EQ(reader.preset().deviceMagic, 0x1234u);
    EXPECT_EQ(reader.preset().reserved1, 5u);
    EXPECT_EQ(reader.preset().reserved2, 6u);
}
