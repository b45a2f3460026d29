#include "filter/sorted_table.h"

#include <algorithm>
#include <cmath>

int SortedTable::firstNotBelow(double x) const {
    if (std::isnan(x)) return 0;
    auto it = std::lower_bound(m_entries.begin(), m_entries.end(), x);
    if (it == m_entries.end()) return -1;
    return static_cast<int>(it - m_entries.begin());
}

int SortedTable::indexOf(double x) const {
    int i = firstNotBelow(x);
    return i < 0 ? size() - 1 : i;
}

int SortedTable::steppedIndex(double x, int step) const {
    return std::clamp(indexOf(x) + step, 0, size() - 1);
}
