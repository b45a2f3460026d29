#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/settings.h"
#include "support/temp_folder.h"

namespace {

class CkfFileDataTest : public ::testing::Test {
protected:
    void SetUp() override { useFolders(root.path("program"), root.path("user")); }
    void TearDown() override { Settings::overrideFolders("", ""); }

    void useFolders(const std::string& program, const std::string& user) {
        m_program = program;
        m_user = user;
        Settings::overrideFolders(program, user);
    }
    std::string programFile(const std::string& name) const {
        return m_program + "/" + name + ".ini";
    }
    std::string userFile(const std::string& name) const { return m_user + "/" + name + ".ini"; }

    TempFolder root;
    Settings settings;

private:
    std::string m_program;
    std::string m_user;
};

TEST_F(CkfFileDataTest, NoSettingsFileAnywhereReadsMinusOne) {
    EXPECT_EQ(settings.readInt("Language", "Language"), -1);
    EXPECT_EQ(settings.readInt("WIFI_Mode", "Device_IDMemory"), -1);
}

TEST_F(CkfFileDataTest, WriteGoesToTheProgramFolderAndReadsBack) {
    EXPECT_TRUE(settings.writeInt("Language", "Language", 2));
    EXPECT_EQ(TempFolder::read(programFile("Language")), "[VX510-Q3]\r\nLanguage=2\r\n");
    EXPECT_FALSE(std::filesystem::exists(userFile("Language")));
    EXPECT_EQ(Settings().readInt("Language", "Language"), 2);
}

TEST_F(CkfFileDataTest, UnwritableProgramFolderFallsBackToTheUserFolder) {
    // Running as root ignores permissions, so the program folder is made
    // impossible instead: its path runs through a regular file.
    TempFolder::write(root.path("blocker"), "not a folder");
    useFolders(root.path("blocker/program"), root.path("user/VX510-Q3"));
    ASSERT_FALSE(Settings::folderExists(root.path("user/VX510-Q3")));

    EXPECT_TRUE(settings.writeInt("Language", "Language", 2));
    EXPECT_TRUE(Settings::folderExists(root.path("user/VX510-Q3")));
    EXPECT_EQ(TempFolder::read(userFile("Language")), "[VX510-Q3]\r\nLanguage=2\r\n");
    EXPECT_EQ(settings.readInt("Language", "Language"), 2);
}

TEST_F(CkfFileDataTest, WriteFailsWhenNeitherFolderCanBeWritten) {
    TempFolder::write(root.path("blocker"), "not a folder");
    useFolders(root.path("blocker/program"), root.path("blocker/user"));
    EXPECT_FALSE(settings.writeInt("Language", "Language", 2));
    EXPECT_EQ(settings.readInt("Language", "Language"), -1);
}

TEST_F(CkfFileDataTest, ProgramFolderValueHidesTheUserFolderValue) {
    std::filesystem::create_directories(root.path("program"));
    std::filesystem::create_directories(root.path("user"));
    TempFolder::write(userFile("Language"), "[VX510-Q3]\r\nLanguage=1\r\nOnlyHere=5\r\n");
    EXPECT_EQ(settings.readInt("Language", "Language"), 1);
    TempFolder::write(programFile("Language"), "[VX510-Q3]\r\nLanguage=2\r\n");
    EXPECT_EQ(settings.readInt("Language", "Language"), 2);
    EXPECT_EQ(settings.readInt("Language", "OnlyHere"), 5);
}

TEST_F(CkfFileDataTest, DamagedFileStillReadsWhatItCan) {
    std::filesystem::create_directories(root.path("program"));
    TempFolder::write(programFile("WIFI_Mode"),
                      std::string("\x00\x01\x02", 3) +
                          "\n[VX510-Q3]\nrubbish\nDevice_ID=abc\nDevice_IDMemory=1\n");
    EXPECT_EQ(settings.readInt("WIFI_Mode", "Device_IDMemory"), 1);
    EXPECT_EQ(settings.readInt("WIFI_Mode", "Device_ID"), 0);  // text without digits
    EXPECT_EQ(settings.readInt("WIFI_Mode", "m_COM_MdoeIO"), -1);
}

TEST_F(CkfFileDataTest, ListAddsEachValueOnceAndReusesClearedSlots) {
    EXPECT_EQ(settings.readListItem("WIFI_Mode", "Device_IDS", 0), -1);
    EXPECT_EQ(settings.addToList("WIFI_Mode", "Device_IDS", 5), 1);
    EXPECT_EQ(settings.readInt("WIFI_Mode", "Device_IDSMax"), 1);
    EXPECT_EQ(settings.readInt("WIFI_Mode", "Device_IDSIndex0"), 5);

    std::string before = TempFolder::read(programFile("WIFI_Mode"));
    EXPECT_EQ(settings.addToList("WIFI_Mode", "Device_IDS", 5), 1);
    EXPECT_EQ(TempFolder::read(programFile("WIFI_Mode")), before);

    EXPECT_EQ(settings.clearList("WIFI_Mode", "Device_IDS"), 1);
    EXPECT_EQ(settings.readInt("WIFI_Mode", "Device_IDSIndex0"), -1);
    EXPECT_EQ(settings.readInt("WIFI_Mode", "Device_IDSMax"), -1);
    EXPECT_EQ(settings.clearList("WIFI_Mode", "Device_IDS"), 0);

    EXPECT_EQ(settings.addToList("WIFI_Mode", "Device_IDS", 7), 1);
    EXPECT_EQ(settings.readInt("WIFI_Mode", "Device_IDSIndex0"), 7);
    EXPECT_EQ(settings.addToList("WIFI_Mode", "Device_IDS", 8), 2);
    EXPECT_EQ(settings.readListItem("WIFI_Mode", "Device_IDS", 1), 8);
}

TEST_F(CkfFileDataTest, ListItemAtTheCountReadsOnePastTheEnd) {
    settings.addToList("WIFI_Mode", "Device_IDS", 11);
    settings.addToList("WIFI_Mode", "Device_IDS", 12);
    EXPECT_EQ(settings.readListItem("WIFI_Mode", "Device_IDS", 1), 12);
    EXPECT_EQ(settings.readListItem("WIFI_Mode", "Device_IDS", 2), -1);
    EXPECT_EQ(settings.readListItem("WIFI_Mode", "Device_IDS", 3), -1);

    // The key one past the end is read if it is there.
    settings.writeInt("WIFI_Mode", "Device_IDSIndex2", 13);
    EXPECT_EQ(settings.readListItem("WIFI_Mode", "Device_IDS", 2), 13);
}

TEST_F(CkfFileDataTest, DamagedListCountIsBounded) {
    settings.writeInt("WIFI_Mode", "Device_IDSMax", 2147483647);
    EXPECT_GT(settings.addToList("WIFI_Mode", "Device_IDS", 9), 0);
    EXPECT_GT(settings.clearList("WIFI_Mode", "Device_IDS"), 0);
    EXPECT_EQ(settings.readInt("WIFI_Mode", "Device_IDSMax"), -1);
}

TEST_F(CkfFileDataTest, FolderTestsIgnoreATrailingSeparator) {
    std::string folder = root.path("made/deeper");
    EXPECT_FALSE(Settings::folderExists(folder + "/"));
    EXPECT_TRUE(Settings::createFolder(folder + "/"));
    EXPECT_TRUE(Settings::folderExists(folder + "/"));
    TempFolder::write(root.path("file"), "x");
    EXPECT_FALSE(Settings::folderExists(root.path("file")));
}

TEST(CkfFileDataFolders, UserFolderFollowsXdgConfigHome) {
    Settings::overrideFolders("", "");
    std::string saved = getenv("XDG_CONFIG_HOME") ? getenv("XDG_CONFIG_HOME") : "";
    setenv("XDG_CONFIG_HOME", "/tmp/qx7-config", 1);
    EXPECT_EQ(Settings::userDataFolder(), "/tmp/qx7-config/VX510-Q3/");
    if (saved.empty())
        unsetenv("XDG_CONFIG_HOME");
    else
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    std::string program = Settings::programFolder();
    EXPECT_EQ(program.back(), '/');
    EXPECT_TRUE(Settings::folderExists(program));
}

}  // namespace
