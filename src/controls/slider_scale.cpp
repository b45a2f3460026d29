#include "controls/slider_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

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

namespace {

// Where the single conversion of a format is, and what it takes.
struct Conversion {
    size_t start = 0;
    size_t end = 0;
    char kind = 0;  // 'i' integer, 'f' floating, 0 none usable
    int count = 0;
};

Conversion findConversion(const std::string& format) {
    Conversion c;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        if (i + 1 < format.size() && format[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t j = i + 1;
        while (j < format.size() && std::strchr("-+ #0123456789.", format[j])) ++j;
        ++c.count;
        if (j >= format.size()) return {0, 0, 0, 99};
        char type = format[j];
        c.start = i;
        c.end = j + 1;
        c.kind = std::strchr("diuxX", type) ? 'i' : std::strchr("fFeEgG", type) ? 'f' : 0;
        i = j;
    }
    return c;
}

}  // namespace

std::string SliderScale::formatLabel(const std::string& format, double value) {
    Conversion c = findConversion(format);
    if (c.count != 1 || c.kind == 0 || std::isnan(value)) return format;
    char text[256];
    if (c.kind == 'i') {
        long whole = static_cast<long>(std::clamp(std::trunc(value), -1e15, 1e15));
        std::string spec = format.substr(c.start, c.end - c.start - 1) + "l" + format[c.end - 1];
        std::string pattern = format.substr(0, c.start) + spec + format.substr(c.end);
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
