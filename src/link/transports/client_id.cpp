#include "link/transports/client_id.h"

#include <unistd.h>

#include <functional>
#include <string>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

ClientId::Bytes ClientId::fold(const std::array<uint8_t, 8>& bytes) {
    Bytes out{};
    for (size_t k = 0; k < bytes.size(); ++k) out[k % 4] ^= bytes[k];
    return out;
}

ClientId::Bytes ClientId::fold(uint32_t signature, uint32_t features) {
    std::array<uint8_t, 8> bytes{};
    for (int k = 0; k < 4; ++k) {
        bytes[static_cast<size_t>(k)] = static_cast<uint8_t>(signature >> (8 * k));
        bytes[static_cast<size_t>(k + 4)] = static_cast<uint8_t>(features >> (8 * k));
    }
    return fold(bytes);
}

ClientId::Bytes ClientId::ofThisMachine() {
#if defined(__x86_64__) || defined(__i386__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(1, &a, &b, &c, &d)) return fold(a, d);
#endif
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    size_t h = std::hash<std::string>{}(host);
    return fold(static_cast<uint32_t>(h), static_cast<uint32_t>(h >> 16));
}
