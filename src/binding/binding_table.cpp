#include "binding/binding_table.h"

#include <algorithm>

#include "binding/field_catalogue.h"

namespace {

using Channel = FieldRow::Channel;
using Row = FieldRow;

// Page index -> output channel and its partner.
constexpr int kMainChannel[pageNumber::Outputs] = {0, 4, 5, 6, 2};
constexpr int kPartnerChannel[pageNumber::Outputs] = {1, -1, -1, 7, 3};

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

int indexOf(const Row& row, int page, int field, BindingTable::Microphones mics) {
    int channel = channelOf(page, row.channel, mics);
    if (channel < 0 || row.base < 0) return -1;
    int index = row.base + row.step * (field - row.first) + row.perChannel * channel;
    return Mirror::valid(index) ? index : -1;
}

std::array<BindingTable::Target, Mirror::kSize> buildInverse() {
    std::array<BindingTable::Target, Mirror::kSize> inverse{};
    for (const Row& row : FieldCatalogue::rows()) {
        for (int page = 0; page < BindingTable::kTargets; ++page) {
            if (!row.covers(page, row.first)) continue;
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
    return pageNumber::isOutput(page) ? kMainChannel[page] : -1;
}

int BindingTable::partnerChannel(int page) {
    return pageNumber::isOutput(page) ? kPartnerChannel[page] : -1;
}

std::vector<int> BindingTable::indicesOf(int page, int field, Microphones microphones) {
    std::vector<int> indices;
    for (const Row& row : FieldCatalogue::rows()) {
        if (!row.writes || !row.covers(page, field)) continue;
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
