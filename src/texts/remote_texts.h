#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the window working through a running qx7d instead of on the device.
namespace remotetext {
extern const TextTriple NotReached;        // %s: the socket or URL tried
extern const TextTriple NoDevice;          // qx7d runs but holds no device
extern const TextTriple NotThroughDaemon;  // a function qx7d does not offer
extern const TextTriple Refused;           // %s: what qx7d said

// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace remotetext
