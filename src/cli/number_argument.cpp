#include "cli/number_argument.h"

#include <cstdlib>

bool parseNumberArgument(const std::string& text, long low, long high, long& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    long v = std::strtol(text.c_str(), &end, hex ? 16 : 10);
    if (*end || v < low || v > high) return false;
    out = v;
    return true;
}
