#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the routing page beyond its fixed labels.
namespace routingtext {
extern const TextTriple ExportButton;
extern const TextTriple ExportDone;    // %s: the file's path
extern const TextTriple ExportFailed;  // %s: the file's path
// The parts of the status line.
extern const TextTriple OutputSelection;
extern const TextTriple DecoderMode;
extern const TextTriple DecodedLayout;
extern const TextTriple ExportTitle;  // the save dialog's title

// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace routingtext
