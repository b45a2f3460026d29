#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the preset files on the system page: the questions before a file
// replaces the device's values or goes away, and why a file cannot be read.
namespace presetfiletext {
extern const TextTriple SendQuestion;    // %s: the file
extern const TextTriple DeleteQuestion;  // %s: the file
extern const TextTriple FileDamaged;     // %s: the file, %s: one of the reasons below
extern const TextTriple TooShort;
extern const TextTriple ForeignBytes;
extern const TextTriple Truncated;
extern const TextTriple ChecksumMismatch;
extern const TextTriple TooLarge;

std::span<const TextTriple* const> all();
}  // namespace presetfiletext
