#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the phone page that qx7d serves; the page fetches them by key.
namespace daemontext {
struct Entry {
    const char* key;
    const TextTriple* text;
};

extern const TextTriple Title;
extern const TextTriple Connected;
extern const TextTriple Searching;
extern const TextTriple Reading;
extern const TextTriple Stopped;
extern const TextTriple Offline;
extern const TextTriple NoToken;
extern const TextTriple Refused;
extern const TextTriple Music;
extern const TextTriple Mic;
extern const TextTriple Effect;
extern const TextTriple MicB;
extern const TextTriple Input;
extern const TextTriple Mode;
extern const TextTriple Recall;
extern const TextTriple Mute;
extern const TextTriple Unmute;
extern const TextTriple Language;
extern const TextTriple Unnamed;  // %d: the mode's number

// The page's texts by key (the input sources' names among them).
std::span<const Entry> entries();
// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace daemontext
