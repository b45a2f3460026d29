#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "binding/binding_table.h"
#include "filter/eq_band.h"

class Mirror;
class ParameterBinding;

// The equaliser bands of the pages that have them, as whole bands rather
// than fields: how many a page has, which field holds which part, the bands
// in a mirror and the writes that give a page other bands.
class EqualiserBands {
public:
    enum Part { Type = 0, Frequency = 1, Q = 2, Gain = 3 };

    // 8 on the output pages, 15 on the music and microphone pages, 5 on the
    // echo and reverb pages, 0 elsewhere.
    static int bandCount(int page);
    // -1 when the page has no such band.
    static int field(int page, Part part, int band);
    // The page's index on the command line: its number or its English name,
    // any case. -1 when neither.
    static int pageOf(std::string_view name);
    static std::string pageName(int page);  // in the current language

    // The bands as the mirror holds them (the microphone page: MIC A).
    static std::vector<EqBand> read(int page, const Mirror& mirror);
    // The page's field values for the bands, band by band: type, frequency,
    // Q, gain. Bands beyond the page's count are ignored.
    static std::vector<std::pair<int, uint16_t>> fieldValues(int page,
                                                             const std::vector<EqBand>& bands);
    // The imported bands first; the page's other bands keep what they had
    // at 0 dB, so that the page sounds as the file says.
    static std::vector<EqBand> merged(const std::vector<EqBand>& current,
                                      const std::vector<EqBand>& imported);
    // Writes the bands through the binding (the device follows) and shows
    // them on the page when one is attached; on the microphone page to the
    // microphones given.
    static void write(int page, const std::vector<EqBand>& bands, ParameterBinding& binding,
                      BindingTable::Microphones microphones = {});
};
