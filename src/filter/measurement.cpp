#include "filter/measurement.h"

#include <algorithm>
#include <cmath>

double Measurement::levelAt(double f) const {
    if (frequency.empty()) return 0;
    if (f <= frequency.front()) return level.front();
    if (f >= frequency.back()) return level.back();
    size_t i = size_t(std::upper_bound(frequency.begin(), frequency.end(), f) - frequency.begin());
    double t = std::log(f / frequency[i - 1]) / std::log(frequency[i] / frequency[i - 1]);
    return level[i - 1] + t * (level[i] - level[i - 1]);
}
