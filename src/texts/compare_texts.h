#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the preset comparison: the names of what differs and the verdict.
namespace comparetext {
extern const TextTriple BandType;       // band number from 1
extern const TextTriple BandFrequency;  // band number
extern const TextTriple BandQ;          // band number
extern const TextTriple BandGain;       // band number
extern const TextTriple Field;          // field number
extern const TextTriple Parameter;      // parameter index
extern const TextTriple Header;         // the page with no name: the window's header
extern const TextTriple Equal;
extern const TextTriple Differ;        // count
extern const TextTriple TypeNames[3];  // high shelf, low shelf, peaking

std::span<const TextTriple* const> all();
}  // namespace comparetext
