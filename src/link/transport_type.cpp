#include "link/transport_type.h"

const char* TransportType::titleSuffix(int type) {
    switch (type) {
        case UsbHid: return "-USB";
        case Network: return "-NET";
        case BluetoothSerial: return "-BT";
        case Relay: return "-Server";
        default: return "-COM";
    }
}
