#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "filter/measurement_reader.h"

namespace {

// n points a twelfth of an octave apart from 20 Hz, each line made by `line`.
template <typename Line>
std::string points(int n, Line line) {
    std::string out;
    for (int k = 0; k < n; ++k) out += line(20 * std::exp2(k / 12.0), 70.0 + k % 5) + "\n";
    return out;
}

std::string utf16le(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

std::string fmt(const char* format, double f, double level) {
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, format, f, level);
    return buffer;
}

std::string decimalComma(std::string text) {
    for (char& c : text)
        if (c == '.') c = ',';
    return text;
}

}  // namespace

TEST(MeasurementReader, ReadsTheExportFormats) {
    auto spaced = [](double f, double l) { return fmt("%.3f %.2f 12.5", f, l); };
    const std::string spacedText = points(30, spaced);
    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        {"spaces, comments", "* Measurement\n# more\n" + spacedText},
        {"tabs and a header",
         "Freq(Hz)\tSPL(dB)\tPhase(degrees)\n" +
             points(30, [](double f, double l) { return fmt("%.3f\t%.2f\t-30", f, l); })},
        {"commas", points(30, [](double f, double l) { return fmt("%.3f,%.2f", f, l); })},
        {"semicolons, decimal comma",
         points(30, [](double f, double l) { return decimalComma(fmt("%.3f;%.2f;1.5", f, l)); })},
        {"spaces, decimal comma",
         points(30, [](double f, double l) { return decimalComma(fmt("%.3f  %.2f", f, l)); })},
        {"csv naming raw",
         "frequency,phase,raw,smoothed\n" +
             points(30, [](double f, double l) { return fmt("%.3f,0,%.2f,1", f, l); })},
        {"utf-16", utf16le("* comment\r\n" + spacedText)},
        {"utf-8 bom", "\xEF\xBB\xBF" + spacedText},
    };
    for (const Case& c : cases) {
        MeasurementReader::Result r = MeasurementReader::read(c.text);
        ASSERT_TRUE(r.ok()) << c.name << ": " << r.error;
        ASSERT_EQ(r.measurement.frequency.size(), 30u) << c.name;
        EXPECT_NEAR(r.measurement.frequency[12], 40.0, 1e-3) << c.name;
        EXPECT_NEAR(r.measurement.level[3], 73.0, 1e-9) << c.name;
    }
}

TEST(MeasurementReader, RefusesBadInputWithTheLine) {
    auto line = [](double f, double l) { return fmt("%.3f %.2f", f, l); };
    const std::string good = points(25, line);
    struct Case {
        std::string text;
        const char* message;
    } cases[] = {
        {good + "50 70\n", "Line 26: the frequency 50 Hz does not rise"},
        {"20 70\nabc def\n" + good, "Line 2: not understood"},
        {"20 x1\n", "Line 1: \"x1\" is not a number"},
        {"0 70\n", "Line 1: the frequency 0 is not above 0 Hz"},
        {"20\n", "Line 1: a frequency and a level are needed"},
        {points(19, line), "Only 19 points lie between 20 Hz and 20 kHz"},
        {good + std::string(4 << 20, ' '), "larger than 4 MB"},
        {"20 70\n30 7\x01\n", "Line 2: not understood"},
    };
    for (const Case& c : cases) {
        MeasurementReader::Result r = MeasurementReader::read(c.text);
        EXPECT_NE(r.error.find(c.message), std::string::npos) << r.error;
        EXPECT_TRUE(r.measurement.empty());
    }
}
