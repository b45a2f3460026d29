#include <gtest/gtest.h>

#include <random>
#include <string>

#include "filter/filter_text_reader.h"
#include "filter/filter_text_writer.h"
#include "texts/language.h"

namespace {

FilterTextReader::Result readLine(const std::string& line) {
    return FilterTextReader::read("Filter Settings file\n\n" + line + "\n", 8);
}

std::string allMessages(const FilterTextReader::Result& r) {
    std::string out;
    for (const std::string& m : r.messages) out += m + "\n";
    return out;
}

}  // namespace

TEST(FilterTextReader, TakesWhatABandCanHoldAndReportsEveryMove) {
    Language::set(Language::English);
    struct Case {
        const char* line;
        EqBand band;
        const char* message;  // "" when nothing was moved
    };
    const Case cases[] = {
        {"Filter 1: ON PK Fc 1000 Hz Gain -3.5 dB Q 4.32",
         {7, 1000, 4.2, -3.5},
         "Line 3: filter 1: Q 4.32 moved to 4.2 (-0.12)."},
        {"Filter  2: ON  LS       Fc   101 Hz  Gain   5.0 dB", {6, 101, 0.71, 5}, ""},
        {"Filter 3: ON HS 12dB Fc 8000 Hz Gain -2 dB", {5, 8000, 0.71, -2}, ""},
        {"Filter 4: ON LSC Fc 63 Hz Gain 3 dB Q 0.89",
         {6, 62.5, 0.89, 3},
         "frequency 63 Hz moved to 62.5 Hz (-0.5 Hz)"},
        {"Filter 5: ON HSC Fc 5 kHz Gain 2.5 dB Q 1",
         {5, 5040, 1, 2.5},
         "moved to 5040 Hz (+40 Hz)"},
        {"Filter 6: ON PK Fc 1,5 kHz Gain -3,5 dB Q 2", {7, 1500, 2, -3.5}, "decimal comma"},
        {"Filter 7: ON PK Fc 202 Gain 1 dB Q 1", {7, 202, 1, 1}, "Fc has no unit, read as Hz"},
        {"Filter 8: ON PK Fc 1000 Hz Gain 20 dB Q 1",
         {7, 1000, 1, 12},
         "gain 20 dB moved to 12 dB (-8 dB)"},
        {"Filter 9: ON PK Fc 1000 Hz Gain -3.04 dB Q 200",
         {7, 1000, 128, -3},
         "Q 200 moved to 128 (-72)"},
    };
    for (const Case& c : cases) {
        FilterTextReader::Result r = readLine(c.line);
        ASSERT_EQ(r.filters.size(), 1u) << c.line << "\n" << allMessages(r);
        EXPECT_EQ(r.filters[0].band, c.band) << c.line;
        EXPECT_EQ(r.filters[0].line, 3);
        if (*c.message)
            EXPECT_NE(allMessages(r).find(c.message), std::string::npos) << allMessages(r);
        else
            EXPECT_TRUE(r.messages.empty()) << allMessages(r);
    }
}

TEST(FilterTextReader, LeavesOutWhatABandCannotTakeAndSaysWhy) {
    Language::set(Language::English);
    const std::pair<const char*, const char*> cases[] = {
        {"Filter 1: OFF PK Fc 1000 Hz Gain -3.5 dB Q 4", "Line 3: filter 1 is OFF; left out."},
        {"Filter 2: ON None", "filter 2 is None"},
        {"Filter 3: ON LP Fc 80 Hz Q 0.71", "cannot take the type LP"},
        {"Filter 4: ON LS 6dB Fc 80 Hz Gain 3 dB", "cannot take the type LS 6dB"},
        {"Filter 5: ON PK Fc 15 Hz Gain 3 dB Q 1", "frequency 15 Hz is outside"},
        {"Filter 6: ON PK Fc 21 kHz Gain 3 dB Q 1", "frequency 21000 Hz is outside"},
        {"Filter 7: ON PK Fc 100 Hz Gain 3 dB Q 0", "Q 0 is not above 0"},
        {"Filter 8: ON PK Fc 100 Hz Gain 3 dB Q -2", "Q -2 is not above 0"},
        {"Filter 9: ON PK Fc abc Hz Gain 3 dB Q 1", "\"abc\" is not a number"},
        {"Filter 10: ON PK Fc 100 Hz Q 1", "filter 10 has no Gain value"},
        {"Filter 11: ON PK Fc 100 Hz Gain 3 dB BW/60 1", "\"BW/60\" not understood"},
        {"Filter 12: ON PK Fc nan Hz Gain 3 dB Q 1", "\"nan\" is not a number"},
        {"Fliter 1: ON PK Fc 100 Hz Gain 3 dB Q 1", "Line 3: not understood, ignored."},
    };
    for (auto [line, message] : cases) {
        FilterTextReader::Result r = readLine(line);
        EXPECT_TRUE(r.filters.empty()) << line;
        EXPECT_NE(allMessages(r).find(message), std::string::npos) << line << "\n"
                                                                   << allMessages(r);
        EXPECT_NE(allMessages(r).find("nothing imported"), std::string::npos);
    }
}

TEST(FilterTextReader, ListsTheFiltersBeyondThePagesBands) {
    Language::set(Language::English);
    std::string text = "Filter Settings file\nRoom EQ V5.20\nDated: Dec 9, 2026\n\n";
    for (int n = 1; n <= 10; ++n)
        text += "Filter " + std::to_string(n) + ": ON PK Fc 1000 Hz Gain -1 dB Q 1\n";
    FilterTextReader::Result r = FilterTextReader::read(text, 8);
    EXPECT_EQ(r.filters.size(), 8u);
    ASSERT_EQ(r.messages.size(), 2u);
    EXPECT_EQ(r.messages[0], "Line 13: filter 9 left out: the page has 8 bands.");
    EXPECT_EQ(r.messages[1], "Line 14: filter 10 left out: the page has 8 bands.");
}

TEST(FilterTextReader, ReadsBackWhatTheWriterWrote) {
    const std::vector<EqBand> bands = {{7, 25.3, 0.4, -24},
                                       {6, 101, 0.71, 12},
                                       {5, 20600, 128, 0},
                                       {7, 1000, 4.5, -3.5},
                                       {7, 99, 10.1, 0.1}};
    std::string text = FilterTextWriter::text(bands, "Main", "Dec 9, 2026 15:00:00");
    for (const std::string& bytes : {text, "\xEF\xBB\xBF" + text}) {
        FilterTextReader::Result r = FilterTextReader::read(bytes, 8);
        EXPECT_TRUE(r.messages.empty()) << allMessages(r);
        ASSERT_EQ(r.filters.size(), bands.size());
        for (size_t j = 0; j < bands.size(); ++j) EXPECT_EQ(r.filters[j].band, bands[j]) << j;
    }
    // The same file as UTF-16 with its byte order mark, both byte orders.
    for (bool little : {true, false}) {
        std::string utf16 = little ? "\xFF\xFE" : "\xFE\xFF";
        for (char c : text) utf16 += little ? std::string{c, '\0'} : std::string{'\0', c};
        EXPECT_EQ(FilterTextReader::read(utf16, 8).filters.size(), bands.size());
    }
}

TEST(FilterTextReader, RefusesOrSurvivesGarbage) {
    Language::set(Language::English);
    FilterTextReader::Result big = FilterTextReader::read(std::string(10 * 1024 * 1024, 'x'), 8);
    EXPECT_FALSE(big.readable);
    EXPECT_TRUE(big.filters.empty());

    std::mt19937 random(7);
    std::string noise(200 * 1024, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    FilterTextReader::Result r = FilterTextReader::read(noise, 8);
    EXPECT_TRUE(r.readable);
    EXPECT_TRUE(r.filters.empty());
    EXPECT_LE(r.messages.size(), size_t(FilterTextReader::kMaxOfEachKind + 2));
    EXPECT_NE(allMessages(r).find("more lines not understood"), std::string::npos);
}

TEST(FilterTextReader, EachKindOfMessageIsBounded) {
    Language::set(Language::English);
    std::string text;
    for (int n = 1; n <= 30; ++n)
        text += "Filter " + std::to_string(n) + ": OFF PK Fc 1000 Hz Gain 0 dB Q 1\n";
    for (int n = 31; n <= 56; ++n)
        text += "Filter " + std::to_string(n) + ": ON PK Fc 1000 Hz Gain -1 dB Q 1\n";
    FilterTextReader::Result r = FilterTextReader::read(text, 1);
    ASSERT_EQ(r.filters.size(), 1u);
    int off = 0;
    for (const std::string& m : r.messages) off += m.find("is OFF") != std::string::npos;
    EXPECT_EQ(off, 20);
    EXPECT_EQ(r.messages.size(), 42u);
    EXPECT_EQ(r.messages[40], "… and 10 more of the same kind.");
    EXPECT_EQ(r.messages[41], "… and 5 more of the same kind.");
}
