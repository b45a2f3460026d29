#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts drawn on the frequency-response graph.
namespace graphtext {
extern const TextTriple Copy;
extern const TextTriple Paste;

std::span<const TextTriple* const> all();
}  // namespace graphtext
