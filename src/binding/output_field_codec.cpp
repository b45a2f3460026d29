#include "binding/output_field_codec.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "filter/frequency_table.h"
#include "filter/q_table.h"

namespace {

constexpr double kGainMin = -24.0;
constexpr double kGainMax = 12.0;
constexpr double kSamplesPerTenth = 4.8;
constexpr double kMetresPerMs = 0.346;
constexpr int kMaxDelay = 200;

constexpr std::array<int, OutputFieldCodec::kReleasePositions> kRelease = {2,  4,  6,  8,
                                                                           12, 16, 24, 32};
constexpr std::array<int, OutputFieldCodec::kRatioPositions> kRatio = {
    10,  12,  14,  16,  18,  20,  24,  28,  32,  36,  40,  44,  48,  52,
    56,  60,  64,  68,  72,  76,  80,  84,  90,  96,  102, 108, 114, 120,
    130, 140, 150, 160, 170, 180, 190, 200, 220, 240, 260, 300, 1000};

struct CrossoverItem {
    int highPass;
    int lowPass;
};
constexpr std::array<CrossoverItem, OutputFieldCodec::kCrossoverItems> kCrossovers = {
    {{22, 23}, {28, 29}, {20, 21}, {26, 27}, {24, 25}, {30, 31}, {32, 33}, {36, 37}}};

constexpr double kRest[OutputFieldCodec::kBands] = {101, 250, 1000, 2000, 2520, 4000, 10100, 12000};
constexpr double kRestSubwoofer[OutputFieldCodec::kBands] = {25, 50, 80, 100, 125, 160, 200, 303};

// The fraction dropped, after the error of a decimal step held in binary.
int dropFraction(double x) {
    if (!std::isfinite(x)) return 0;
    return static_cast<int>(std::trunc(x + (x < 0 ? -1e-6 : 1e-6)));
}

template <size_t N>
int firstNotBelow(const std::array<int, N>& table, int code, int whenNone) {
    for (size_t i = 0; i < N; ++i)
        if (table[i] >= code) return static_cast<int>(i);
    return whenNone;
}

}  // namespace

int OutputFieldCodec::bandType(int code) {
    return code == 5 || code == 6 ? code : 7;
}

int OutputFieldCodec::gainCode(double dB) {
    return dropFraction(std::clamp(dB, kGainMin, kGainMax) * 10 + 500);
}

double OutputFieldCodec::gain(int code) {
    return std::clamp((code - 500) / 10.0, kGainMin, kGainMax);
}

int OutputFieldCodec::qCode(double q) {
    return dropFraction(q * 100);
}

double OutputFieldCodec::q(int code) {
    return QTable::snap(code / 100.0);
}

double OutputFieldCodec::bandFrequency(int code) {
    // The strip's table, so that what a band was sent reads back unchanged.
    return FrequencyTable::band().quantise(
        FrequencyTable::frequencyOfCode(static_cast<uint16_t>(code)));
}

int OutputFieldCodec::mutedLevel(int code) {
    constexpr int kMute = 500;
    bool muted = code >= kMute;
    return std::clamp(muted ? code - kMute : code, 0, 100) + (muted ? kMute : 0);
}

int OutputFieldCodec::mixCode(int level) {
    return level <= 0 ? 0 : level * 256 + 1;
}

int OutputFieldCodec::mixLevel(int code) {
    return std::clamp(code >> 8, 0, 100);
}

int OutputFieldCodec::delayCode(double tenthsOfMs) {
    return dropFraction(tenthsOfMs * kSamplesPerTenth);
}

double OutputFieldCodec::delay(int code) {
    return std::clamp(code / kSamplesPerTenth, 0.0, double(kMaxDelay));
}

double OutputFieldCodec::delayDistance(double tenthsOfMs) {
    return tenthsOfMs / 10 * kMetresPerMs;
}

int OutputFieldCodec::sampleCode(double ms) {
    return dropFraction(ms * kSamplesPerTenth * 10);
}

double OutputFieldCodec::sampleMs(int code) {
    return std::max(code, 0) / (kSamplesPerTenth * 10);
}

int OutputFieldCodec::thresholdCode(double position) {
    return dropFraction(position * 10 + 200);
}

double OutputFieldCodec::threshold(int code) {
    return (code - 200) / 10.0;
}

double OutputFieldCodec::attackMs(int position) {
    position = std::clamp(position, 0, kAttackPositions - 1);
    if (position < 8) return (position + 3) / 10.0;
    return std::min(position - 6, 100);
}

int OutputFieldCodec::attackCode(int position) {
    return static_cast<int>(std::lround(attackMs(position) * 10));
}

int OutputFieldCodec::attackPosition(int code) {
    for (int i = 0; i < kAttackPositions; ++i)
        if (attackCode(i) >= code) return i;
    return kAttackPositions - 1;
}

int OutputFieldCodec::releaseMultiple(int position) {
    return kRelease[static_cast<size_t>(std::clamp(position, 0, kReleasePositions - 1))];
}

int OutputFieldCodec::releasePosition(int code) {
    return firstNotBelow(kRelease, code, kReleasePositions);
}

int OutputFieldCodec::ratioTenths(int position) {
    return kRatio[static_cast<size_t>(std::clamp(position, 0, kRatioPositions - 1))];
}

int OutputFieldCodec::ratioPosition(int code) {
    return firstNotBelow(kRatio, code, kRatioPositions - 1);
}

int OutputFieldCodec::crossoverCode(int position, bool lowPass) {
    const CrossoverItem& item = kCrossovers[static_cast<size_t>(
        position >= 0 && position < kCrossoverItems ? position : 0)];
    return lowPass ? item.lowPass : item.highPass;
}

int OutputFieldCodec::crossoverPosition(int code) {
    for (int i = 0; i < kCrossoverItems; ++i) {
        const CrossoverItem& item = kCrossovers[static_cast<size_t>(i)];
        if (item.highPass == code || item.lowPass == code) return i;
    }
    return 0;
}

int OutputFieldCodec::slopePosition(int code) {
    int position = crossoverPosition(code);
    if (position < kSlopeItems && crossoverCode(position, code % 2 == 1) == code) return position;
    return code >= 0 && code < kSlopeItems ? code : 0;
}

int OutputFieldCodec::crossoverFrequencyCode(int position) {
    position = std::clamp(position, 0, FrequencyTable::kLast);
    if (position == 0) return FrequencyTable::kOffCode;
    return FrequencyTable::codeOf(FrequencyTable::gridFrequency(position));
}

double OutputFieldCodec::crossoverFrequency(int code) {
    if (code == FrequencyTable::kOffCode) return 10.0;
    return FrequencyTable::frequencyOfCode(static_cast<uint16_t>(code));
}

int OutputFieldCodec::crossoverSliderPosition(double frequency) {
    return FrequencyTable::gridIndex(frequency);
}

int OutputFieldCodec::userQCode(int position) {
    return (position + 4) * 10;
}

int OutputFieldCodec::userQPosition(int code) {
    return code / 10 - 4;
}

double OutputFieldCodec::restFrequency(bool subwoofer, int band) {
    band = std::clamp(band, 0, kBands - 1);
    return subwoofer ? kRestSubwoofer[band] : kRest[band];
}
