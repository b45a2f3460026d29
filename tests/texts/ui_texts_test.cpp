#include "texts/ui_texts.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>

#include "text_checks.h"

namespace {

std::string where(int number, int item) {
    return "entry " + std::to_string(number) + " item " + std::to_string(item);
}

void expectTriple(const TextTriple& text, const char* simplified, const char* traditional,
                  const char* english) {
    EXPECT_STREQ(text[0], simplified);
    EXPECT_STREQ(text[1], traditional);
    EXPECT_STREQ(text[2], english);
}

}  // namespace

TEST(PrintfConversions, FindsEveryConversionAsWritten) {
    EXPECT_EQ(printfConversions("Read Device Data:%5.0f %%"),
              (std::vector<std::string>{"%5.0f", "%%"}));
    EXPECT_EQ(printfConversions("Release:   Atkx%2dms"), (std::vector<std::string>{"%2d"}));
    EXPECT_EQ(printfConversions("%-+ #08.3lf|%x|%0X|%*d"),
              (std::vector<std::string>{"%-+ #08.3lf", "%x", "%0X", "%*d"}));
    EXPECT_EQ(printfConversions("no placeholder"), std::vector<std::string>{});
    EXPECT_EQ(printfConversions("50%K"), (std::vector<std::string>{"<bad>"}));
    EXPECT_EQ(printfConversions("ends with %"), (std::vector<std::string>{"<bad>"}));
}

TEST(UiTexts, EveryItemHasThreeColumnsWithTheSamePlaceholders) {
    for (int number = 1; number <= uitext::kEntryCount; ++number) {
        for (int item = 0; item < uitext::itemCount(number); ++item) {
            expectWellFormed(uitext::entry(number, item), where(number, item));
        }
    }
}

TEST(UiTexts, EntryCountAndGroupSizes) {
    const std::map<int, int> groups = {{1, 3}, {22, 4}, {108, 4}, {205, 2}, {206, 2}, {244, 12}};
    int items = 0;
    for (int number = 1; number <= uitext::kEntryCount; ++number) {
        auto group = groups.find(number);
        EXPECT_EQ(uitext::itemCount(number), group == groups.end() ? 1 : group->second)
            << "entry " << number;
        items += uitext::itemCount(number);
    }
    EXPECT_EQ(uitext::kEntryCount, 244);
    EXPECT_EQ(items, 244 - 6 + 3 + 4 + 4 + 2 + 2 + 12);
}

TEST(UiTexts, NamesReachTheirNumberedEntries) {
    EXPECT_EQ(&uitext::entry(1, 2), &uitext::ConnectionState[2]);
    EXPECT_EQ(&uitext::entry(6), &uitext::PageMain);
    EXPECT_EQ(&uitext::entry(22, 3), &uitext::WindowTitle[3]);
    EXPECT_EQ(&uitext::entry(24), &uitext::MasterMusic);
    EXPECT_EQ(&uitext::entry(41), &uitext::AutoVolumeOutput);
    EXPECT_EQ(&uitext::entry(108, 0), &uitext::OperationState[0]);
    EXPECT_EQ(&uitext::entry(170), &uitext::ReadDeviceProgress);
    EXPECT_EQ(&uitext::entry(194), &uitext::ExitQuestion);
    EXPECT_EQ(&uitext::entry(205, 1), &uitext::SpaceTestState[1]);
    EXPECT_EQ(&uitext::entry(206, 1), &uitext::StartStop[1]);
    EXPECT_EQ(&uitext::entry(243), &uitext::TrackTest);
    EXPECT_EQ(&uitext::entry(244, 11), &uitext::SceneName[11]);
}

TEST(UiTexts, LookupOutsideTheTableGivesEmptyTexts) {
    for (auto [number, item] : {std::pair{0, 0},
                                {-1, 0},
                                {245, 0},
                                {1, 3},
                                {1, -1},
                                {2, 1},
                                {244, 12},
                                {INT_MIN, 0},
                                {INT_MAX, INT_MAX}}) {
        const TextTriple& text = uitext::entry(number, item);
        for (int language = 0; language < 3; ++language) {
            EXPECT_STREQ(text[language], "") << where(number, item);
        }
    }
    EXPECT_EQ(uitext::itemCount(0), 0);
    EXPECT_EQ(uitext::itemCount(245), 0);
}

TEST(UiTexts, ExamplesOfTheColumnRuleMatchExactly) {
    expectTriple(uitext::ConnectionState[0], "连接成功", "連接成功", "Successful");
    expectTriple(uitext::ExitQuestion, "是否退出程序!", "是否退出程序!",
                 "Whether to exit the program!");
    expectTriple(uitext::MasterMusic, "音乐总音量:%3.0f%%", "音樂總音量:%3.0f%%", "Music:%3.0f%%");
    // The status text re-translated in place when the language changes.
    EXPECT_STREQ(uitext::ConnectionState[1][Language::SimplifiedChinese], "搜索连接");
}

TEST(UiTexts, SceneNamesAreNamesInChineseAndNumbersInEnglish) {
    const char* names[8][2] = {{"K 歌", "K 歌"}, {"电影", "電影"}, {"会议", "會議"},
                               {"音乐", "音樂"}, {"大厅", "大廳"}, {"中厅", "中廳"},
                               {"小厅", "小廳"}, {"包房", "包房"}};
    for (int item = 0; item < 8; ++item) {
        std::string number = "0" + std::to_string(item + 1);
        expectTriple(uitext::SceneName[item], names[item][0], names[item][1], number.c_str());
    }
    for (int item = 8; item < 12; ++item) expectTriple(uitext::SceneName[item], " ", " ", " ");
}

TEST(UiTexts, EnglishKeepsItsSpacesEscapesAndFullStops) {
    EXPECT_STREQ(uitext::AnalogPrefix[2], "Analog ");
    EXPECT_STREQ(uitext::AnalogPrefix[0], "模拟 ");
    EXPECT_STREQ(uitext::MicFeedbackEliminator[2], " MIC_FBE:");
    EXPECT_STREQ(uitext::ShiftZero[2], "Shift:   0 ");
    EXPECT_STREQ(uitext::LeftRightJoint[2], "LR\r\nJoint");
    EXPECT_STREQ(uitext::EqGainLabel[2], "Gain:\n(db)");
    EXPECT_STREQ(uitext::FileExistsOverwrite[2], "File already exists!\n Whether or not covered!");
    EXPECT_STREQ(uitext::UpdateFailedRunAsAdmin[2],
                 "Update failed!\r\nPlease run the software as an administrator!");
    EXPECT_STREQ(uitext::TestTime[2], "Test time:%0.1fS。");
    EXPECT_STREQ(uitext::NoFilesSelected[2], "No files.");
    EXPECT_STREQ(uitext::EchoLpfOff[2], "Echo LHF:        OFF");
    EXPECT_STREQ(uitext::RightDelayWhole[2], "Right-Delay:  %3.0fms");
    EXPECT_STREQ(uitext::MusicStart[2], "Music Start: %30.0f%%");
    EXPECT_STREQ(uitext::WindowTitle[2][2], uitext::WindowTitle[3][2]);
}

// A text that the program shows under two entries must not change its
// wording between them. The automatic-volume row repeats the reverb row's
// English but names another control in Chinese.
TEST(UiTexts, TheSameEnglishHasTheSameChinese) {
    std::map<std::string, const TextTriple*> seen;
    for (int number = 1; number <= uitext::kEntryCount; ++number) {
        if (number == 41 || number == 244) continue;
        for (int item = 0; item < uitext::itemCount(number); ++item) {
            const TextTriple& text = uitext::entry(number, item);
            auto [first, inserted] = seen.emplace(text[2], &text);
            if (inserted) continue;
            EXPECT_STREQ(text[0], (*first->second)[0]) << where(number, item);
            EXPECT_STREQ(text[1], (*first->second)[1]) << where(number, item);
        }
    }
    expectTriple(uitext::AutoVolumeOutput, "自动音量输出:   %3d%%", "自動音量輸出:   %3d%%",
                 "Reverb Vol:   %3d%%");
}

TEST(UiTexts, FormatsFillInTheCurrentLanguage) {
    {
        LanguageScope english(Language::English);
        EXPECT_EQ(formatText(uitext::ReadDeviceProgress, 50.0), "Read Device Data:   50 %");
        EXPECT_EQ(formatText(uitext::MasterMusic, 75.0), "Music: 75%");
        EXPECT_EQ(formatText(uitext::MicDirectVol, 45), "Mic Dir Vol:    45%");
        EXPECT_EQ(formatText(uitext::LimiterRelease, 4), "Release:   Atkx 4ms");
        EXPECT_EQ(formatText(uitext::DelayDistance, 20.0 * 0.346), "Delay distance:  6.92M");
        EXPECT_EQ(formatText(uitext::HpfFreqTenths, 25.3), "HPF Freq:   25.3Hz");
        EXPECT_EQ(formatText(uitext::InstructionError, 3), "The first 3 instruction error");
        EXPECT_EQ(formatText(uitext::TestTime, 12.25), "Test time:12.2S。");
        EXPECT_EQ(formatText(uitext::MusicStart, 40.0),
                  "Music Start: " + std::string(28, ' ') + "40%");
    }
    {
        LanguageScope simplified(Language::SimplifiedChinese);
        EXPECT_EQ(formatText(uitext::ReadDeviceProgress, 50.0), "读取设备数据:   50 %");
        EXPECT_EQ(formatText(uitext::InstructionError, 3), "第3条指令错误");
    }
    {
        LanguageScope traditional(Language::TraditionalChinese);
        EXPECT_EQ(formatText(uitext::MasterMusic, 100.0), "音樂總音量:100%");
        EXPECT_EQ(uitext::ConnectionState[2].get(), std::string("暫停連接"));
    }
}
