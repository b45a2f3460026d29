#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "binding/parameter_index.h"

// The system page's device values: the noise gate's threshold table, the
// packing of the key-lock and system passwords, who may store into a mode,
// and the device's modes with their names.
class SystemValues {
public:
    static constexpr int kKeyLockPassword = parameterIndex::KeyLockPassword;
    static constexpr int kKeyLock = parameterIndex::KeyLock;
    static constexpr int kSystemPasswordHigh = parameterIndex::SystemPasswordHigh;
    static constexpr int kSystemPasswordLow = parameterIndex::SystemPasswordLow;
    static constexpr int kCurrentMode = parameterIndex::CurrentMode;
    static constexpr int kMusicGateThreshold = parameterIndex::MusicGateThreshold;
    static constexpr int kMusicGate = parameterIndex::MusicGate;
    static constexpr int kMicGateThreshold = parameterIndex::MicGateThreshold;
    static constexpr int kMicGate = parameterIndex::MicGate;
    static constexpr int kBootMode = parameterIndex::BootMode;
    static constexpr int kSurround = parameterIndex::Surround;

    static constexpr int kGatePositions = 21;
    static constexpr int kKeyLockDigits = 4;
    static constexpr int kSystemDigits = 6;
    static constexpr int kModes = 16;
    static constexpr int kUserModes = 8;

    // Position 0 to 20 (outside: the nearest end) -> device value.
    static int gateValue(int position);
    // The first position whose value reaches the device value; 20 above the table.
    static int gatePosition(int value);

    // Each digit in four bits, the first highest. Nothing unless the text is
    // exactly `digits` characters, each 0 to 9.
    static std::optional<uint32_t> packPassword(const std::string& text, int digits);
    // The system password as the device keeps it over two entries.
    static uint32_t systemPassword(uint16_t high, uint16_t low) {
        return uint32_t(high) << 16 | low;
    }
    static uint16_t systemPasswordHigh(uint32_t packed) { return uint16_t(packed >> 16); }
    static uint16_t systemPasswordLow(uint32_t packed) { return uint16_t(packed & 0xFFFF); }

    // Whether a user may store into mode 1 to 16 while the device is in deviceMode.
    static bool mayStore(bool administrator, int deviceMode, int mode);

    // A mode's line in the lists: "3-USER" and "9-SYSTEM" until the names are
    // known, then "3-" and the name.
    static std::string modeItem(int mode, const std::string& name, bool named);
    // The longest start of a UTF-8 text that fits in the bytes, never ending
    // inside a character.
    static std::string fitName(const std::string& text, size_t bytes);
};
