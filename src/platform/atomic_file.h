#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Writes a whole file so that it is either entirely the new content or, on any
// failure, untouched: the bytes go to a temporary file in the same folder,
// which is flushed to disk and then renamed over the target.
class AtomicFile {
public:
    static bool write(const std::string& path, const uint8_t* data, size_t size);
};
