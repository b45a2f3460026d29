#include <gtest/gtest.h>

#include "files/upgrade_package.h"
#include "support/package_file.h"

using Problem = UpgradePackage::Problem;

TEST(UpgradePackage, DecodesWithTheAlphabetWhereverTheHeaderPutsIt) {
    for (int k : {2, 100, 240}) {
        PackageFile file{4, PackageFile::randomImage(777, static_cast<uint32_t>(k))};
        file.k = static_cast<uint8_t>(k);
        std::vector<uint8_t> bytes = file.bytes();
        UpgradePackage package;
        ASSERT_EQ(package.parse(bytes.data(), bytes.size()), Problem::None) << k;
        EXPECT_EQ(package.type(), 4);
        EXPECT_EQ(package.image(), file.image);
    }
}

TEST(UpgradePackage, RefusesDamagedFilesAndKeepsNothing) {
    PackageFile good{3, {1, 2, 3}};
    PackageFile past = good;
    past.k = 241;
    PackageFile twice = good;
    twice.alphabet[15] = twice.alphabet[0];
    std::vector<uint8_t> odd = good.bytes();
    odd.push_back('Q');
    std::vector<uint8_t> foreign = good.bytes();
    foreign.back() = '#';
    PackageFile untargeted = good;
    untargeted.type = 0x0102;
    struct Case {
        std::vector<uint8_t> bytes;
        Problem problem;
    };
    const Case cases[] = {
        {{}, Problem::TooShort},
        {std::vector<uint8_t>(257, 0), Problem::TooShort},
        {std::vector<uint8_t>(258, 0), Problem::EmptyImage},
        {odd, Problem::OddImage},
        {past.bytes(), Problem::AlphabetPastHeader},
        {twice.bytes(), Problem::DuplicateSymbols},
        {foreign, Problem::ForeignSymbol},
        {untargeted.bytes(), Problem::UnknownType},
    };
    for (const Case& c : cases) {
        UpgradePackage package;
        EXPECT_EQ(package.parse(c.bytes.data(), c.bytes.size()), c.problem) << c.bytes.size();
        EXPECT_TRUE(package.image().empty());
        EXPECT_EQ(package.type(), 0);
    }
    UpgradePackage package;
    EXPECT_EQ(package.load("/nonexistent/package.bin"), Problem::CannotOpen);
}

TEST(UpgradePackage, TargetsNameTheirTypes) {
    const char* targets[] = {"dsp1", "panel", "comm", "dsp4", "dsp5"};
    for (int type = 1; type <= 5; ++type) {
        EXPECT_EQ(UpgradePackage::typeOfTarget(targets[type - 1]), type);
        EXPECT_EQ(UpgradePackage::targetOfType(type), targets[type - 1]);
    }
    EXPECT_EQ(UpgradePackage::typeOfTarget("dsp2"), 0);
    EXPECT_EQ(UpgradePackage::targetOfType(6), "");
}
