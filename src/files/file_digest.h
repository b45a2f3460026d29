#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// SHA-256 of bytes or of a file, as 64 lowercase hex digits, so that a user
// can compare a firmware package or program with what its maker published.
class FileDigest {
public:
    static constexpr size_t kSize = 32;
    using Digest = std::vector<uint8_t>;

    static Digest sha256(const uint8_t* data, size_t size);
    // Empty when the file cannot be read.
    static std::optional<Digest> sha256OfFile(const std::string& path);
    static std::string hex(const Digest& digest);
};
