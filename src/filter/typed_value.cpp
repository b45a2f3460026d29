#include "filter/typed_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
    size_t start = text.find_first_not_of(" \t");
    if (start == std::string_view::npos) return {};
    size_t end = text.find_last_not_of(" \t");
    return text.substr(start, end - start + 1);
}

}  // namespace

std::optional<double> TypedValue::number(std::string_view text) {
    text = trimmed(text);
    std::string kept;
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-') kept += '-';
        ++i;
    }
    bool digits = false, point = false;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (isDigit(c)) {
            digits = true;
            kept += c;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
            kept += '.';
        } else {
            break;
        }
    }
    // What follows may be a unit, never more figures.
    if (!digits || std::any_of(text.begin() + long(i), text.end(), isDigit)) return std::nullopt;
    double x = 0;
    auto [end, error] = std::from_chars(kept.data(), kept.data() + kept.size(), x);
    // Too many digits still means a very large number, which a clamp takes.
    if (error == std::errc::result_out_of_range) return kept.front() == '-' ? -1e308 : 1e308;
    if (error != std::errc() || !std::isfinite(x)) return std::nullopt;
    return x;
}

std::optional<int> TypedValue::parse(std::string_view text, int divisor, int minimum, int maximum) {
    std::optional<double> x = number(text);
    if (!x) return std::nullopt;
    return scale(*x, divisor, minimum, maximum);
}

int TypedValue::scale(double x, int divisor, int minimum, int maximum) {
    double v = std::trunc(x * divisor);
    if (std::isnan(v)) v = 0;
    v = std::clamp(v, static_cast<double>(minimum),
                   static_cast<double>(std::max(minimum, maximum)));
    return static_cast<int>(v);
}
