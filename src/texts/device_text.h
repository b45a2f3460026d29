#pragma once

#include <string>

// Bytes that came from outside (a device's preset names and SSIDs, file
// names) made fit for UTF-8 output: JSON needs valid UTF-8, and a terminal
// must never receive an escape sequence that a device chose.
class DeviceText {
public:
    // Valid UTF-8 stays as it is. Otherwise the bytes are read as GBK, the
    // code page the device's own tools write names in, when all of them
    // decode; failing that each invalid byte becomes U+FFFD.
    static std::string utf8(const std::string& bytes);
    // utf8() with control characters (C0, DEL, C1) written as \xNN.
    static std::string printable(const std::string& bytes);
    static bool validUtf8(const std::string& bytes);
};
