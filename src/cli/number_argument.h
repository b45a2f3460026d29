#pragma once

#include <string>

// A decimal or 0x-hex command-line number within [low, high]; false leaves
// `out` as it was.
bool parseNumberArgument(const std::string& text, long low, long high, long& out);
