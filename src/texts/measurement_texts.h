#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the measurement reader and of fitting the bands to a measurement.
// Every message about a line starts with its number (%d).
namespace measurementtext {
extern const TextTriple TooLarge;                // %d megabytes
extern const TextTriple CannotOpen;              // %s file
extern const TextTriple NotUnderstood;           // line
extern const TextTriple TooFewColumns;           // line
extern const TextTriple NotANumber;              // line, %s text
extern const TextTriple NotPositive;             // line, %s frequency
extern const TextTriple NotRising;               // line, %s frequency
extern const TextTriple TooFewPoints;            // %d points, %d needed
extern const TextTriple RangeUncovered;          // %s low, %s high
extern const TextTriple CrossoversLeaveNothing;  // %s low, %s high

// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace measurementtext
