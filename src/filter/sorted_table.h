#pragma once

#include <cstddef>
#include <span>

// An ascending table of values that other values snap to: the band frequencies,
// the Q values. Not-a-number input counts as below every entry.
class SortedTable {
public:
    constexpr SortedTable(std::span<const double> entries) : m_entries(entries) {}

    int size() const { return static_cast<int>(m_entries.size()); }
    double operator[](int i) const { return m_entries[static_cast<size_t>(i)]; }
    double first() const { return m_entries.front(); }
    double last() const { return m_entries.back(); }

    // First index whose entry is not below x, or -1 when x is above every entry.
    int firstNotBelow(double x) const;
    // The index x snaps to: 0 below the first entry, the last index above the
    // last one, otherwise the first entry not below x.
    int indexOf(double x) const;
    // indexOf(x) moved by step entries, kept inside the table.
    int steppedIndex(double x, int step) const;
    double quantise(double x, int step = 0) const { return (*this)[steppedIndex(x, step)]; }

private:
    std::span<const double> m_entries;
};
