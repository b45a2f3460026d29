#include "binding/system_values.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<int, SystemValues::kGatePositions> kGateTable = {
    0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 16, 18, 23, 29, 41, 65, 103, 184, 327};

bool continuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

int SystemValues::gateValue(int position) {
    return kGateTable[static_cast<size_t>(std::clamp(position, 0, kGatePositions - 1))];
}

int SystemValues::gatePosition(int value) {
    auto it = std::lower_bound(kGateTable.begin(), kGateTable.end(), value);
    if (it == kGateTable.end()) return kGatePositions - 1;
    return static_cast<int>(it - kGateTable.begin());
}

std::optional<uint32_t> SystemValues::packPassword(const std::string& text, int digits) {
    if (static_cast<int>(text.size()) != digits) return std::nullopt;
    uint32_t packed = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        packed = packed << 4 | static_cast<uint32_t>(c - '0');
    }
    return packed;
}

// The device's own mode must be a user mode too, or a user could overwrite
// the mode the device runs from a system mode.
bool SystemValues::mayStore(bool administrator, int deviceMode, int mode) {
    return administrator || (deviceMode <= kUserModes && mode <= kUserModes);
}

std::string SystemValues::modeItem(int mode, const std::string& name, bool named) {
    std::string item = std::to_string(mode) + "-";
    if (named) return item + name;
    return item + (mode <= kUserModes ? "USER" : "SYSTEM");
}

std::string SystemValues::fitName(const std::string& text, size_t bytes) {
    if (text.size() <= bytes) return text;
    size_t end = bytes;
    while (end > 0 && continuationByte(text[end])) --end;
    return text.substr(0, end);
}
