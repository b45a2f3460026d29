#include "binding/page_curve_reader.h"

#include <algorithm>

#include "binding/binding_table.h"
#include "binding/equaliser_bands.h"
#include "binding/output_field_codec.h"
#include "filter/frequency_table.h"
#include "link/mirror.h"

namespace {

using Codec = OutputFieldCodec;

// Fields of the crossovers and of the equaliser switch; the slider positions
// the equaliser pages' crossover sliders have.
struct CurveFields {
    int eqSwitch;
    bool switchMeansBypass;
    int highPass, highPassType, lowPass, lowPassType;
    int highPassPositions, lowPassPositions;
    double highPassMaximum;
};

constexpr CurveFields kOutput{40, false, 58, 59, 60, 61, 0, 0, 20600};
constexpr CurveFields kInput{60, true, 78, 79, 80, 81, 143, 64, 303};
constexpr CurveFields kEffect{40, true, 41, 43, 42, 44, 205, 64, 1000};

const CurveFields* fieldsOf(int page) {
    if (page < 0 || page >= 9) return nullptr;
    return pageNumber::isOutput(page) ? &kOutput : page < pageNumber::Echo ? &kInput : &kEffect;
}

int valueOf(int page, int field, const Mirror& mirror) {
    std::vector<int> indices = BindingTable::indicesOf(page, field);
    return indices.empty() ? 0 : mirror.value(indices.front());
}

// The output page's selectors list six items; a code beyond them shows as the first.
int outputCrossover(int code, bool lowPass) {
    int position = Codec::crossoverPosition(code);
    return Codec::crossoverCode(position < Codec::kSlopeItems ? position : 0, lowPass);
}

}  // namespace

PageCurve PageCurveReader::read(int page, const Mirror& mirror) {
    PageCurve curve;
    const CurveFields* f = fieldsOf(page);
    if (!f) return curve;
    curve.bands = EqualiserBands::read(page, mirror);
    auto value = [&](int field) { return valueOf(page, field, mirror); };
    curve.eqEnabled = f->switchMeansBypass ? value(f->eqSwitch) < 1 : value(f->eqSwitch) >= 1;
    double high = Codec::crossoverFrequency(value(f->highPass));
    double low = Codec::crossoverFrequency(value(f->lowPass));
    if (f == &kOutput) {
        curve.highPassType = outputCrossover(value(f->highPassType), false);
        curve.lowPassType = outputCrossover(value(f->lowPassType), true);
        curve.highPassFrequency = high;
        curve.lowPassFrequency = low;
        curve.limits = {19.0, 20600, 19.0, 20600, 19.7, 20600};
        return curve;
    }
    // The equaliser pages' sliders cover a part of the grid only.
    curve.highPassType = Codec::crossoverCode(Codec::slopePosition(value(f->highPassType)), false);
    curve.lowPassType = Codec::crossoverCode(Codec::slopePosition(value(f->lowPassType)), true);
    curve.highPassFrequency = FrequencyTable::gridFrequency(
        std::clamp(FrequencyTable::gridIndex(high), 0, f->highPassPositions));
    curve.lowPassFrequency = FrequencyTable::upperGridFrequency(
        std::clamp(FrequencyTable::upperGridIndex(low), 0, f->lowPassPositions));
    curve.limits = {19.0, f->highPassMaximum, 5990, 20600, 19.7, 20600};
    return curve;
}
