#include "cli/ctl_preset_dump.h"

#include <filesystem>

#include "files/preset_files.h"

namespace {

const char* problemOf(int result) {
    switch (result) {
        case PresetFiles::kPresetEmptyName:
            return "no file name given";
        case PresetFiles::kPresetCannotOpen:
            return "the file cannot be opened";
        case PresetFiles::kPresetCorrupt:
            return "not an intact preset file (damaged, cut short or of another kind)";
        default:
            return "the file cannot be read";
    }
}

}  // namespace

int dumpPresetFile(const std::string& file, std::FILE* out) {
    PresetFiles data;
    int result = data.readPreset(file);
    if (result != PresetFiles::kPresetOk) {
        std::fprintf(stderr, "qx7ctl: %s: %s (code %d)\n", file.c_str(), problemOf(result), result);
        return result == PresetFiles::kPresetEmptyName ? 2 : 1;
    }
    const PresetRecord& p = data.preset();
    std::error_code ec;
    std::string path =
        std::filesystem::absolute(PresetFiles::withPresetExtension(file), ec).string();
    std::fprintf(out, "File: %s\n", ec ? file.c_str() : path.c_str());
    std::fprintf(out, "Header length: %u\n", p.headerLength);
    std::fprintf(out, "Value count: %u\n", p.valueCount);
    std::fprintf(out, "Format mark: %u\n", p.formatMark);
    std::fprintf(out, "Device magic: %u\n", p.deviceMagic);
    std::fprintf(out, "Reserved: %u %u\n", p.reserved1, p.reserved2);
    std::fprintf(out, "Password mark: %u%s\n", static_cast<unsigned>(p.passwordMark),
                 p.passwordMark ? " (protected: never sent to a device)" : "");
    const auto& t = p.timeStamp;
    std::fprintf(out, "Time stamp: %04u-%02u-%02u %02u:%02u:%02u\n", t[0], t[1], t[2], t[3], t[4],
                 t[5]);
    std::fprintf(out, "Values:\n");
    for (size_t k = 0; k < p.values.size(); ++k)
        std::fprintf(out, "%zu=%d\n", k, static_cast<int>(p.values[k]));
    return 0;
}
