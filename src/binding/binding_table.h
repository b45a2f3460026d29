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
    static constexpr int kMicPage = 6;
    static constexpr int kSystemPage = 9;
    static constexpr int kHeader = 10;
    static constexpr int kTargets = 11;

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
