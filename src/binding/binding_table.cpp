#include "binding/binding_table.h"

#include <algorithm>

namespace {

enum class Channel { None, Main, Partner, MicA, MicB };

// Pages a row applies to, as a bit per page index.
constexpr unsigned bit(int page) {
    return 1u << page;
}
constexpr unsigned kAllOutputs = 0x1F;
constexpr unsigned kPairPages = bit(0) | bit(3) | bit(4);
constexpr unsigned kSinglePages = bit(1) | bit(2);
constexpr unsigned kSubwoofer = bit(2);
constexpr unsigned kMusic = bit(5);
constexpr unsigned kMic = bit(BindingTable::kMicPage);
constexpr unsigned kEcho = bit(7);
constexpr unsigned kReverb = bit(8);
constexpr unsigned kSystem = bit(BindingTable::kSystemPage);
constexpr unsigned kHeaderBit = bit(BindingTable::kHeader);

// Fields first ... first + count - 1 of the pages write base + step * k +
// perChannel * channel. Show-only rows are found by the index refresh but
// written by their owner itself.
struct Row {
    unsigned pages;
    int first;
    int count;
    int base;
    int step;
    int perChannel;
    Channel channel;
    bool writes = true;
};

// clang-format off
constexpr Row kRows[] = {
    // Output pages: eight bands, then the channel's single values.
    {kAllOutputs, 0, 8, 73, 4, 68, Channel::Main},
    {kAllOutputs, 10, 8, 74, 4, 68, Channel::Main},
    {kAllOutputs, 20, 8, 76, 4, 68, Channel::Main},
    {kAllOutputs, 30, 8, 75, 4, 68, Channel::Main},
    {kAllOutputs, 40, 1, 17, 0, 1, Channel::Main},
    {kPairPages, 41, 1, 1, 0, 1, Channel::Main},
    {kSinglePages, 42, 1, 1, 0, 1, Channel::Main},
    {kPairPages, 43, 1, 1, 0, 1, Channel::Partner},
    {kAllOutputs, 44, 1, 9, 0, 1, Channel::Main},
    {kAllOutputs, 45, 1, 1513, 0, 12, Channel::Main},
    {kAllOutputs, 46, 1, 1514, 0, 12, Channel::Main},
    {kAllOutputs, 47, 1, 1516, 0, 12, Channel::Main},
    {kSubwoofer, 48, 1, 68, 0, 68, Channel::Main},
    {kSubwoofer, 49, 1, 72, 0, 68, Channel::Main},
    {kPairPages, 51, 1, 25, 0, 1, Channel::Main},
    {kSinglePages, 52, 1, 25, 0, 1, Channel::Main},
    {kAllOutputs, 53, 1, 36, 0, 4, Channel::Main},
    {kAllOutputs, 54, 1, 34, 0, 4, Channel::Main},
    {kAllOutputs, 55, 1, 35, 0, 4, Channel::Main},
    {kAllOutputs, 56, 1, 33, 0, 4, Channel::Main},
    {kPairPages, 57, 1, 25, 0, 1, Channel::Partner},
    {kAllOutputs, 58, 1, 66, 0, 68, Channel::Main},
    {kAllOutputs, 59, 1, 65, 0, 68, Channel::Main},
    {kAllOutputs, 60, 1, 70, 0, 68, Channel::Main},
    {kAllOutputs, 61, 1, 69, 0, 68, Channel::Main},
    // Music input page.
    {kMusic, 0, 15, 625, 4, 0, Channel::None},
    {kMusic, 15, 15, 626, 4, 0, Channel::None},
    {kMusic, 30, 15, 628, 4, 0, Channel::None},
    {kMusic, 45, 15, 627, 4, 0, Channel::None},
    {kMusic, 60, 1, 609, 0, 0, Channel::None},
    {kMusic, 78, 1, 618, 0, 0, Channel::None},
    {kMusic, 79, 1, 617, 0, 0, Channel::None},
    {kMusic, 80, 1, 622, 0, 0, Channel::None},
    {kMusic, 81, 1, 621, 0, 0, Channel::None},
    // Microphone page: the music page's fields, per microphone.
    {kMic, 0, 15, 1275, 4, 0, Channel::MicA},
    {kMic, 15, 15, 1276, 4, 0, Channel::MicA},
    {kMic, 30, 15, 1278, 4, 0, Channel::MicA},
    {kMic, 45, 15, 1277, 4, 0, Channel::MicA},
    {kMic, 60, 1, 1257, 0, 0, Channel::MicA},
    {kMic, 73, 1, 1262, 0, 0, Channel::MicA},
    {kMic, 74, 1, 1260, 0, 0, Channel::MicA},
    {kMic, 75, 1, 1261, 0, 0, Channel::MicA},
    {kMic, 76, 1, 1259, 0, 0, Channel::MicA},
    {kMic, 78, 1, 1268, 0, 0, Channel::MicA},
    {kMic, 79, 1, 1267, 0, 0, Channel::MicA},
    {kMic, 80, 1, 1272, 0, 0, Channel::MicA},
    {kMic, 81, 1, 1271, 0, 0, Channel::MicA},
    {kMic, 0, 15, 1355, 4, 0, Channel::MicB},
    {kMic, 15, 15, 1356, 4, 0, Channel::MicB},
    {kMic, 30, 15, 1358, 4, 0, Channel::MicB},
    {kMic, 45, 15, 1357, 4, 0, Channel::MicB},
    {kMic, 60, 1, 1258, 0, 0, Channel::MicB},
    {kMic, 73, 1, 1266, 0, 0, Channel::MicB},
    {kMic, 74, 1, 1264, 0, 0, Channel::MicB},
    {kMic, 75, 1, 1265, 0, 0, Channel::MicB},
    {kMic, 76, 1, 1263, 0, 0, Channel::MicB},
    {kMic, 78, 1, 1348, 0, 0, Channel::MicB},
    {kMic, 79, 1, 1347, 0, 0, Channel::MicB},
    {kMic, 80, 1, 1352, 0, 0, Channel::MicB},
    {kMic, 81, 1, 1351, 0, 0, Channel::MicB},
    {kMic, 82, 1, 1437, 0, 0, Channel::None},
    // Echo and reverb pages: five bands, then their own values.
    {kEcho, 0, 5, 1448, 4, 0, Channel::None},
    {kEcho, 10, 5, 1449, 4, 0, Channel::None},
    {kEcho, 20, 5, 1451, 4, 0, Channel::None},
    {kEcho, 30, 5, 1450, 4, 0, Channel::None},
    {kEcho, 40, 1, 1438, 0, 0, Channel::None},
    {kEcho, 41, 1, 1441, 0, 0, Channel::None},
    {kEcho, 42, 1, 1445, 0, 0, Channel::None},
    {kEcho, 43, 1, 1440, 0, 0, Channel::None},
    {kEcho, 44, 1, 1444, 0, 0, Channel::None},
    {kEcho, 45, 1, 1430, 0, 0, Channel::None},
    {kEcho, 46, 1, 1429, 0, 0, Channel::None},
    {kEcho, 47, 1, 1428, 0, 0, Channel::None},
    {kEcho, 48, 1, 1427, 0, 0, Channel::None},
    {kEcho, 49, 1, 1431, 0, 0, Channel::None},
    {kEcho, 50, 1, 1432, 0, 0, Channel::None},
    {kReverb, 0, 5, 1480, 4, 0, Channel::None},
    {kReverb, 10, 5, 1481, 4, 0, Channel::None},
    {kReverb, 20, 5, 1483, 4, 0, Channel::None},
    {kReverb, 30, 5, 1482, 4, 0, Channel::None},
    {kReverb, 40, 1, 1439, 0, 0, Channel::None},
    {kReverb, 41, 1, 1473, 0, 0, Channel::None},
    {kReverb, 42, 1, 1477, 0, 0, Channel::None},
    {kReverb, 43, 1, 1472, 0, 0, Channel::None},
    {kReverb, 44, 1, 1476, 0, 0, Channel::None},
    {kReverb, 45, 1, 1434, 0, 0, Channel::None},
    {kReverb, 46, 1, 1435, 0, 0, Channel::None},
    {kReverb, 54, 1, 1433, 0, 0, Channel::None},
    {kReverb, 55, 1, 1436, 0, 0, Channel::None},
    // The system page's items, which it writes itself.
    {kSystem, 0, 1, 1616, 0, 0, Channel::None, false},
    {kSystem, 1, 1, 1615, 0, 0, Channel::None, false},
    {kSystem, 2, 1, 1612, 0, 0, Channel::None, false},
    {kSystem, 3, 1, 1611, 0, 0, Channel::None, false},
    {kSystem, 4, 1, 1614, 0, 0, Channel::None, false},
    {kSystem, 5, 1, 1613, 0, 0, Channel::None, false},
    {kSystem, 6, 1, 1618, 0, 0, Channel::None, false},
    {kSystem, 7, 1, 1617, 0, 0, Channel::None, false},
    {kSystem, 8, 1, 1633, 0, 0, Channel::None, false},
    {kSystem, 9, 1, 1631, 0, 0, Channel::None, false},
    {kSystem, 12, 1, 1634, 0, 0, Channel::None, false},
    {kSystem, 13, 1, 1632, 0, 0, Channel::None, false},
    {kSystem, 14, 1, 1624, 0, 0, Channel::None, false},
    {kSystem, 16, 1, 1627, 0, 0, Channel::None, false},
    {kSystem, 17, 1, 1635, 0, 0, Channel::None, false},
    {kSystem, 18, 1, 1628, 0, 0, Channel::None, false},
    {kSystem, 19, 1, 1629, 0, 0, Channel::None, false},
    {kSystem, 21, 1, 1644, 0, 0, Channel::None, false},
    // The header shows these indices under their own numbers and writes them itself.
    {kHeaderBit, 1602, 4, 1602, 1, 0, Channel::None, false},
    {kHeaderBit, 1620, 2, 1620, 1, 0, Channel::None, false},
    {kHeaderBit, 1637, 1, 1637, 0, 0, Channel::None, false},
};
// clang-format on

// Page index -> output channel and its partner.
constexpr int kMainChannel[BindingTable::kOutputPages] = {0, 4, 5, 6, 2};
constexpr int kPartnerChannel[BindingTable::kOutputPages] = {1, -1, -1, 7, 3};

// -1: the row writes nothing for this page, or for the microphones that are off.
int channelOf(int page, Channel channel, BindingTable::Microphones mics) {
    switch (channel) {
        case Channel::Main:
            return BindingTable::mainChannel(page);
        case Channel::Partner:
            return BindingTable::partnerChannel(page);
        case Channel::MicA:
            return mics.a ? 0 : -1;
        case Channel::MicB:
            return mics.b ? 0 : -1;
        case Channel::None:
            return 0;
    }
    return -1;
}

int microphoneOf(Channel channel) {
    if (channel == Channel::MicA) return 1;
    return channel == Channel::MicB ? 2 : 0;
}

constexpr BindingTable::Microphones kBoth{true, true};

bool covers(const Row& row, int page, int field) {
    return page >= 0 && page < BindingTable::kTargets && (row.pages & bit(page)) != 0 &&
           field >= row.first && field < row.first + row.count;
}

int indexOf(const Row& row, int page, int field, BindingTable::Microphones mics) {
    int channel = channelOf(page, row.channel, mics);
    if (channel < 0) return -1;
    int index = row.base + row.step * (field - row.first) + row.perChannel * channel;
    return Mirror::valid(index) ? index : -1;
}

std::array<BindingTable::Target, Mirror::kSize> buildInverse() {
    std::array<BindingTable::Target, Mirror::kSize> inverse{};
    for (const Row& row : kRows) {
        for (int page = 0; page < BindingTable::kTargets; ++page) {
            if ((row.pages & bit(page)) == 0) continue;
            for (int field = row.first; field < row.first + row.count; ++field) {
                int index = indexOf(row, page, field, kBoth);
                if (index >= 0)
                    inverse[static_cast<size_t>(index)] = {page, field, microphoneOf(row.channel)};
            }
        }
    }
    return inverse;
}

}  // namespace

int BindingTable::mainChannel(int page) {
    return page >= 0 && page < kOutputPages ? kMainChannel[page] : -1;
}

int BindingTable::partnerChannel(int page) {
    return page >= 0 && page < kOutputPages ? kPartnerChannel[page] : -1;
}

std::vector<int> BindingTable::indicesOf(int page, int field, Microphones microphones) {
    std::vector<int> indices;
    for (const Row& row : kRows) {
        if (!row.writes || !covers(row, page, field)) continue;
        int index = indexOf(row, page, field, microphones);
        if (index >= 0) indices.push_back(index);
    }
    return indices;
}

std::vector<int> BindingTable::indicesOf(int page, int field) {
    return indicesOf(page, field, Microphones{});
}

BindingTable::Target BindingTable::targetOf(int index) {
    static const auto inverse = buildInverse();
    if (!Mirror::valid(index)) return {};
    return inverse[static_cast<size_t>(index)];
}

// The equaliser shows one block: MIC B's whenever it is on; the other values
// show for every microphone that is on.
bool BindingTable::shows(const Target& target, Microphones microphones) {
    constexpr int kFirstOwnField = 60;
    switch (target.microphone) {
        case 1:
            return microphones.a && (target.field >= kFirstOwnField || !microphones.b);
        case 2:
            return microphones.b;
        default:
            return target.valid();
    }
}
