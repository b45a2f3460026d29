#include "filter/typed_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

int TypedValue::parse(std::string_view text, int divisor, int minimum, int maximum) {
    std::string kept;
    for (char c : text)
        if ((c >= '0' && c <= '9') || c == '.' || c == '-') kept += c;
    double x = 0;
    auto [end, error] = std::from_chars(kept.data(), kept.data() + kept.size(), x);
    // Too many digits still means a very large number, which the clamp takes.
    if (error == std::errc::result_out_of_range)
        x = kept.front() == '-' ? -1e308 : 1e308;
    else if (error != std::errc())
        x = 0;
    return scale(x, divisor, minimum, maximum);
}

int TypedValue::scale(double x, int divisor, int minimum, int maximum) {
    double v = std::trunc(x * divisor);
    if (std::isnan(v)) v = 0;
    v = std::clamp(v, static_cast<double>(minimum),
                   static_cast<double>(std::max(minimum, maximum)));
    return static_cast<int>(v);
}
