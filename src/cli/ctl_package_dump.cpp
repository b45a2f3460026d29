#include "cli/ctl_package_dump.h"

#include <nlohmann/json.hpp>

#include "cli/ctl_preset_dump.h"
#include "cli/json_text.h"
#include "files/file_digest.h"
#include "files/preset_files.h"
#include "files/upgrade_package.h"
#include "link/firmware_upgrade.h"
#include "texts/text_triple.h"

namespace {

constexpr int kUsage = 2;

// The package format has no checksum: the digest is for comparing with the
// one its maker published.
int dumpPackage(const std::string& file, const UpgradePackage& package, std::FILE* out, bool json) {
    const std::string target = UpgradePackage::targetOfType(package.type());
    const std::optional<FileDigest::Digest> digest = FileDigest::sha256OfFile(file);
    const std::string sha256 = digest ? FileDigest::hex(*digest) : std::string();
    if (json) {
        nlohmann::json doc = {{"kind", "firmware"},
                              {"file", file},
                              {"type", package.type()},
                              {"target", target},
                              {"image_size", package.image().size()},
                              {"sha256", sha256}};
        std::fprintf(out, "%s\n", jsonText(doc).c_str());
        return 0;
    }
    std::fprintf(out, "File: %s\n", file.c_str());
    std::fprintf(out, "Firmware package type: %d (%s)\n", package.type(), target.c_str());
    std::fprintf(out, "Image size: %zu bytes\n", package.image().size());
    std::fprintf(out, "File SHA-256: %s\n", sha256.c_str());
    return 0;
}

}  // namespace

int inspectFile(const std::string& file, std::FILE* out, bool json) {
    PresetFiles preset;
    const int presetResult = file.empty() ? PresetFiles::kPresetEmptyName : preset.readPreset(file);
    if (presetResult == PresetFiles::kPresetOk || presetResult == PresetFiles::kPresetEmptyName)
        return dumpPresetFile(file, out, json);
    UpgradePackage package;
    UpgradePackage::Problem problem = package.load(file);
    if (problem == UpgradePackage::Problem::None) return dumpPackage(file, package, out, json);
    if (problem == UpgradePackage::Problem::CannotOpen) return dumpPresetFile(file, out, json);
    // A name without the preset extension was never looked at as a preset.
    const std::string presetReason = presetResult == PresetFiles::kPresetCannotOpen
                                         ? std::string()
                                         : std::string(": ") + presetProblemText(presetResult) +
                                               " (code " + std::to_string(presetResult) + ")";
    std::fprintf(stderr, "qx7ctl: %s: not a preset file%s; nor a firmware package: %s\n",
                 file.c_str(), presetReason.c_str(),
                 FirmwareUpgrade::problemText(problem)[Language::English]);
    return kUsage;
}
