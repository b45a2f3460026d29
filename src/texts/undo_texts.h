#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of undo and redo and of the response graph's added menu items.
namespace undotext {
extern const TextTriple Undo;
extern const TextTriple Redo;
extern const TextTriple ClearedByDevice;  // a preset recall or a sent file
extern const TextTriple ClearedByLink;    // the values differ after a reconnection
extern const TextTriple OtherChannels;
extern const TextTriple SaveGraph;
extern const TextTriple SaveGraphFailed;  // %s: the file's path
extern const TextTriple ImportFilters;
extern const TextTriple ExportFilters;
extern const TextTriple ImportQuestion;  // %d filters, %s page
extern const TextTriple NothingMoved;
extern const TextTriple ExportDone;  // %d bands, %s file

// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace undotext
