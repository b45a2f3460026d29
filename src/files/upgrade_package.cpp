#include "files/upgrade_package.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

struct Target {
    const char* name;
    int type;
};

constexpr Target kTargets[] = {
    {"dsp1", 1}, {"panel", 2}, {"comm", 3}, {"dsp4", 4}, {"dsp5", 5},
};

constexpr size_t kMaxFileSize = UpgradePackage::kImageOffset + 2 * UpgradePackage::kMaxImageSize;

}  // namespace

UpgradePackage::Problem UpgradePackage::load(const std::string& path) {
    m_type = 0;
    m_image.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return Problem::CannotOpen;
    // Refused before reading, so a huge file costs nothing.
    if (std::filesystem::file_size(path, ec) > kMaxFileSize)
        return ec ? Problem::CannotOpen : Problem::TooLarge;
    std::ifstream in(path, std::ios::binary);
    if (!in) return Problem::CannotOpen;
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    if (in.bad()) return Problem::CannotOpen;
    return parse(bytes.data(), bytes.size());
}

UpgradePackage::Problem UpgradePackage::parse(const uint8_t* data, size_t size) {
    m_type = 0;
    m_image.clear();
    if (size < kImageOffset) return Problem::TooShort;
    if ((size - kImageOffset) % 2 != 0) return Problem::OddImage;
    if (size > kMaxFileSize) return Problem::TooLarge;
    if (size == kImageOffset) return Problem::EmptyImage;
    const size_t k = data[1];
    if (k + kAlphabetSize > kHeaderSize) return Problem::AlphabetPastHeader;

    const int type = data[kHeaderSize] | data[kHeaderSize + 1] << 8;
    if (targetOfType(type).empty()) return Problem::UnknownType;

    std::array<int, 256> nibble{};
    std::array<bool, 256> seen{};
    for (size_t v = 0; v < kAlphabetSize; ++v) {
        uint8_t symbol = data[k + v];
        if (seen[symbol]) return Problem::DuplicateSymbols;
        seen[symbol] = true;
        nibble[symbol] = static_cast<int>(v);
    }

    const size_t n = (size - kImageOffset) / 2;
    std::vector<uint8_t> image(n);
    const uint8_t* symbols = data + kImageOffset;
    for (size_t i = 0; i < 2 * n; ++i)
        if (!seen[symbols[i]]) return Problem::ForeignSymbol;
    for (size_t i = 0; i < n; ++i)
        image[i] = static_cast<uint8_t>(nibble[symbols[2 * i]] << 4 | nibble[symbols[2 * i + 1]]);
    m_type = type;
    m_image = std::move(image);
    return Problem::None;
}

int UpgradePackage::typeOfTarget(const std::string& target) {
    for (const Target& t : kTargets)
        if (target == t.name) return t.type;
    return 0;
}

std::string UpgradePackage::targetOfType(int type) {
    for (const Target& t : kTargets)
        if (type == t.type) return t.name;
    return {};
}
