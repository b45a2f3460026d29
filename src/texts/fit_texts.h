#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of fitting a page's bands to a measurement in the window.
namespace fittext {
extern const TextTriple MenuItem;
extern const TextTriple Title;
extern const TextTriple Measurement;
extern const TextTriple Browse;
extern const TextTriple Target;
extern const TextTriple Flat;
extern const TextTriple House;
extern const TextTriple TargetFile;
extern const TextTriple Range;
extern const TextTriple FullRange;
extern const TextTriple BassRange;
extern const TextTriple Smoothing;
extern const TextTriple NoSmoothing;
extern const TextTriple OctaveFraction;  // %d: 1/%d octave
extern const TextTriple MaxBoost;
extern const TextTriple Fit;
extern const TextTriple Apply;
extern const TextTriple Cancel;
extern const TextTriple MeasuredCurve;
extern const TextTriple TargetCurve;
extern const TextTriple Predicted;
extern const TextTriple Report;       // rms before, after, max before, after (%.2f each)
extern const TextTriple FittedRange;  // %s low, %s high
extern const TextTriple ChooseFile;

// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace fittext
