#include "filter/band_value_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "filter/frequency_table.h"
#include "filter/q_table.h"
#include "filter/typed_value.h"

namespace {

constexpr int kDigits[] = {1, 5, 4};

std::string printf1(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string cut(std::string text, size_t length) {
    if (text.size() < length) return text;
    text.resize(length);
    if (text.back() == '.') text.pop_back();
    return text;
}

}  // namespace

std::string BandValueText::text(int sub, double value, int digits) {
    if (sub < Gain || sub > Q) return {};
    if (digits < 0) digits = kDigits[sub];
    if (!std::isfinite(value)) value = 0;
    switch (sub) {
        case Gain: {
            char text[64];
            std::snprintf(text, sizeof text, "%0.*f", std::clamp(digits, 0, 6), value);
            return text;
        }
        case Frequency:
            return cut(printf1(value < 100 ? "%0.1f" : "%0.0f", value), size_t(digits));
        default:
            return cut(printf1("%f", value), size_t(digits));
    }
}

std::optional<double> BandValueText::parse(std::string_view text) {
    return TypedValue::number(text);
}

double BandValueText::quantise(int sub, double x, int step, const GainRange& gain) {
    if (std::isnan(x)) x = 0;
    switch (sub) {
        case Gain:
            return std::clamp(x + step * gain.step, gain.minimum, gain.maximum);
        case Frequency:
            return FrequencyTable::band().quantise(x, step);
        case Q:
            return QTable::table().quantise(x, step);
        default:
            return x;
    }
}

double BandValueText::quantise(int sub, double x, int step) {
    return quantise(sub, x, step, GainRange{});
}
