#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the dialog that picks the device ID reached through the relay server.
namespace deviceidtext {
extern const TextTriple WhereToFindId;
extern const TextTriple InputDeviceId;
extern const TextTriple DeviceIdEmpty;
extern const TextTriple RememberHistory;
extern const TextTriple Connect;
extern const TextTriple ClearRecord;

// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace deviceidtext
