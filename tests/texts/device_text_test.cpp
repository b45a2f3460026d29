#include <gtest/gtest.h>

#include "texts/device_text.h"

TEST(DeviceText, OutsideBytesBecomeValidUtf8AndHarmlessOnATerminal) {
    struct Case {
        const char* bytes;
        const char* utf8;
        const char* printable;
    };
    const Case cases[] = {
        {"K Song", "K Song", "K Song"},
        {"\xe6\xb5\x8b", "\xe6\xb5\x8b", "\xe6\xb5\x8b"},                              // UTF-8 kept
        {"\xb2\xe2\xca\xd4", "\xe6\xb5\x8b\xe8\xaf\x95", "\xe6\xb5\x8b\xe8\xaf\x95"},  // GBK
        {"caf\xe9", "caf\xef\xbf\xbd", "caf\xef\xbf\xbd"},                             // neither
        {"\xc0\xaf\xff", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd",
         "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},  // overlong
        {"\x1b[2J\x7f\n", "\x1b[2J\x7f\n", "\\x1B[2J\\x7F\\x0A"},
        {"\xc2\x9b"
         "1m",
         "\xc2\x9b"
         "1m",
         "\\u009B1m"},  // the one-byte CSI
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DeviceText::utf8(c.bytes), c.utf8) << c.bytes;
        EXPECT_EQ(DeviceText::printable(c.bytes), c.printable) << c.bytes;
    }
}
