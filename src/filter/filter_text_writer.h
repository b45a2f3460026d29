#pragma once

#include <string>
#include <vector>

#include "filter/eq_band.h"

// Writes bands as the filter text that room-measurement programs read: the
// usual header lines, then one "Filter N: ON ..." line per band (peaking as
// PK, shelves as LSC and HSC with their Q). What it writes reads back to the
// same bands.
class FilterTextWriter {
public:
    // notes: what the "Notes:" line says (the page's name); dated: the time
    // for the "Dated:" line, already as text.
    static std::string text(const std::vector<EqBand>& bands, const std::string& notes,
                            const std::string& dated);
    // Empty when written, else why not.
    static std::string writeFile(const std::string& path, const std::vector<EqBand>& bands,
                                 const std::string& notes);
    // A number as short as it can be written without losing a digit of a grid
    // frequency, a Q table entry or a gain step.
    static std::string number(double value);
};
