#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "files/preset_codec.h"
#include "files/preset_record.h"

// Preset files (".qmx") hold a copy of the device's parameters; their header
// fields travel in this object. Names without ".qmx" get it appended. A file
// is written to a temporary file and renamed into place, so no reader ever
// meets half a file and a failed write leaves the old file as it was. Bare
// names live in the settings folders.
class PresetFiles {
public:
    static constexpr const char* kPresetExtension = ".qmx";

    // Results of the preset operations.
    static constexpr int kPresetOk = 0;
    static constexpr int kPresetEmptyName = 2;
    static constexpr int kPresetCannotOpen = 4;
    static constexpr int kPresetCannotCreate = 5;
    static constexpr int kPresetCorrupt = 6;  // CRC mismatch, or not a preset file at all

    // A larger file cannot be a preset of this device and is not read.
    static constexpr uintmax_t kMaxPresetFileSize = 4u << 20;

    // Takes the creation time, which becomes the time stamp of the files this object writes.
    PresetFiles();

    // Header fields that a caller may set before writing (device magic,
    // reserved numbers, password mark) and everything read live in preset().
    PresetRecord& preset() { return m_preset; }
    const PresetRecord& preset() const { return m_preset; }
    const std::array<uint32_t, 6>& creationTime() const { return m_created; }
    const std::string& lastSavedPath() const { return m_lastSaved; }
    // Why the last read found a corrupt file (6).
    PresetCodec::Damage damage() const { return m_damage; }

    // One file at exactly path: 0, 2 or 5.
    int writePreset(const std::string& path, const std::vector<uint16_t>& values);
    // 0, 2, 4 or 6; the fields and values change only on 0.
    int readPreset(const std::string& path);
    // A bare name goes to the program folder, else to the user data folder;
    // a name with a folder part is written exactly there. 0, 2 or 5.
    int savePreset(const std::string& name, const std::vector<uint16_t>& values);
    // The name as given (relative to the current folder), then in the program
    // folder, then in the user data folder. 0, 2, 4 or 6.
    int loadPreset(const std::string& name);
    // Deletes the first copy that loadPreset would find; 0, or 2 for an empty name.
    int deletePreset(const std::string& name) const;
    bool presetExists(const std::string& name) const;
    // The full path of the copy that loadPreset would find, else the user data folder + name.
    std::string presetFullPath(const std::string& name) const;
    // Every "*.qmx" in the current folder, the program folder and the user data
    // folder, as name + ".qmx"; a name found in two folders is listed twice.
    std::vector<std::string> listPresets() const;

    static std::string withPresetExtension(const std::string& name);

private:
    // Where loadPreset looks for a name, in order.
    static std::vector<std::string> presetCandidates(const std::string& name);
    // After a save: other copies of the name would be found instead of, or
    // listed next to, the file just written.
    static void removeOtherCopies(const std::string& name, const std::string& kept);

    PresetCodec::Damage m_damage = PresetCodec::Damage::None;
    PresetRecord m_preset;
    std::array<uint32_t, 6> m_created{};
    std::string m_lastSaved;
};
