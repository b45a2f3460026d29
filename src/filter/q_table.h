#pragma once

#include "filter/sorted_table.h"

// The 101 quality factors a band can take, 0.4 ... 128.
class QTable {
public:
    static constexpr int kSize = 101;
    static constexpr int kLast = kSize - 1;
    static constexpr double kMinimum = 0.4;
    static constexpr double kMaximum = 128.0;

    static SortedTable table();
    static double entry(int index);  // index kept inside the table
    // The first entry not below q once q is inside the table's range.
    static double snap(double q);
};
