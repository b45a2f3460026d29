#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What an update's signature vouches for: which product, platform and version
// the program file is, and the file itself by size and SHA-256. Signing this
// rather than the bare bytes keeps a signed but older build, or one for
// another platform, from being installed. As text, one "key=value" line each:
// product, platform, version (MAJOR.MINOR), size, sha256 (64 hex digits).
struct UpdateManifest {
    static constexpr size_t kMaxSize = 512;
    static constexpr const char* kProduct = "qx7";

    std::string product;
    std::string platform;
    uint32_t version = 0;  // major * 65536 + minor, as the version query carries it
    uint64_t size = 0;
    std::vector<uint8_t> sha256;

    // Exactly the five lines, each once, in any order; nothing else.
    static std::optional<UpdateManifest> parse(const uint8_t* data, size_t size);
    std::string text() const;
    // The platform this program was built for, e.g. "linux-x86_64".
    static std::string thisPlatform();

    bool operator==(const UpdateManifest&) const = default;
};
