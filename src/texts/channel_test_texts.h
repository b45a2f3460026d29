#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the channel test dialog.
namespace channeltesttext {
extern const TextTriple StartAll;
extern const TextTriple StopAll;
extern const TextTriple OrderAll;

// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace channeltesttext
