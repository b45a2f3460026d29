#include "texts/printf_format.h"

#include <cctype>
#include <cstring>

namespace {

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

std::vector<PrintfFormat::Conversion> PrintfFormat::conversions(const std::string& f) {
    std::vector<Conversion> found;
    for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] != '%') continue;
        if (i + 1 < f.size() && f[i + 1] == '%') {
            ++i;
            continue;
        }
        Conversion c;
        c.start = i;
        size_t j = i + 1;
        while (j < f.size() && std::strchr("-+ #0", f[j])) ++j;
        while (j < f.size() && isDigit(f[j])) ++j, ++c.digits;
        if (j < f.size() && f[j] == '.') {
            ++j;
            while (j < f.size() && isDigit(f[j])) ++j, ++c.digits;
        }
        c.end = j < f.size() ? j + 1 : j;
        c.type = j < f.size() ? f[j] : 0;
        found.push_back(c);
        if (c.type == 0) break;
        i = j;
    }
    return found;
}
