#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the routing page beyond its fixed labels.
namespace routingtext {
extern const TextTriple ExportButton;
extern const TextTriple ExportDone;    // %s: the export's name
extern const TextTriple ExportFailed;  // %s: the file's path

// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace routingtext
