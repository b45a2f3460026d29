#include "binding/equaliser_bands.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "binding/binding_table.h"
#include "binding/output_field_codec.h"
#include "binding/parameter_binding.h"
#include "filter/frequency_table.h"
#include "link/mirror.h"
#include "texts/ui_texts.h"

namespace {

struct PageBands {
    int bands;
    int firstField[4];  // type, frequency, Q, gain
};

constexpr PageBands kOutput{8, {0, 10, 20, 30}};
constexpr PageBands kInput{15, {0, 15, 30, 45}};
constexpr PageBands kEffect{5, {0, 10, 20, 30}};

constexpr std::array<const PageBands*, pageNumber::WithBands> kPages = {
    &kOutput, &kOutput, &kOutput, &kOutput, &kOutput, &kInput, &kInput, &kEffect, &kEffect};

// In the window's order of its page buttons.
const TextTriple* const kNames[] = {
    &uitext::PageMain,         &uitext::PageCenter,   &uitext::PageSub,
    &uitext::PageBackSurround, &uitext::PageSurround, &uitext::PageMusic,
    &uitext::PageMic,          &uitext::PageEcho,     &uitext::PageReverb};

const PageBands* bandsOf(int page) {
    return page >= 0 && page < static_cast<int>(kPages.size()) ? kPages[size_t(page)] : nullptr;
}

using Codec = OutputFieldCodec;

}  // namespace

int EqualiserBands::bandCount(int page) {
    const PageBands* p = bandsOf(page);
    return p ? p->bands : 0;
}

int EqualiserBands::field(int page, Part part, int band) {
    const PageBands* p = bandsOf(page);
    if (!p || band < 0 || band >= p->bands) return -1;
    return p->firstField[part] + band;
}

int EqualiserBands::pageOf(std::string_view name) {
    int number = -1;
    auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (ec == std::errc() && end == name.data() + name.size()) return bandsOf(number) ? number : -1;
    for (size_t k = 0; k < std::size(kNames); ++k) {
        std::string_view english = (*kNames[k])[2];
        if (english.size() == name.size() &&
            std::equal(name.begin(), name.end(), english.begin(),
                       [](char a, char b) { return std::tolower(a) == std::tolower(b); }))
            return static_cast<int>(k);
    }
    return -1;
}

std::string EqualiserBands::pageName(int page) {
    return bandsOf(page) ? kNames[size_t(page)]->get() : std::string();
}

std::vector<EqBand> EqualiserBands::read(int page, const Mirror& mirror) {
    std::vector<EqBand> out;
    auto value = [&](Part part, int j) {
        std::vector<int> indices = BindingTable::indicesOf(page, field(page, part, j));
        return indices.empty() ? 0 : int(mirror.value(indices.front()));
    };
    for (int j = 0; j < bandCount(page); ++j)
        out.push_back({Codec::bandType(value(Type, j)), Codec::bandFrequency(value(Frequency, j)),
                       Codec::q(value(Q, j)), Codec::gain(value(Gain, j))});
    return out;
}

std::vector<std::pair<int, uint16_t>> EqualiserBands::fieldValues(
    int page, const std::vector<EqBand>& bands) {
    std::vector<std::pair<int, uint16_t>> out;
    int count = std::min(bandCount(page), static_cast<int>(bands.size()));
    for (int j = 0; j < count; ++j) {
        const EqBand& b = bands[size_t(j)];
        out.emplace_back(field(page, Type, j), Codec::bandType(b.type));
        out.emplace_back(field(page, Frequency, j), FrequencyTable::codeOf(b.frequency));
        out.emplace_back(field(page, Q, j), Codec::qCode(b.q));
        out.emplace_back(field(page, Gain, j), Codec::gainCode(b.gain));
    }
    return out;
}

std::vector<EqBand> EqualiserBands::merged(const std::vector<EqBand>& current,
                                           const std::vector<EqBand>& imported) {
    std::vector<EqBand> out = current;
    for (size_t j = 0; j < out.size(); ++j) {
        if (j < imported.size())
            out[j] = imported[j];
        else
            out[j].gain = 0;
    }
    return out;
}

void EqualiserBands::write(int page, const std::vector<EqBand>& bands, ParameterBinding& binding,
                           BindingTable::Microphones microphones) {
    for (auto [f, value] : fieldValues(page, bands))
        for (int index : BindingTable::indicesOf(page, f, microphones)) {
            binding.writeParameter(index, value);
            binding.indexRefresh(index);
        }
}
