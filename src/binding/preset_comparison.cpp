#include "binding/preset_comparison.h"

#include <algorithm>

#include "binding/binding_table.h"
#include "binding/equaliser_bands.h"
#include "binding/output_field_codec.h"
#include "filter/band_value_text.h"
#include "filter/filter_text_writer.h"
#include "link/preset_jobs.h"
#include "texts/compare_texts.h"

namespace {

using Codec = OutputFieldCodec;

struct Named {
    std::string page;
    std::string field;
    EqualiserBands::Part part = EqualiserBands::Type;
    bool band = false;
};

Named nameOf(int index) {
    BindingTable::Target t = BindingTable::targetOf(index);
    if (!t.valid()) return {"", formatText(comparetext::Parameter, index)};
    Named n;
    n.page = t.page == BindingTable::kHeader ? comparetext::Header.get()
                                             : EqualiserBands::pageName(t.page);
    if (n.page.empty()) n.page = "#" + std::to_string(t.page);
    if (t.microphone > 0) n.page += t.microphone == 1 ? " MICA" : " MICB";
    static const TextTriple* const kParts[] = {&comparetext::BandType, &comparetext::BandFrequency,
                                               &comparetext::BandQ, &comparetext::BandGain};
    for (int part = 0; part < 4; ++part)
        for (int j = 0; j < EqualiserBands::bandCount(t.page); ++j)
            if (EqualiserBands::field(t.page, EqualiserBands::Part(part), j) == t.field) {
                n.field = formatText(*kParts[part], j + 1);
                n.part = EqualiserBands::Part(part);
                n.band = true;
                return n;
            }
    n.field = formatText(comparetext::Field, t.field);
    return n;
}

// The minus sign as the window writes it.
std::string signedDb(double dB) {
    std::string text = FilterTextWriter::number(std::abs(dB));
    if (text.find('.') == std::string::npos) text += ".0";
    return (dB > 0 ? "+" : dB < 0 ? "\u2212" : "") + text + " dB";
}

std::string display(const Named& n, uint16_t value) {
    if (!n.band) return std::to_string(value);
    switch (n.part) {
        case EqualiserBands::Type:
            return comparetext::TypeNames[Codec::bandType(value) - 5].get();
        case EqualiserBands::Frequency:
            return BandValueText::text(BandValueText::Frequency, Codec::bandFrequency(value)) +
                   " Hz";
        case EqualiserBands::Q:
            return FilterTextWriter::number(Codec::q(value));
        default:
            return signedDb(Codec::gain(value));
    }
}

}  // namespace

std::string PresetComparison::Difference::line() const {
    return (page.empty() ? "" : page + " / ") + field + ": " + beforeText + " \u2192 " + afterText;
}

std::vector<PresetComparison::Difference> PresetComparison::compare(
    const std::vector<uint16_t>& a, const std::vector<uint16_t>& b) {
    std::vector<Difference> out;
    int count = static_cast<int>(std::min(a.size(), b.size()));
    for (int i = 0; i < count; ++i) {
        uint16_t before = a[size_t(i)], after = b[size_t(i)];
        if (before == after || !PresetJobs::takenFromFile(i)) continue;
        Named n = nameOf(i);
        out.push_back({i, n.page, n.field, before, after, display(n, before), display(n, after)});
    }
    return out;
}
