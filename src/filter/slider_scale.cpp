#include "filter/slider_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "texts/printf_format.h"

double SliderScale::clamp(double x) const {
    if (std::isnan(x)) return minimum;
    return std::max(std::min(x, maximum), minimum);
}

double SliderScale::quantise(double x) const {
    if (std::isnan(x)) return minimum;
    double q = x >= threshold ? std::trunc(x + 0.5) : std::trunc((x + 0.05) / 0.1) * fineStep;
    return clamp(q);
}

double SliderScale::stepUp(double value) const {
    return quantise(value >= threshold ? value + 1 : value + 0.1);
}

double SliderScale::stepDown(double value) const {
    return quantise(value > threshold ? value - 1 : value - 0.1);
}

double SliderScale::position(double value, double trackStart, double trackEnd) const {
    double span = maximum - minimum;
    if (!(span != 0)) return trackStart;
    return trackStart + (trackEnd - trackStart) * (clamp(value) - minimum) / span;
}

double SliderScale::valueAt(double x, double trackStart, double trackEnd) const {
    double length = trackEnd - trackStart;
    if (!(length != 0)) return quantise(minimum);
    return quantise(minimum + (maximum - minimum) * (x - trackStart) / length);
}

std::string SliderScale::formatLabel(const std::string& format, double value) {
    std::vector<PrintfFormat::Conversion> conversions = PrintfFormat::conversions(format);
    if (conversions.size() != 1 || std::isnan(value)) return format;
    const PrintfFormat::Conversion& c = conversions.front();
    bool integer = c.type != 0 && std::strchr("diuxX", c.type);
    bool floating = c.type != 0 && std::strchr("fFeEgG", c.type);
    if (!integer && !floating) return format;
    char text[256];
    if (integer) {
        // The value is a double; an integer conversion gets it as a long.
        long whole = static_cast<long>(std::clamp(std::trunc(value), -1e15, 1e15));
        std::string conversion = format.substr(c.start, c.end - c.start - 1) + "l" + c.type;
        std::string pattern = format.substr(0, c.start) + conversion + format.substr(c.end);
        std::snprintf(text, sizeof text, pattern.c_str(), whole);
    } else {
        std::snprintf(text, sizeof text, format.c_str(), value);
    }
    return text;
}

std::pair<std::string, std::string> SliderScale::splitLabel(const std::string& text) {
    size_t colon = text.find(':');
    if (colon == std::string::npos) return {text, {}};
    return {text.substr(0, colon + 1), text.substr(colon + 1)};
}
