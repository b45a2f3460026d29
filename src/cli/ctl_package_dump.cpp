#include "cli/ctl_package_dump.h"

#include "cli/ctl_preset_dump.h"
#include "files/preset_files.h"
#include "files/upgrade_package.h"
#include "link/firmware_upgrade.h"
#include "texts/text_triple.h"

int inspectFile(const std::string& file, std::FILE* out) {
    PresetFiles preset;
    if (file.empty() || preset.readPreset(file) == PresetFiles::kPresetOk)
        return dumpPresetFile(file, out);
    UpgradePackage package;
    UpgradePackage::Problem problem = package.load(file);
    if (problem == UpgradePackage::Problem::None) {
        std::string target = UpgradePackage::targetOfType(package.type());
        std::fprintf(out, "File: %s\n", file.c_str());
        std::fprintf(out, "Firmware package type: %d (%s)\n", package.type(),
                     target.empty() ? "no known target" : target.c_str());
        std::fprintf(out, "Image size: %zu bytes\n", package.image().size());
        return 0;
    }
    if (problem == UpgradePackage::Problem::CannotOpen) return dumpPresetFile(file, out);
    std::fprintf(stderr, "qx7ctl: %s: neither a preset file nor an intact firmware package: %s\n",
                 file.c_str(), FirmwareUpgrade::problemText(problem)[Language::English]);
    return 1;
}
