#include "link/transport_type.h"

namespace {
struct Row {
    TransportType type;
    int setting;
    const char* titleSuffix;
};
constexpr Row kRows[] = {
    {TransportType::UsbHid, 1, "-USB"},   {TransportType::Network, 2, "-NET"},
    {TransportType::Bluetooth, 3, "-BT"}, {TransportType::Relay, 4, "-Server"},
    {TransportType::Serial, 0, "-COM"},
};
constexpr const Row& kSerial = kRows[4];

const Row& rowOf(TransportType type) {
    for (const Row& r : kRows)
        if (r.type == type) return r;
    return kSerial;
}
}  // namespace

const char* titleSuffix(TransportType type) {
    return rowOf(type).titleSuffix;
}

int settingOf(TransportType type) {
    return rowOf(type).setting;
}

TransportType transportTypeOfSetting(int value) {
    for (const Row& r : kRows)
        if (r.setting == value) return r.type;
    return TransportType::Serial;
}
