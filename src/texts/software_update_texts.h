#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the software update worker.
namespace updatetext {
extern const TextTriple Tip;
extern const TextTriple UpdateQuestion;
extern const TextTriple DownloadProgress;

// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace updatetext
