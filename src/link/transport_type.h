#pragma once

// Values of the process-wide transport type; every other value means the serial port.
namespace TransportType {
inline constexpr int Serial = 0;
inline constexpr int UsbHid = 1;
inline constexpr int Network = 2;
inline constexpr int BluetoothSerial = 3;
inline constexpr int Relay = 4;

inline bool isSerial(int type) { return type != UsbHid && type != Network && type != Relay; }
// The suffix of the main window's title: "-USB", "-NET", "-BT", "-Server" or "-COM".
const char* titleSuffix(int type);
}  // namespace TransportType
