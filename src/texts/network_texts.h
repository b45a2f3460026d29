#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the network transport.
namespace networktext {
// The client list took no more modules.
extern const TextTriple ClientListFull;

// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace networktext
