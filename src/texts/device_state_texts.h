#pragma once

#include <span>

#include "texts/text_triple.h"

// Texts of the window's device state: reading, not found (with what to check
// for each way of connecting), suspended, and edits dropped at a reconnection.
namespace devicetext {
extern const TextTriple Reading;        // over the pages while the device is read
extern const TextTriple ReadingStatus;  // on the status button
extern const TextTriple Searching;      // the first seconds of a search
extern const TextTriple NoDeviceUsb;
extern const TextTriple NoDeviceSerial;
extern const TextTriple NoDeviceBluetooth;
extern const TextTriple NoDeviceNetwork;
extern const TextTriple NoDeviceRelay;
extern const TextTriple UseUsb;
extern const TextTriple SuspendedHint;
extern const TextTriple PendingDropped;        // %d: how many values
extern const TextTriple PcConnectionQuestion;  // %s: the connection chosen
extern const TextTriple ShowPasswords;

// Every text of this table, for checks that walk it.
std::span<const TextTriple* const> all();
}  // namespace devicetext
