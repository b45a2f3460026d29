#include "cli/ctl_package_dump.h"

#include <nlohmann/json.hpp>

#include "cli/ctl_preset_dump.h"
#include "files/preset_files.h"
#include "files/upgrade_package.h"
#include "link/firmware_upgrade.h"
#include "texts/text_triple.h"

int inspectFile(const std::string& file, std::FILE* out, bool json) {
    PresetFiles preset;
    if (file.empty() || preset.readPreset(file) == PresetFiles::kPresetOk)
        return dumpPresetFile(file, out, json);
    UpgradePackage package;
    UpgradePackage::Problem problem = package.load(file);
    if (problem == UpgradePackage::Problem::None) {
        std::string target = UpgradePackage::targetOfType(package.type());
        if (json) {
            nlohmann::json doc = {
                {"kind", "firmware"},
                {"file", file},
                {"type", package.type()},
                {"target", target.empty() ? nlohmann::json() : nlohmann::json(target)},
                {"image_size", package.image().size()}};
            std::fprintf(out, "%s\n", doc.dump(2).c_str());
            return 0;
        }
        std::fprintf(out, "File: %s\n", file.c_str());
        std::fprintf(out, "Firmware package type: %d (%s)\n", package.type(),
                     target.empty() ? "no known target" : target.c_str());
        std::fprintf(out, "Image size: %zu bytes\n", package.image().size());
        return 0;
    }
    if (problem == UpgradePackage::Problem::CannotOpen) return dumpPresetFile(file, out, json);
    std::fprintf(stderr, "qx7ctl: %s: neither a preset file nor an intact firmware package: %s\n",
                 file.c_str(), FirmwareUpgrade::problemText(problem)[Language::English]);
    return 1;
}
