#pragma once

#include <array>
#include <vector>

#include "link/mirror.h"

// Which parameter index each (page, field) writes, and for every index the
// (page, field) that shows it. Pages 0 to 9 as the window numbers them; the
// header is target kHeader with the index itself as its field number. The
// rows are data, so that further pages add rows and nothing else.
class BindingTable {
public:
    static constexpr int kPages = 10;
    static constexpr int kOutputPages = 5;
    static constexpr int kSystemPage = 9;
    static constexpr int kHeader = 10;
    static constexpr int kTargets = 11;

    struct Target {
        int page = -1;
        int field = -1;
        bool valid() const { return page >= 0; }
    };

    // Output channel of an output page and its right partner; -1 when none.
    static int mainChannel(int page);
    static int partnerChannel(int page);

    // Indices that a change of the field writes (empty: it writes nothing).
    static std::vector<int> indicesOf(int page, int field);
    // The field that shows an index; invalid when it is shown nowhere.
    static Target targetOf(int index);
};
