#include "daemon/parameter_rules.h"

#include <algorithm>

#include "binding/binding_table.h"
#include "binding/field_catalogue.h"
#include "binding/header_values.h"
#include "binding/parameter_index.h"
#include "link/mirror.h"

namespace {

// A muted level keeps its level and adds the mute's 500.
constexpr int kMuteOffset = 500;

// The header's values, which their owner encodes itself.
struct HeaderRange {
    int index;
    ParameterRules::Range range;
};
constexpr int kVolumeBase = 500;
constexpr HeaderRange kHeaderRanges[] = {
    {HeaderValues::kMusicVolume, {kVolumeBase, kVolumeBase + 100}},
    {HeaderValues::kMicVolume, {kVolumeBase, kVolumeBase + 100}},
    {HeaderValues::kEffectVolume, {kVolumeBase, kVolumeBase + 100}},
    {HeaderValues::kMicBVolume, {kVolumeBase, kVolumeBase + 100}},
};

bool hasRange(const FieldRow& row) {
    return row.minimum < row.maximum && row.codec != FieldCodec::Owner &&
           row.codec != FieldCodec::MutedLevel;
}

}  // namespace

bool ParameterRules::writable(int index) {
    if (index <= parameterIndex::Magic || index >= Mirror::kSize) return false;
    const auto& own = parameterIndex::DeviceState;
    return std::find(own.begin(), own.end(), index) == own.end();
}

ParameterRules::Range ParameterRules::range(int index) {
    for (const HeaderRange& h : kHeaderRanges)
        if (h.index == index) return h.range;
    BindingTable::Target target = BindingTable::targetOf(index);
    const FieldRow* row =
        target.valid() ? FieldCatalogue::find(target.page, target.field) : nullptr;
    if (row && row->codec == FieldCodec::MutedLevel)
        return {0, kMuteOffset + static_cast<int>(row->maximum)};
    if (!row || !hasRange(*row)) return {};
    int a = FieldCatalogue::encode(row->codec, row->minimum);
    int b = FieldCatalogue::encode(row->codec, row->maximum);
    return {std::max(0, std::min(a, b)), std::min(0xFFFF, std::max(a, b))};
}

std::string ParameterRules::refusal(int index, long value) {
    if (!Mirror::valid(index)) return "no parameter " + std::to_string(index);
    if (!writable(index)) return "parameter " + std::to_string(index) + " belongs to the device";
    if (index == HeaderValues::kInputSource &&
        HeaderValues::sourceItem(static_cast<int>(value)) < 0)
        return "no input source has the code " + std::to_string(value);
    Range r = range(index);
    if (value < r.low || value > r.high)
        return "parameter " + std::to_string(index) + " takes " + std::to_string(r.low) + " to " +
               std::to_string(r.high) + ", not " + std::to_string(value);
    return {};
}
