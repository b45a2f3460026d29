#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A firmware package file: a 256-byte header whose byte 1 points at a 16-symbol
// alphabet inside it, the package type (two bytes, low first) and the image,
// each byte written as two symbols (high nibble first). Every check happens
// here, before the device hears anything of the upgrade. The format carries no
// checksum: a package cut at an even length cannot be told from a whole one.
class UpgradePackage {
public:
    static constexpr size_t kHeaderSize = 256;
    static constexpr size_t kImageOffset = 258;
    static constexpr size_t kAlphabetSize = 16;
    // Block numbers travel as three bytes, so no image may reach 2^24 bytes.
    static constexpr size_t kMaxImageSize = size_t{1} << 24;

    enum class Problem {
        None,
        CannotOpen,
        TooShort,  // shorter than header and type
        OddImage,  // the image part has an odd number of symbols
        AlphabetPastHeader,
        DuplicateSymbols,
        EmptyImage,
        TooLarge,
        // A vendor package uses its alphabet only; anything else is damage
        // the format has no checksum to catch.
        ForeignSymbol,
        UnknownType,  // no target takes it
    };

    // Reads and decodes a whole file; on a problem the package stays empty.
    Problem load(const std::string& path);
    Problem parse(const uint8_t* data, size_t size);

    int type() const { return m_type; }
    const std::vector<uint8_t>& image() const { return m_image; }

    // The package types by target name ("dsp1", "panel", "comm", "dsp4",
    // "dsp5"); 0 for an unknown name, empty for an unknown type.
    static int typeOfTarget(const std::string& target);
    static std::string targetOfType(int type);

private:
    int m_type = 0;
    std::vector<uint8_t> m_image;
};
