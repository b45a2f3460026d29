#include "cli/ctl_preset_dump.h"

#include <filesystem>

#include <nlohmann/json.hpp>

#include "cli/json_text.h"
#include "files/preset_files.h"

const char* presetProblemText(int result) {
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

namespace {

void printJson(const std::string& path, const PresetRecord& p, std::FILE* out) {
    const auto& t = p.timeStamp;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u", t[0], t[1], t[2], t[3],
                  t[4], t[5]);
    nlohmann::json values = nlohmann::json::array();
    for (int32_t v : p.values) values.push_back(v);
    nlohmann::json doc = {{"kind", "preset"},
                          {"file", path},
                          {"header_length", p.headerLength},
                          {"value_count", p.valueCount},
                          {"format_mark", p.formatMark},
                          {"device_magic", p.deviceMagic},
                          {"reserved", {p.reserved1, p.reserved2}},
                          {"password_mark", p.passwordMark},
                          {"time_stamp", stamp},
                          {"values", values}};
    std::fprintf(out, "%s\n", jsonText(doc).c_str());
}

}  // namespace

int dumpPresetFile(const std::string& file, std::FILE* out, bool json) {
    PresetFiles data;
    int result = data.readPreset(file);
    if (result != PresetFiles::kPresetOk) {
        std::fprintf(stderr, "qx7ctl: %s: %s (code %d)\n", file.c_str(), presetProblemText(result),
                     result);
        return result == PresetFiles::kPresetEmptyName ? 2 : 1;
    }
    const PresetRecord& p = data.preset();
    std::error_code ec;
    std::string path =
        std::filesystem::absolute(PresetFiles::withPresetExtension(file), ec).string();
    if (json) {
        printJson(ec ? file : path, p, out);
        return 0;
    }
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
