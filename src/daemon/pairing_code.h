#pragma once

#include <string>

// The pairing address as a QR code drawn with block characters, for a terminal.
class PairingCode {
public:
    // Two modules a line with half blocks, with the quiet zone; empty when
    // the text does not fit a code.
    static std::string render(const std::string& text);
    static std::string url(const std::string& host, unsigned port, const std::string& token);
};
