#include "app/language_choice.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "files/settings.h"
#include "platform/qt/system_locale.h"

namespace {

TEST(LanguageChoice, AnAbsentSettingFallsBackToTheLocale) {
    EXPECT_EQ(LanguageChoice::choose(-1, 3076), 1);
    EXPECT_EQ(LanguageChoice::choose(-1, 1028), 1);
    EXPECT_EQ(LanguageChoice::choose(-1, 2052), 0);
    EXPECT_EQ(LanguageChoice::choose(-1, 1041), 2);
    EXPECT_EQ(LanguageChoice::choose(-1, 1033), 2);
    EXPECT_EQ(LanguageChoice::choose(-1, 4100), 2);
}

TEST(LanguageChoice, OnlyTheLowByteOfTheSettingCounts) {
    EXPECT_EQ(LanguageChoice::choose(0, 1033), 0);
    EXPECT_EQ(LanguageChoice::choose(1, 1033), 1);
    EXPECT_EQ(LanguageChoice::choose(2, 2052), 2);
    EXPECT_EQ(LanguageChoice::choose(256, 1033), 0);  // low byte 0
    EXPECT_EQ(LanguageChoice::choose(255, 2052), 0);  // low byte -1: the locale
    EXPECT_EQ(LanguageChoice::choose(255, 1041), 2);
    EXPECT_EQ(LanguageChoice::choose(258, 1033), 2);
}

TEST(LanguageChoice, ALanguageTheProgramDoesNotHaveMeansTheLocale) {
    EXPECT_EQ(LanguageChoice::choose(3, 3076), 1);
    EXPECT_EQ(LanguageChoice::choose(127, 2052), 0);
    EXPECT_EQ(LanguageChoice::choose(-128, 1033), 2);
}

class LanguageSettingTest : public testing::Test {
protected:
    void SetUp() override {
        m_root = std::filesystem::temp_directory_path() / ("qx7-lang-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_root / "program");
        std::filesystem::create_directories(m_root / "user");
        Settings::overrideFolders((m_root / "program").string() + "/",
                                  (m_root / "user").string() + "/");
    }
    void TearDown() override {
        Settings::overrideFolders("", "");
        SystemLocale::overrideId(0);
        std::filesystem::permissions(m_root, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(m_root);
    }
    std::filesystem::path m_root;
};

TEST_F(LanguageSettingTest, ReadsTheSettingsFileThenTheLocale) {
    SystemLocale::overrideId(3076);
    EXPECT_EQ(LanguageChoice::fromSettingsAndSystem(), 1);
    SystemLocale::overrideId(1041);
    EXPECT_EQ(LanguageChoice::fromSettingsAndSystem(), 2);

    Settings settings;
    settings.writeInt("Language", "Language", 256);
    EXPECT_EQ(LanguageChoice::fromSettingsAndSystem(), 0);
    settings.writeInt("Language", "Language", 255);
    EXPECT_EQ(LanguageChoice::fromSettingsAndSystem(), 2);
    settings.writeInt("Language", "Language", 1);
    EXPECT_EQ(LanguageChoice::fromSettingsAndSystem(), 1);
}

TEST_F(LanguageSettingTest, AnUnreadableSettingsFolderMeansTheLocale) {
    Settings settings;
    settings.writeInt("Language", "Language", 0);
    std::filesystem::permissions(m_root / "program", std::filesystem::perms::none);
    std::filesystem::permissions(m_root / "user", std::filesystem::perms::none);
    SystemLocale::overrideId(3076);
    // As root the folders stay readable; the setting then still counts.
    int expected = geteuid() == 0 ? 0 : 1;
    EXPECT_EQ(LanguageChoice::fromSettingsAndSystem(), expected);
    std::filesystem::permissions(m_root / "program", std::filesystem::perms::owner_all);
    std::filesystem::permissions(m_root / "user", std::filesystem::perms::owner_all);
}

}  // namespace
