// Feeds the package reader any file: it either refuses it or decodes exactly
// half the symbols after the type, never reading past the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "files/upgrade_package.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    UpgradePackage package;
    UpgradePackage::Problem problem = package.parse(data, size);
    if (problem != UpgradePackage::Problem::None) {
        if (!package.image().empty() || package.type() != 0) std::abort();
        return 0;
    }
    if (size < UpgradePackage::kImageOffset + 2) std::abort();
    if (package.image().size() != (size - UpgradePackage::kImageOffset) / 2) std::abort();
    if (package.type() != (data[256] | data[257] << 8)) std::abort();
    return 0;
}
