#pragma once

#include <cstdint>

// Ways in which the simulated device can misbehave; all off by default.
struct SimFaults {
    double dropReplies = 0;      // fraction of reply frames that never leave the device
    double corruptBytes = 0;     // chance of each reply byte being damaged
    uint32_t chunkSize = 0;      // replies leave in pieces of this many bytes (0: whole)
    uint32_t chunkDelayMs = 0;   // pause between two pieces
    uint32_t replyDelayMs = 0;   // every reply answers this late
    bool silent = false;         // hears everything, answers nothing
    bool absent = false;         // gone from the bus or the line
    uint16_t foreignPresence = 0;  // another controller's presence word...
    int foreignPer10 = 0;          // ...answered on this many of every ten reads of it
    uint16_t magic = 22356;        // what Hello answers and parameter 0 holds
    int ignoredCommand = -1;       // requests with this command code are heard but never answered
    bool stuckWrites = false;      // USB writes are taken but never complete
    bool startByte81 = false;      // replies begin with 0x81 instead of 0x80
};
