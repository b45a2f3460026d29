#include "binding/header_values.h"

#include <cmath>

namespace {

constexpr int kSourceCodes[HeaderValues::kSources] = {1, 2, 3, 4, 6, 7, 8, 9, 10};

struct Format {
    int code;
    const char* name;
};
constexpr Format kFormats[] = {{1, "AC3"},    {8, "APCM"},  {9, "DPCM"},
                               {11, "DTS1"},  {12, "DTS2"}, {13, "DTS3"},
                               {17, "DTS-X"}, {21, "EAC3"}, {22, "TrueHD"}};

}  // namespace

int HeaderValues::volumeCode(double percent) {
    return static_cast<int>(std::trunc(percent + 500.0));
}

int HeaderValues::volumePercent(int code) {
    return code % 500;
}

int HeaderValues::sourceCode(int item) {
    return item >= 0 && item < kSources ? kSourceCodes[item] : -1;
}

int HeaderValues::sourceItem(int code) {
    for (int i = 0; i < kSources; ++i)
        if (kSourceCodes[i] == code) return i;
    return -1;
}

std::string HeaderValues::decoderName(int code) {
    int low = code & 0xFF;
    for (const Format& f : kFormats)
        if (f.code == low) return f.name;
    return "----";
}
