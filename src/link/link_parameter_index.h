#pragma once

#include <array>

// Parameter indices with a fixed role in the link itself. The binding's
// parameter_index.h adds the rest of the named ones to the same namespace.
namespace parameterIndex {

constexpr int Magic = 0;
constexpr int SystemPasswordHigh = 1625;
constexpr int SystemPasswordLow = 1626;
constexpr int CurrentMode = 1628;
constexpr int ModeOperation = 1629;
constexpr int Presence = 1630;
constexpr int DecoderMode = 1637;  // low byte; also the header's decoder format
constexpr int DeviceStatus = 1639;
constexpr int DecodedLayout = 1640;  // a channel mask; also the hardware code
constexpr int LastForFullRead = 1736;

// Read when the link has been idle.
constexpr std::array<int, 3> KeepAlive = {DecoderMode, DeviceStatus, DecodedLayout};

// Values that belong to the device, not to a preset file.
constexpr std::array<int, 14> DeviceState = {
    1606,          1607, 1608,        1610, SystemPasswordHigh, SystemPasswordLow, CurrentMode,
    ModeOperation, 1636, DecoderMode, 1638, DeviceStatus,       DecodedLayout,     1641};

}  // namespace parameterIndex
