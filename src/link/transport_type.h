#pragma once

// How the link reaches the device. Bluetooth is the serial transport on a
// Bluetooth port, with timings of its own.
enum class TransportType { Serial, UsbHid, Network, Bluetooth, Relay };

// The suffix of the main window's title: "-USB", "-NET", "-BT", "-Server" or "-COM".
const char* titleSuffix(TransportType type);
// As the Wi-Fi settings store the PC connection: 1 USB HID, 2 network,
// 3 Bluetooth, 4 relay server; any other number is the serial port.
int settingOf(TransportType type);
TransportType transportTypeOfSetting(int value);
