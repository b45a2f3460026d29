#pragma once

#include <array>
#include <vector>

#include "binding/page_number.h"
#include "link/mirror.h"

// Which parameter indices each (page, field) writes, and for every index the
// (page, field) that shows it, by the rules of the field catalogue. The header
// is target kHeader with the index itself as its field number.
class BindingTable {
public:
    static constexpr int kHeader = pageNumber::Count;
    static constexpr int kTargets = kHeader + 1;

    // Which of the microphone page's "MICA" and "MICB" are on.
    struct Microphones {
        bool a = true;
        bool b = false;
    };

    // microphone: 0 for every page but the microphone page's per-microphone
    // entries, which are 1 (MIC A) or 2 (MIC B).
    struct Target {
        int page = -1;
        int field = -1;
        int microphone = 0;
        bool valid() const { return page >= 0; }
    };

    // Output channel of an output page and its right partner; -1 when none.
    static int mainChannel(int page);
    static int partnerChannel(int page);

    // Indices that a change of the field writes (empty: it writes nothing);
    // on the microphone page, those of every microphone that is on.
    static std::vector<int> indicesOf(int page, int field, Microphones microphones);
    static std::vector<int> indicesOf(int page, int field);  // MIC A alone on
    // The field that shows an index; invalid when it is shown nowhere.
    static Target targetOf(int index);
    // Whether the target shows its index while these microphones are on.
    static bool shows(const Target& target, Microphones microphones);
};
