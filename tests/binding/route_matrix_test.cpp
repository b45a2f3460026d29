#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "binding/route_export.h"
#include "binding/route_matrix.h"
#include "link/mirror.h"
#include "support/temp_folder.h"
#include "texts/language.h"

namespace {

bool endsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

std::tm noon() {
    std::tm t{};
    t.tm_year = 2024 - 1900;
    t.tm_mon = 2;
    t.tm_mday = 9;
    t.tm_hour = 12;
    t.tm_min = 5;
    t.tm_sec = 7;
    return t;
}

}  // namespace

TEST(RouteMatrix, CellsAndIndicesMapBothWays) {
    EXPECT_EQ(RouteMatrix::cellIndex(4, 3), 1556);
    EXPECT_EQ(RouteMatrix::cellIndex(0, 0), 1505);
    EXPECT_EQ(RouteMatrix::cellIndex(7, 7), 1596);
    for (int cell = 0; cell < RouteMatrix::kCells; ++cell)
        EXPECT_EQ(RouteMatrix::cellOf(RouteMatrix::cellIndex(cell)), cell);
    // The four mixing levels after each row and everything around are no cells.
    for (int index : {1504, 1513, 1516, 1597, 1640, -3})
        EXPECT_EQ(RouteMatrix::cellOf(index), -1) << index;
}

TEST(RouteMatrix, DeviceValuesShowClampedAndAnyLowByteButZeroIsOn) {
    struct Case {
        uint16_t value;
        int level;
        bool on;
    };
    for (Case c : {Case{0x6401, 100, true}, Case{0xFA00, 100, false}, Case{0x3202, 50, true},
                   Case{0x00FF, 0, true}, Case{0x0000, 0, false}}) {
        EXPECT_EQ(RouteMatrix::level(c.value), c.level) << c.value;
        EXPECT_EQ(RouteMatrix::on(c.value), c.on) << c.value;
    }
    EXPECT_EQ(RouteMatrix::cellValue(250, true), 0x6401);
    EXPECT_EQ(RouteMatrix::cellValue(-5, false), 0);
}

TEST(RouteMatrix, TitleNamesSelectionModeAndLayout) {
    Language::set(Language::SimplifiedChinese);
    EXPECT_EQ(RouteMatrix::title(5, 0x0316, 1551), "声道选择:71CH解码模式:TrueHD解码通道:51CH");
    EXPECT_EQ(RouteMatrix::title(9, 2, 0x20), "声道选择:解码模式:解码通道:20");
    Language::set(Language::English);
    EXPECT_EQ(RouteMatrix::title(5, 0x0316, 1551), "Output: 71CH  Decoder: TrueHD  Decoded: 51CH");
    for (int item = 0; item < RouteMatrix::kLayouts; ++item)
        EXPECT_EQ(RouteMatrix::layoutOfMask(RouteMatrix::layoutMask(item)), item);
    EXPECT_EQ(RouteMatrix::layoutOfMask(0x20), -1);
}

TEST(RoutePoller, RequestsEveryCellOnceIn900Milliseconds) {
    Mirror mirror;
    RoutePoller poller;
    std::map<int, int> requests;
    for (int tick = 0; tick < 900 / RoutePoller::kTickMs; ++tick) {
        poller.tick(mirror);
        for (int i = 0; i < Mirror::kSize; ++i)
            if (mirror.takeReadRequest(i)) ++requests[i];
    }
    ASSERT_EQ(requests.size(), size_t(RouteMatrix::kCells));
    for (auto [index, count] : requests) {
        EXPECT_GE(RouteMatrix::cellOf(index), 0);
        EXPECT_EQ(count, 1);
    }
}

TEST(RouteExport, NamesFromTheSelectorAndTheOutputSelection) {
    EXPECT_EQ(RouteExport::name(4, 5), "VX540_RouteIn51CH_Out71CH");
    EXPECT_EQ(RouteExport::name(-1, 0), "VX540_RouteInXXCH_Out20CH");
    EXPECT_EQ(RouteExport::name(0, 6), "VX540_RouteIn20CH_OutXXCH");
}

TEST(RouteExport, TextHoldsEveryCellAsDePer) {
    RouteExport::Cells cells{};
    cells[0] = RouteMatrix::cellValue(100, true);
    cells[63] = 0x0702;
    std::string file = RouteExport::fileText(-1, 4, cells, noon());
    std::string clip = RouteExport::clipboardText(-1, 4, cells, noon());
    EXPECT_EQ(
        file.find("#include \"main_data.h\" \r\n\r\n#define DePer(VOL)   (VOL<<8)\r\n"
                  "const unsigned short VX540_RouteInXXCH_Out51CH[]=\r\n{\r\n//InXXCH>Out51-FL"),
        0u);
    EXPECT_NE(file.find("\t2024-03-09 12:05:07\r\n\tDePer(100)|1,DePer(  0)|0,"),
              std::string::npos);
    EXPECT_TRUE(endsWith(file, "DePer(  7)|2,//BR-CH8\r\n};\r\n"));
    EXPECT_EQ(clip.find("//InXXCH>Out51-FL"), 0u);
    EXPECT_TRUE(endsWith(clip, "|2,//BR-CH8"));
    EXPECT_NE(file.find(clip), std::string::npos);
}

TEST(RouteExport, WritesIntoItsFolderOrSaysItCannot) {
    TempFolder temp;
    std::string path;
    ASSERT_TRUE(RouteExport::writeFile(temp.path(), "VX540_RouteX", "text", &path));
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(temp.path()) / "VX540_RouteData" /
                                        "VX540_RouteX.c"));
    // A plain file where the folder should be.
    std::string blocked = temp.path() + "/blocked";
    TempFolder::write(blocked, "x");
    EXPECT_FALSE(RouteExport::writeFile(blocked, "VX540_RouteX", "text"));
}
