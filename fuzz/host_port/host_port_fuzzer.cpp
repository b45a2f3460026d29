// Parses any text as a server's "host[:port]": a result has a host without
// brackets, a port of 1 to 65535, and the host comes from the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/net/host_port.h"

namespace {
void check(bool condition) {
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    if (auto parsed = HostPort::parse(text, 7)) {
        check(!parsed->host.empty() && parsed->port >= 1);
        check(parsed->host.find_first_of("[]") == std::string_view::npos);
        check(text.find(parsed->host) != std::string_view::npos);
    }
    return 0;
}
