#include "binding/field_catalogue.h"

#include <algorithm>
#include <cmath>

#include "binding/output_field_codec.h"
#include "binding/parameter_index.h"
#include "filter/frequency_table.h"
#include "filter/slider_scale.h"
#include "texts/ui_texts.h"

namespace {

namespace pi = parameterIndex;
using C = FieldRow::Channel;
using F = FieldCodec;
using Codec = OutputFieldCodec;

constexpr unsigned bit(int page) {
    return 1u << page;
}
constexpr unsigned kAllOutputs = bit(pageNumber::Outputs) - 1;
constexpr unsigned kPairPages =
    bit(pageNumber::Main) | bit(pageNumber::BackSurround) | bit(pageNumber::Surround);
constexpr unsigned kSinglePages = bit(pageNumber::Centre) | bit(pageNumber::Subwoofer);
constexpr unsigned kSubwoofer = bit(pageNumber::Subwoofer);
constexpr unsigned kMusic = bit(pageNumber::Music);
constexpr unsigned kMic = bit(pageNumber::Microphone);
constexpr unsigned kInputs = kMusic | kMic;
constexpr unsigned kEcho = bit(pageNumber::Echo);
constexpr unsigned kReverb = bit(pageNumber::Reverb);
constexpr unsigned kEffects = kEcho | kReverb;
constexpr unsigned kSystem = bit(pageNumber::System);
constexpr unsigned kHeader = bit(pageNumber::Count);

constexpr int kNoIndex = -1;
constexpr double kGridLast = FrequencyTable::kLast;

constexpr FieldRow row(unsigned pages, int first, int count, int base, int step = 0,
                       int perChannel = 0, C channel = C::None) {
    return {pages, first, count, base, step, perChannel, channel};
}
constexpr FieldRow output(unsigned pages, int first, int base, int perChannel,
                          C channel = C::Main) {
    return row(pages, first, 1, base, 0, perChannel, channel);
}
constexpr FieldRow ownedBy(unsigned pages, int field, int index) {
    FieldRow r = row(pages, field, 1, index);
    r.writes = false;
    return r;
}
constexpr FieldRow bands(unsigned pages, int first, int count, int base, F codec,
                         int perChannel = 0, C channel = C::None) {
    return row(pages, first, count, base, 4, perChannel, channel).shown(codec, 0, 0);
}
// A microphone's row: MIC A's index, then MIC B's.
constexpr FieldRow mic(int first, int index, C channel) {
    return row(kMic, first, 1, index, 0, 0, channel);
}

// clang-format off
constexpr FieldRow kRows[] = {
    // Output pages: eight bands, then the channel's single values.
    bands(kAllOutputs, 0, 8, 73, F::BandType, 68, C::Main),
    bands(kAllOutputs, 10, 8, 74, F::BandFrequency, 68, C::Main),
    bands(kAllOutputs, 20, 8, 76, F::BandQ, 68, C::Main),
    bands(kAllOutputs, 30, 8, 75, F::BandGain, 68, C::Main),
    output(kAllOutputs, 40, 17, 1),
    output(kPairPages, 41, 1, 1),
    output(kSinglePages, 42, 1, 1),
    output(kPairPages, 43, 1, 1, C::Partner),
    output(kAllOutputs, 44, 9, 1).shown(F::MutedLevel, 0, 100, &uitext::OutputVol),
    output(kAllOutputs, 45, 1513, 12).shown(F::Mix, 0, 100, &uitext::MicDirectVol),
    output(kAllOutputs, 46, 1514, 12).shown(F::Mix, 0, 100, &uitext::EchoVol),
    output(kAllOutputs, 47, 1516, 12).shown(F::Mix, 0, 100, &uitext::ReverbVol),
    output(kSubwoofer, 48, 68, 68).shown(F::UserQ, 0, 11, &uitext::HpfQ),
    output(kSubwoofer, 49, 72, 68).shown(F::UserQ, 0, 11, &uitext::LpfQ),
    output(kAllOutputs, 50, kNoIndex, 0).shown(F::Level, 0, 100, &uitext::AutoVolumeOutput),
    output(kPairPages, 51, 25, 1).shown(F::Delay, 0, 200, &uitext::LeftDelay),
    output(kSinglePages, 52, 25, 1).shown(F::Delay, 0, 200, &uitext::Delay),
    output(kAllOutputs, 53, 36, 4).shown(F::Threshold, 0, 48, &uitext::LimiterThreshold, nullptr, 100),
    output(kAllOutputs, 54, 34, 4).shown(F::Attack, 0, Codec::kAttackPositions - 1, &uitext::LimiterAttack),
    output(kAllOutputs, 55, 35, 4).shown(F::Release, 0, Codec::kReleasePositions - 1, &uitext::LimiterRelease),
    output(kAllOutputs, 56, 33, 4).shown(F::Ratio, 0, Codec::kRatioPositions - 1, &uitext::LimiterRatio),
    output(kPairPages, 57, 25, 1, C::Partner).shown(F::Delay, 0, 200, &uitext::RightDelay),
    output(kAllOutputs, 58, 66, 68).shown(F::Crossover, 0, kGridLast),
    output(kAllOutputs, 59, 65, 68),
    output(kAllOutputs, 60, 70, 68).shown(F::Crossover, 1, kGridLast),
    output(kAllOutputs, 61, 69, 68),
    // Music input page.
    bands(kMusic, 0, 15, 625, F::BandType),
    bands(kMusic, 15, 15, 626, F::BandFrequency),
    bands(kMusic, 30, 15, 628, F::BandQ),
    bands(kMusic, 45, 15, 627, F::BandGain),
    row(kMusic, 60, 1, 609),
    row(kMusic, 78, 1, 618).shown(F::Crossover, 0, 143),
    row(kMusic, 79, 1, 617),
    row(kMusic, 80, 1, 622).shown(F::UpperCrossover, 0, 64),
    row(kMusic, 81, 1, 621),
    // Microphone page: the music page's fields, per microphone, and the compressor.
    bands(kMic, 0, 15, 1275, F::BandType, 0, C::MicA),
    bands(kMic, 15, 15, 1276, F::BandFrequency, 0, C::MicA),
    bands(kMic, 30, 15, 1278, F::BandQ, 0, C::MicA),
    bands(kMic, 45, 15, 1277, F::BandGain, 0, C::MicA),
    mic(60, 1257, C::MicA),
    mic(73, 1262, C::MicA).shown(F::Threshold, 0, 48, &uitext::LimiterThreshold, nullptr, 100),
    mic(74, 1260, C::MicA).shown(F::Attack, 0, Codec::kAttackPositions - 1, &uitext::LimiterAttack),
    mic(75, 1261, C::MicA).shown(F::Release, 0, Codec::kReleasePositions - 1, &uitext::LimiterRelease),
    mic(76, 1259, C::MicA).shown(F::Ratio, 0, Codec::kRatioPositions - 1, &uitext::LimiterRatio),
    mic(78, 1268, C::MicA).shown(F::Crossover, 0, 143),
    mic(79, 1267, C::MicA),
    mic(80, 1272, C::MicA).shown(F::UpperCrossover, 0, 64),
    mic(81, 1271, C::MicA),
    bands(kMic, 0, 15, 1355, F::BandType, 0, C::MicB),
    bands(kMic, 15, 15, 1356, F::BandFrequency, 0, C::MicB),
    bands(kMic, 30, 15, 1358, F::BandQ, 0, C::MicB),
    bands(kMic, 45, 15, 1357, F::BandGain, 0, C::MicB),
    mic(60, 1258, C::MicB),
    mic(73, 1266, C::MicB).shown(F::Threshold, 0, 48, &uitext::LimiterThreshold, nullptr, 100),
    mic(74, 1264, C::MicB).shown(F::Attack, 0, Codec::kAttackPositions - 1, &uitext::LimiterAttack),
    mic(75, 1265, C::MicB).shown(F::Release, 0, Codec::kReleasePositions - 1, &uitext::LimiterRelease),
    mic(76, 1263, C::MicB).shown(F::Ratio, 0, Codec::kRatioPositions - 1, &uitext::LimiterRatio),
    mic(78, 1348, C::MicB).shown(F::Crossover, 0, 143),
    mic(79, 1347, C::MicB),
    mic(80, 1352, C::MicB).shown(F::UpperCrossover, 0, 64),
    mic(81, 1351, C::MicB),
    row(kMic, 82, 1, 1437),
    // Echo and reverb pages: five bands, then their own values.
    bands(kEcho, 0, 5, 1448, F::BandType),
    bands(kEcho, 10, 5, 1449, F::BandFrequency),
    bands(kEcho, 20, 5, 1451, F::BandQ),
    bands(kEcho, 30, 5, 1450, F::BandGain),
    row(kEcho, 40, 1, 1438),
    row(kEcho, 41, 1, 1441).shown(F::Crossover, 0, 205),
    row(kEcho, 42, 1, 1445).shown(F::UpperCrossover, 0, 64),
    row(kEcho, 43, 1, 1440),
    row(kEcho, 44, 1, 1444),
    row(kEcho, 45, 1, 1430).shown(F::MutedLevel, 0, 100, &uitext::EchoVol),
    row(kEcho, 46, 1, 1429).shown(F::MutedLevel, 0, 100, &uitext::MicDirectVol),
    row(kEcho, 47, 1, 1428).shown(F::Samples, 0, 50, &uitext::EchoRightDelay, ":%dms"),
    row(kEcho, 48, 1, 1427).shown(F::Samples, 0, 50, &uitext::EchoPreDelay, ":%5dms"),
    row(kEcho, 49, 1, 1431).shown(F::Level, 0, 90, &uitext::EchoRepeatRatio, ":%d%%"),
    row(kEcho, 50, 1, 1432).shown(F::Samples, 0, 340, &uitext::EchoDelayTime, ":%dms"),
    bands(kReverb, 0, 5, 1480, F::BandType),
    bands(kReverb, 10, 5, 1481, F::BandFrequency),
    bands(kReverb, 20, 5, 1483, F::BandQ),
    bands(kReverb, 30, 5, 1482, F::BandGain),
    row(kReverb, 40, 1, 1439),
    row(kReverb, 41, 1, 1473).shown(F::Crossover, 0, 205),
    row(kReverb, 42, 1, 1477).shown(F::UpperCrossover, 0, 64),
    row(kReverb, 43, 1, 1472),
    row(kReverb, 44, 1, 1476),
    row(kReverb, 45, 1, 1434).shown(F::MutedLevel, 0, 100, &uitext::ReverbVol),
    row(kReverb, 46, 1, 1435).shown(F::MutedLevel, 0, 100, &uitext::MicDirectVol),
    row(kReverb, 54, 1, 1433).shown(F::Samples, 0, 70, &uitext::ReverbPreDelay, ":%dms"),
    row(kReverb, 55, 1, 1436).shown(F::Level, 0, 5000, &uitext::ReverbTime, ":%dms"),
    // The system page's items, which it writes itself.
    ownedBy(kSystem, 0, pi::MusicStart),
    ownedBy(kSystem, 1, pi::MusicMax),
    ownedBy(kSystem, 2, pi::MicStart),
    ownedBy(kSystem, 3, pi::MicMax),
    ownedBy(kSystem, 4, pi::MicBStart),
    ownedBy(kSystem, 5, pi::MicBMax),
    ownedBy(kSystem, 6, pi::EffectStart),
    ownedBy(kSystem, 7, pi::EffectMax),
    ownedBy(kSystem, 8, pi::MicGateThreshold),
    ownedBy(kSystem, 9, pi::MusicGateThreshold),
    ownedBy(kSystem, 12, pi::MicGate),
    ownedBy(kSystem, 13, pi::MusicGate),
    ownedBy(kSystem, 14, pi::KeyLock),
    ownedBy(kSystem, 16, pi::SystemItem16),
    ownedBy(kSystem, 17, pi::BootMode),
    ownedBy(kSystem, 18, pi::CurrentMode),
    ownedBy(kSystem, 19, pi::ModeOperation),
    ownedBy(kSystem, 21, pi::Surround),
    // The header shows these indices under their own numbers and writes them itself.
    [] { FieldRow r = row(kHeader, pi::MusicVolume, 4, pi::MusicVolume, 1); r.writes = false; return r; }(),
    [] { FieldRow r = row(kHeader, pi::InputSource, 2, pi::InputSource, 1); r.writes = false; return r; }(),
    ownedBy(kHeader, pi::DecoderMode, pi::DecoderMode),
};
// clang-format on

double position(double shown) {
    return static_cast<int>(shown);
}

}  // namespace

bool FieldRow::covers(int page, int field) const {
    return page >= 0 && page <= pageNumber::Count && (pages & bit(page)) != 0 && field >= first &&
           field < first + count;
}

std::span<const FieldRow> FieldCatalogue::rows() {
    return kRows;
}

// The first row that covers the field: the microphone page's MIC A row.
const FieldRow* FieldCatalogue::find(int page, int field) {
    for (const FieldRow& row : kRows)
        if (row.covers(page, field)) return &row;
    return nullptr;
}

int FieldCatalogue::encode(FieldCodec codec, double shown) {
    int p = static_cast<int>(position(shown));
    switch (codec) {
        case F::BandFrequency:
            return FrequencyTable::codeOf(shown);
        case F::BandQ:
            return Codec::qCode(shown);
        case F::BandGain:
            return Codec::gainCode(shown);
        case F::Mix:
            return Codec::mixCode(p);
        case F::UserQ:
            return Codec::userQCode(p);
        case F::Delay:
            return Codec::delayCode(shown);
        case F::Samples:
            return Codec::sampleCode(shown);
        case F::Threshold:
            return Codec::thresholdCode(shown);
        case F::Attack:
            return Codec::attackCode(p);
        case F::Release:
            return Codec::releaseMultiple(p);
        case F::Ratio:
            return Codec::ratioTenths(p);
        case F::Crossover:
            return Codec::crossoverFrequencyCode(p);
        case F::UpperCrossover:
            return Codec::crossoverFrequencyCode(FrequencyTable::kUpperBase + p);
        default:
            return p;  // band type, levels and what the owner gives
    }
}

namespace {

double decoded(FieldCodec codec, int value) {
    switch (codec) {
        case F::BandType:
            return Codec::bandType(value);
        case F::BandFrequency:
            return Codec::bandFrequency(value);
        case F::BandQ:
            return Codec::q(value);
        case F::BandGain:
            return Codec::gain(value);
        case F::Mix:
            return Codec::mixLevel(value);
        case F::UserQ:
            return Codec::userQPosition(value);
        case F::Delay:
            return Codec::delay(value);
        case F::Samples:
            return Codec::sampleMs(value);
        case F::Threshold:
            return Codec::threshold(value);
        case F::Attack:
            return Codec::attackPosition(value);
        case F::Release:
            return Codec::releasePosition(value);
        case F::Ratio:
            return Codec::ratioPosition(value);
        case F::Crossover:
            return Codec::crossoverSliderPosition(Codec::crossoverFrequency(value));
        case F::UpperCrossover:
            return FrequencyTable::upperGridIndex(Codec::crossoverFrequency(value));
        default:
            return value;
    }
}

}  // namespace

double FieldCatalogue::decode(const FieldRow& row, int value) {
    // A level above 100 shows as 100, with the mute as the device has it.
    if (row.codec == F::MutedLevel) return Codec::mutedLevel(value);
    double shown = decoded(row.codec, value);
    if (row.minimum >= row.maximum) return shown;
    return std::clamp(shown, row.minimum, row.maximum);
}

double FieldCatalogue::labelValue(FieldCodec codec, double shown) {
    int p = static_cast<int>(position(shown));
    switch (codec) {
        case F::UserQ:
            return shown / 10 + 0.4;
        case F::Delay:
            return shown / 10;
        case F::Threshold:
            return shown - 30;
        case F::Attack:
            return Codec::attackMs(p);
        case F::Release:
            return Codec::releaseMultiple(p);
        case F::Ratio:
            return Codec::ratioTenths(p) / 10.0;
        case F::Samples:
        case F::Level:
            return std::trunc(shown);
        default:
            return shown;
    }
}

std::string FieldCatalogue::label(const FieldRow& row, double shown) {
    if (!row.format) return {};
    std::string format = row.format->get();
    if (row.suffix) format += row.suffix;
    return SliderScale::formatLabel(format, labelValue(row.codec, shown));
}
