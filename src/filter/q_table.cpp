#include "filter/q_table.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr std::array<double, QTable::kSize> kQ = {
    0.4,  0.42, 0.45, 0.47, 0.5,  0.53, 0.56, 0.59, 0.63, 0.67, 0.71, 0.75, 0.79, 0.84, 0.89,
    0.94, 1.0,  1.06, 1.12, 1.19, 1.26, 1.3,  1.4,  1.5,  1.6,  1.7,  1.8,  1.9,  2.0,  2.1,
    2.2,  2.4,  2.5,  2.7,  2.8,  3.0,  3.2,  3.4,  3.6,  3.8,  4.0,  4.2,  4.5,  4.8,  5.0,
    5.3,  5.7,  6.0,  6.3,  6.7,  7.1,  7.6,  8.0,  8.5,  9.0,  9.5,  10.1, 10.7, 11.3, 12.0,
    12.7, 13.5, 14,   15,   16,   17,   18,   19,   20,   21,   23,   24,   25,   27,   29,
    30,   32,   34,   36,   38,   40,   43,   45,   48,   51,   54,   57,   60,   64,   68,
    72,   76,   81,   85,   91,   96,   102,  108,  114,  121,  128,
};

static_assert(kQ.front() == QTable::kMinimum && kQ.back() == QTable::kMaximum);

}  // namespace

SortedTable QTable::table() {
    return SortedTable(kQ);
}

double QTable::entry(int index) {
    return kQ[static_cast<size_t>(std::clamp(index, 0, kLast))];
}

double QTable::snap(double q) {
    if (std::isnan(q)) return kMinimum;
    return table().quantise(std::clamp(q, kMinimum, kMaximum));
}
