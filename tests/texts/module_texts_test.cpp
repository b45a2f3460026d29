#include <gtest/gtest.h>

#include <map>
#include <span>
#include <string>

#include "text_checks.h"
#include "texts/channel_test_texts.h"
#include "texts/compare_texts.h"
#include "texts/daemon_texts.h"
#include "texts/device_id_dialog_texts.h"
#include "texts/device_state_texts.h"
#include "texts/filter_text_texts.h"
#include "texts/fit_texts.h"
#include "texts/link_texts.h"
#include "texts/measurement_texts.h"
#include "texts/network_texts.h"
#include "texts/preset_file_texts.h"
#include "texts/remote_texts.h"
#include "texts/routing_texts.h"
#include "texts/software_update_texts.h"
#include "texts/ui_texts.h"
#include "texts/undo_texts.h"
#include "texts/upgrade_texts.h"
#include "texts/wifi_dialog_texts.h"

namespace {

struct ModuleTable {
    const char* name;
    std::span<const TextTriple* const> texts;
    size_t size;
};

std::vector<ModuleTable> moduleTables() {
    return {{"channel test", channeltesttext::all(), 3},
            {"wifi dialog", wifitext::all(), 20},
            {"device id dialog", deviceidtext::all(), 6},
            {"link", linktext::all(), 18},
            {"network", networktext::all(), 1},
            {"software update", updatetext::all(), 10},
            {"firmware upgrade", upgradetext::all(), 20},
            {"routing", routingtext::all(), 7},
            {"undo", undotext::all(), 12},
            {"filter text", filtertext::all(), 21},
            {"compare", comparetext::all(), 12},
            {"preset files", presetfiletext::all(), 8},
            {"device state", devicetext::all(), 13},
            {"measurement", measurementtext::all(), 10},
            {"fit", fittext::all(), 24},
            {"daemon", daemontext::all(), 19},
            {"remote", remotetext::all(), 4}};
}

}  // namespace

TEST(ModuleTexts, EveryTextHasThreeColumnsWithTheSamePlaceholders) {
    for (const ModuleTable& table : moduleTables()) {
        EXPECT_EQ(table.texts.size(), table.size) << table.name;
        for (size_t i = 0; i < table.texts.size(); ++i) {
            expectWellFormed(*table.texts[i], std::string(table.name) + " " + std::to_string(i));
        }
    }
}

// A module that shows a text the shared table also holds shows it in the same words.
TEST(ModuleTexts, AgreeWithTheSharedTableWhereTheEnglishIsTheSame) {
    std::map<std::string, const TextTriple*> shared;
    for (int number = 1; number <= uitext::kEntryCount; ++number) {
        if (number == 41) continue;  // its English repeats another row's
        for (int item = 0; item < uitext::itemCount(number); ++item) {
            shared.emplace(uitext::entry(number, item)[2], &uitext::entry(number, item));
        }
    }
    int matched = 0;
    for (const ModuleTable& table : moduleTables()) {
        for (const TextTriple* text : table.texts) {
            auto found = shared.find((*text)[2]);
            if (found == shared.end()) continue;
            ++matched;
            EXPECT_STREQ((*text)[0], (*found->second)[0]) << table.name << ": " << (*text)[2];
            EXPECT_STREQ((*text)[1], (*found->second)[1]) << table.name << ": " << (*text)[2];
        }
    }
    EXPECT_GE(matched, 10);
}

TEST(ModuleTexts, LinkTextsKeepTheirQuirks) {
    EXPECT_STREQ(linktext::NoFiles[2], "No files。");
    EXPECT_STREQ(linktext::WrongFileVersion[2], "Wrong file version。");
    EXPECT_STREQ(linktext::DataHasPassword[2], "The data has a password .");
    EXPECT_STREQ(linktext::UpdateSceneProgress[2], "Update Scene Data:%5.0f %%");
}

TEST(ModuleTexts, FormatsFillInTheCurrentLanguage) {
    LanguageScope english(Language::English);
    EXPECT_EQ(formatText(linktext::UpgradeProgress, 99.6), "Updown Device:100 %");
    EXPECT_EQ(formatText(linktext::UpdateSceneProgress, 7.0), "Update Scene Data:    7 %");
    EXPECT_EQ(formatText(updatetext::DownloadProgress, 42.0), "Onling_Update:   42 %");
    Language::set(Language::SimplifiedChinese);
    EXPECT_EQ(formatText(updatetext::DownloadProgress, 42.0), "在线更新:   42 %");
    EXPECT_EQ(wifitext::SetHotspot.get(), std::string("设置\n\t热点"));
}
