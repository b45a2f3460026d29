#include <gtest/gtest.h>

#include "binding/system_values.h"

using Values = SystemValues;

TEST(SystemValuesTest, NoiseGateTableBothWays) {
    struct Case {
        int position, value;
    };
    for (Case c : {Case{0, 0}, {1, 3}, {10, 13}, {20, 327}, {-4, 0}, {25, 327}})
        EXPECT_EQ(Values::gateValue(c.position), c.value) << c.position;
    // The first position whose value reaches the device's.
    for (Case c : {Case{0, 0},
                   {1, 1},
                   {1, 3},
                   {10, 12},
                   {10, 13},
                   {11, 14},
                   {20, 185},
                   {20, 327},
                   {20, 400},
                   {20, 65535}})
        EXPECT_EQ(Values::gatePosition(c.value), c.position) << c.value;
}

TEST(SystemValuesTest, PasswordsPackADigitPerNibbleAndRefuseAnythingElse) {
    struct Case {
        const char* typed;
        int digits;
        std::optional<uint32_t> packed;
    };
    const Case cases[] = {
        {"1234", 4, 0x1234},         {"0907", 4, 0x0907},
        {"123456", 6, 0x123456},     {"000000", 6, 0},
        {"123", 4, std::nullopt},    {"12345", 4, std::nullopt},
        {"12a4", 4, std::nullopt},   {"12 4", 4, std::nullopt},
        {"12345", 6, std::nullopt},  {"", 6, std::nullopt},
        {"12345:", 6, std::nullopt}, {"\xE4\xB8\x80\x31", 4, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Values::packPassword(c.typed, c.digits), c.packed) << c.typed;
    // The system password: its first two digits in one entry, the last four in the other.
    uint32_t packed = *Values::packPassword("987654", 6);
    EXPECT_EQ(Values::systemPasswordHigh(packed), 0x98);
    EXPECT_EQ(Values::systemPasswordLow(packed), 0x7654);
    EXPECT_EQ(Values::systemPassword(0x98, 0x7654), packed);
}

TEST(SystemValuesTest, UsersStoreOnlyIntoUserModesWhileTheDeviceIsInOne) {
    struct Case {
        bool admin;
        int deviceMode, mode;
        bool allowed;
    };
    const Case cases[] = {
        {false, 1, 3, true},   {false, 8, 8, true},  {false, 0, 1, true}, {false, 1, 9, false},
        {false, 10, 3, false}, {false, 9, 8, false}, {true, 10, 3, true}, {true, 12, 16, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Values::mayStore(c.admin, c.deviceMode, c.mode), c.allowed)
            << c.admin << " " << c.deviceMode << " " << c.mode;
}

TEST(SystemValuesTest, ModeItemsAndNamesCutAtCharacters) {
    EXPECT_EQ(Values::modeItem(3, "", false), "3-USER");
    EXPECT_EQ(Values::modeItem(9, "", false), "9-SYSTEM");
    EXPECT_EQ(Values::modeItem(16, "KTV", true), "16-KTV");
    struct Case {
        std::string text;
        size_t bytes;
        std::string fitted;
    };
    const std::string han = "\xE4\xB8\xAD";  // three bytes
    const Case cases[] = {
        {"Party", 20, "Party"},
        {std::string(25, 'a'), 20, std::string(20, 'a')},
        {std::string(18, 'a') + han, 20, std::string(18, 'a')},
        {std::string(17, 'a') + han + "b", 20, std::string(17, 'a') + han},
        {han + han + han + han + han + han + han, 20, han + han + han + han + han + han},
        {"\xC3\xA9\xC3\xA9", 3, "\xC3\xA9"},
    };
    for (const Case& c : cases) EXPECT_EQ(Values::fitName(c.text, c.bytes), c.fitted) << c.text;
}
