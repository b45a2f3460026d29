// Feeds the Wi-Fi module's reply parser any bytes, the way a reader thread or
// a datagram hands them over, and checks that the table stays consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "link/module_table.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ModuleTable table;
    table.setTextAndQueue(ModuleTable::SetHotspotSsid, "Set_HotSSID:x");
    // An exact-size copy, so that a read past the count is caught.
    std::vector<uint8_t> bytes(data, data + size);
    table.parse(bytes.data(), bytes.size());
    // The address the network transport checks is the one the parser takes.
    if (auto reported = ModuleTable::reportedAddress(bytes.data(), bytes.size())) {
        check(table.replied(ModuleTable::Ip));
        check(static_cast<uint32_t>(table.value(ModuleTable::Ip)) == *reported);
    }
    table.parse(bytes.data(), bytes.size() / 2);
    for (int slot = 0; slot < ModuleTable::kSlots; ++slot) {
        check(slot == ModuleTable::SetHotspotSsid || table.text(slot).size() <= size);
        check(!table.replied(slot) || !table.queued(slot));
    }
    for (uint32_t client : table.clients()) check(client != 0);
    check(table.clients().size() <= ModuleTable::kMaxClients);
    int cursor = 0;
    table.pickForSending(cursor, true);
    table.takeConfirmations(true);
    return 0;
}
