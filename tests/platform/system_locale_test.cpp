#include "platform/qt/system_locale.h"

#include <gtest/gtest.h>

TEST(SystemLocale, ChineseLocalesGiveTheirWindowsIdentifiers) {
    EXPECT_EQ(SystemLocale::idOfName("zh_CN"), 2052);
    EXPECT_EQ(SystemLocale::idOfName("zh_TW"), 1028);
    EXPECT_EQ(SystemLocale::idOfName("zh_HK"), 3076);
    EXPECT_EQ(SystemLocale::idOfName("zh_HK.UTF-8"), 3076);
    EXPECT_EQ(SystemLocale::idOfName("zh-Hant-HK"), 3076);
    EXPECT_EQ(SystemLocale::idOfName("zh_Hans_CN"), 2052);
}

TEST(SystemLocale, OtherLocalesGiveTheirOwnIdentifiers) {
    EXPECT_EQ(SystemLocale::idOfName("en_US"), 1033);
    EXPECT_EQ(SystemLocale::idOfName("en_GB.UTF-8"), 2057);
    EXPECT_EQ(SystemLocale::idOfName("ja_JP"), 1041);
    EXPECT_EQ(SystemLocale::idOfName("de_DE@euro"), 1031);
    // A country the table lacks falls back to the language.
    EXPECT_EQ(SystemLocale::idOfName("de_LU"), 1031);
    // Unknown, empty or "C" locales read as US English.
    EXPECT_EQ(SystemLocale::idOfName("C"), 1033);
    EXPECT_EQ(SystemLocale::idOfName(""), 1033);
    EXPECT_EQ(SystemLocale::idOfName("xx_YY"), 1033);
}

TEST(SystemLocale, AnOverrideStandsInForTheSystem) {
    SystemLocale::overrideId(3076);
    EXPECT_EQ(SystemLocale::languageId(), 3076);
    SystemLocale::overrideId(0);
    EXPECT_GT(SystemLocale::languageId(), 0);
}
