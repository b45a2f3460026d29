// Reads any text as each of qx7d's answers and as an event: nothing throws,
// indices stay inside the mirror, and a parameter list is whole or nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "link/device_info.h"
#include "link/mirror.h"
#include "remote/daemon_reply.h"

namespace {
void check(bool condition) {
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (auto status = DaemonReply::status(text)) {
        for (const auto& [mode, name] : status->names)
            check(mode >= 1 && mode <= DeviceInfo::kModes);
        check(DaemonReply::idBytes(status->deviceId).size() <= DeviceInfo::kIdSize);
    }
    if (auto values = DaemonReply::parameters(text)) check(values->size() == Mirror::kSize);
    DaemonReply::parameter(text);
    DaemonReply::Event event = DaemonReply::event(text);
    if (event.kind == DaemonReply::Event::Kind::Parameter) check(Mirror::valid(event.index));
    check(DaemonReply::idBytes(text).size() <= DeviceInfo::kIdSize);
    return 0;
}
