#include "app/language_choice.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QLocale>
#include <filesystem>

#include "files/settings.h"
#include "texts/language.h"

namespace {

TEST(LanguageChoice, ChineseInChinaTaiwanAndHongKongHaveTheirLanguagesAndTheRestEnglish) {
    struct Case {
        const char* locale;
        int language;
    };
    for (Case c : {Case{"zh_CN", 0}, Case{"zh", 0}, Case{"zh-Hans-CN", 0}, Case{"zh_TW", 1},
                   Case{"zh_HK", 1}, Case{"zh-Hant-HK", 1}, Case{"zh_SG", 2}, Case{"zh_MO", 2},
                   Case{"ja_JP", 2}, Case{"en_US", 2}, Case{"C", 2}})
        EXPECT_EQ(LanguageChoice::fromLocale(QLocale(QString::fromLatin1(c.locale))), c.language)
            << c.locale;
}

TEST(LanguageChoice, OnlyTheLowByteOfTheSettingCounts) {
    EXPECT_EQ(LanguageChoice::choose(0, 2), 0);
    EXPECT_EQ(LanguageChoice::choose(1, 2), 1);
    EXPECT_EQ(LanguageChoice::choose(2, 0), 2);
    EXPECT_EQ(LanguageChoice::choose(256, 2), 0);  // low byte 0
    EXPECT_EQ(LanguageChoice::choose(255, 0), 0);  // low byte -1: the locale
    EXPECT_EQ(LanguageChoice::choose(255, 2), 2);
    EXPECT_EQ(LanguageChoice::choose(258, 2), 2);
}

TEST(LanguageChoice, ALanguageTheProgramDoesNotHaveMeansTheLocale) {
    EXPECT_EQ(LanguageChoice::choose(3, 1), 1);
    EXPECT_EQ(LanguageChoice::choose(127, 0), 0);
    EXPECT_EQ(LanguageChoice::choose(-128, 2), 2);
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
        QLocale::setDefault(QLocale::system());
        std::filesystem::permissions(m_root, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(m_root);
    }
    std::filesystem::path m_root;
};

TEST_F(LanguageSettingTest, ReadsTheSettingsFileThenTheLocale) {
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::HongKong));
    EXPECT_EQ(LanguageChoice::fromSettingsAndSystem(), 1);
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
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
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::HongKong));
    // As root the folders stay readable; the setting then still counts.
    int expected = geteuid() == 0 ? 0 : 1;
    EXPECT_EQ(LanguageChoice::fromSettingsAndSystem(), expected);
    std::filesystem::permissions(m_root / "program", std::filesystem::perms::owner_all);
    std::filesystem::permissions(m_root / "user", std::filesystem::perms::owner_all);
}

}  // namespace
