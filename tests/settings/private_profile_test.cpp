#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/private_profile.h"
#include "support/temp_folder.h"

namespace {

const std::string kSection = "VX510-Q3";

TEST(PrivateProfile, AbsentFileSectionOrKeyReadsTheFallback) {
    TempFolder folder;
    std::string file = folder.path("Language.ini");
    EXPECT_FALSE(PrivateProfile::readString(file, kSection, "Language"));
    EXPECT_EQ(PrivateProfile::readInt(file, kSection, "Language", -1), -1);

    TempFolder::write(file, "[Other]\r\nLanguage=2\r\n");
    EXPECT_EQ(PrivateProfile::readInt(file, kSection, "Language", -1), -1);
    TempFolder::write(file, "[VX510-Q3]\r\nColour=2\r\n");
    EXPECT_EQ(PrivateProfile::readInt(file, kSection, "Language", -1), -1);
}

TEST(PrivateProfile, WrittenFileIsAPlainIniFileWithCrLfLines) {
    TempFolder folder;
    std::string file = folder.path("Language.ini");
    ASSERT_TRUE(PrivateProfile::writeString(file, kSection, "Language", "2"));
    EXPECT_EQ(TempFolder::read(file), "[VX510-Q3]\r\nLanguage=2\r\n");
    ASSERT_TRUE(PrivateProfile::writeString(file, kSection, "Device_ID", "12345"));
    ASSERT_TRUE(PrivateProfile::writeString(file, kSection, "language", "1"));
    // A key keeps the spelling it was first written with.
    EXPECT_EQ(TempFolder::read(file), "[VX510-Q3]\r\nLanguage=1\r\nDevice_ID=12345\r\n");
}

TEST(PrivateProfile, KeysAndSectionsAreFoundWithoutRegardToCase) {
    TempFolder folder;
    std::string file = folder.path("WIFI_Mode.ini");
    TempFolder::write(file, "[vx510-q3]\nDEVICE_IDMEMORY = 1\n");
    EXPECT_EQ(PrivateProfile::readInt(file, kSection, "Device_IDMemory", -1), 1);
}

TEST(PrivateProfile, GarbageLinesAreSkippedAndKeptOnRewrite) {
    TempFolder folder;
    std::string file = folder.path("WIFI_Mode.ini");
    std::string garbage = std::string("\xFF\xFE\x00garbage", 10) + "\r\n" +
                          "no equals sign here\r\n" + "=value without key\r\n" +
                          "; Language=9\r\n" + "[broken section\r\n" + std::string(5000, 'x') +
                          "\r\n" + "Language=8\r\n";  // before any section
    TempFolder::write(
        file, garbage + "[VX510-Q3]\r\n\x01\x02\x03\r\nLanguage=2\r\n[Other]\r\nLanguage=7\r\n");
    EXPECT_EQ(PrivateProfile::readInt(file, kSection, "Language", -1), 2);
    EXPECT_EQ(PrivateProfile::readInt(file, "Other", "Language", -1), 7);

    ASSERT_TRUE(PrivateProfile::writeString(file, kSection, "m_COM_MdoeIO", "4"));
    EXPECT_EQ(PrivateProfile::readInt(file, kSection, "m_COM_MdoeIO", -1), 4);
    EXPECT_EQ(PrivateProfile::readInt(file, kSection, "Language", -1), 2);
    EXPECT_EQ(PrivateProfile::readInt(file, "Other", "Language", -1), 7);
    EXPECT_NE(TempFolder::read(file).find(std::string(5000, 'x')), std::string::npos);
}

TEST(PrivateProfile, IntegersReadAsThePlatformReadsThem) {
    EXPECT_EQ(PrivateProfile::parseInt("42"), 42);
    EXPECT_EQ(PrivateProfile::parseInt("  -7"), -7);
    EXPECT_EQ(PrivateProfile::parseInt("+3"), 3);
    EXPECT_EQ(PrivateProfile::parseInt("12abc"), 12);
    EXPECT_EQ(PrivateProfile::parseInt("abc"), 0);
    EXPECT_EQ(PrivateProfile::parseInt(""), 0);
    EXPECT_EQ(PrivateProfile::parseInt("-"), 0);
    EXPECT_EQ(PrivateProfile::parseInt("99999999999999999999"), 2147483647);
    EXPECT_EQ(PrivateProfile::parseInt("-99999999999999999999"), -2147483647 - 1);

    TempFolder folder;
    std::string file = folder.path("Language.ini");
    TempFolder::write(file, "[VX510-Q3]\nLanguage=English\nEmpty=\nQuoted=\"5\"\n");
    EXPECT_EQ(PrivateProfile::readInt(file, kSection, "Language", -1), 0);
    EXPECT_EQ(PrivateProfile::readInt(file, kSection, "Empty", -1), 0);
    EXPECT_EQ(PrivateProfile::readInt(file, kSection, "Quoted", -1), 5);
}

TEST(PrivateProfile, LineBreaksCannotSmuggleLinesIntoTheFile) {
    TempFolder folder;
    std::string file = folder.path("WIFI_Mode.ini");
    ASSERT_TRUE(PrivateProfile::writeString(file, kSection, "Device_ID", "1"));
    EXPECT_FALSE(
        PrivateProfile::writeString(file, kSection, "Device_ID", "2\r\nDevice_IDMemory=1"));
    EXPECT_FALSE(PrivateProfile::writeString(file, kSection, "Key\n[Other]", "2"));
    EXPECT_EQ(PrivateProfile::readInt(file, kSection, "Device_ID", -1), 1);
    EXPECT_EQ(PrivateProfile::readInt(file, kSection, "Device_IDMemory", -1), -1);
}

TEST(PrivateProfile, WriteIntoAFolderThatCannotExistFailsAndLeavesNothing) {
    TempFolder folder;
    TempFolder::write(folder.path("plain-file"), "x");
    EXPECT_FALSE(PrivateProfile::writeString(folder.path("plain-file/sub/Language.ini"), kSection,
                                             "Language", "1"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

// A reader never sees half a file while another thread rewrites it.
TEST(PrivateProfile, RewriteReplacesTheFileWhole) {
    TempFolder folder;
    std::string file = folder.path("WIFI_Mode.ini");
    const int keys = 40;
    for (int k = 0; k < keys; ++k)
        ASSERT_TRUE(PrivateProfile::writeString(file, kSection, "Key" + std::to_string(k), "0"));

    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::atomic<int> reads{0};
    std::thread reader([&] {
        while (!done) {
            // Raw reads, not through the profile functions, so that their lock cannot hide a torn
            // file.
            std::string text = TempFolder::read(file);
            size_t lines = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
            if (lines != keys + 1 || text.substr(0, 12) != "[VX510-Q3]\r\n") ++torn;
            ++reads;
        }
    });
    for (int round = 1; round <= 200; ++round)
        ASSERT_TRUE(PrivateProfile::writeString(
            file, kSection, "Key" + std::to_string(round % keys), std::to_string(round * 1000)));
    while (reads < 10) std::this_thread::yield();
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0);
    // Temporary files do not stay behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
}

}  // namespace
