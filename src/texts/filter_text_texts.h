#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the filter text import and export. Every message about a line
// starts with its number (%d) and, where there is one, the filter's (%d).
namespace filtertext {
extern const TextTriple TooLarge;           // %d kilobytes
extern const TextTriple CannotOpen;         // %s file
extern const TextTriple NotUnderstood;      // line
extern const TextTriple MoreNotUnderstood;  // count
extern const TextTriple AndMore;            // count, after the first of a kind
extern const TextTriple FilterOff;          // line, filter
extern const TextTriple FilterUnused;       // line, filter
extern const TextTriple TypeNotTaken;       // line, filter, %s type
extern const TextTriple BeyondBands;        // line, filter, bands
extern const TextTriple ValueMissing;       // line, filter, %s key
extern const TextTriple NotANumber;         // line, filter, %s text
extern const TextTriple UnknownWord;        // line, filter, %s word
extern const TextTriple DecimalComma;       // line, filter
extern const TextTriple UnitMissing;        // line, filter, %s key, %s unit
extern const TextTriple FrequencyOutside;   // line, filter, %s Hz
extern const TextTriple QNotPositive;       // line, filter, %s Q
extern const TextTriple FrequencyMoved;     // line, filter, %s from, %s to, %s by
extern const TextTriple QMoved;             // line, filter, %s from, %s to, %s by
extern const TextTriple GainMoved;          // line, filter, %s from, %s to, %s by
extern const TextTriple NoFilters;
extern const TextTriple BandsCleared;  // first band, last band (from 1)

// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace filtertext
