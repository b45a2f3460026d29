#include <gtest/gtest.h>

#include "binding/equaliser_bands.h"
#include "binding/parameter_binding.h"
#include "link/mirror.h"

TEST(EqualiserBands, WrittenBandsReadBackOnEveryPageWithBands) {
    const std::vector<EqBand> bands = {{7, 25.3, 0.4, -24},
                                       {6, 101, 0.71, 12},
                                       {5, 20600, 128, 0},
                                       {7, 1000, 4.5, -3.5},
                                       {7, 99, 10.1, 0.1}};
    for (int page = 0; page < 9; ++page) {
        Mirror mirror;
        ParameterBinding binding(mirror);
        std::vector<EqBand> all = EqualiserBands::merged(EqualiserBands::read(page, mirror), bands);
        EqualiserBands::write(page, all, binding);
        EXPECT_EQ(EqualiserBands::read(page, mirror), all) << page;
    }
    // The front pair's right channel follows the left.
    Mirror mirror;
    ParameterBinding binding(mirror);
    EqualiserBands::write(0, bands, binding);
    EXPECT_EQ(mirror.value(73 + 68 + 4 * 3 + 2), 465);  // FR band 4 gain -3.5 dB
}

TEST(EqualiserBands, PagesByNumberOrName) {
    const std::pair<const char*, int> cases[] = {{"0", 0},       {"main", 0},   {"SUB", 2},
                                                 {"8", 8},       {"reverb", 8}, {"9", -1},
                                                 {"system", -1}, {"", -1},      {"-1", -1}};
    for (auto [name, page] : cases) EXPECT_EQ(EqualiserBands::pageOf(name), page) << name;
    EXPECT_EQ(EqualiserBands::bandCount(5), 15);
    EXPECT_EQ(EqualiserBands::bandCount(9), 0);
}
