#pragma once

#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <vector>

// Firmware package files as a vendor would make them, for tests: a header with
// the alphabet at offset k, the type, and the image two symbols per byte.
struct PackageFile {
    int type = 1;
    std::vector<uint8_t> image;
    uint8_t k = 40;
    std::string alphabet = "QWERTYUIOPASDFGH";

    std::vector<uint8_t> bytes() const {
        std::vector<uint8_t> out(256);
        for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<uint8_t>(i * 7 + 3);
        out[1] = k;
        for (size_t v = 0; v < alphabet.size() && k + v < 256; ++v)
            out[k + v] = static_cast<uint8_t>(alphabet[v]);
        out.push_back(static_cast<uint8_t>(type));
        out.push_back(static_cast<uint8_t>(type >> 8));
        for (uint8_t b : image) {
            out.push_back(static_cast<uint8_t>(alphabet[b >> 4]));
            out.push_back(static_cast<uint8_t>(alphabet[b & 15]));
        }
        return out;
    }

    void write(const std::string& path) const { writeBytes(path, bytes()); }

    static void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }

    static std::vector<uint8_t> randomImage(size_t size, uint32_t seed) {
        std::mt19937 random(seed);
        std::vector<uint8_t> image(size);
        for (uint8_t& b : image) b = static_cast<uint8_t>(random());
        return image;
    }
};
