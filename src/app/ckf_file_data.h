#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "preset_record.h"

// Settings files: one INI file per topic ("Language", "WIFI_Mode"...), all
// keys in the section "VX510-Q3", integers in decimal. Reads try the program
// folder first and the per-user folder second; a write goes to the program
// folder and falls back to the per-user folder when that cannot be written.
// Nothing is cached, so a value written anywhere is seen by the next read.
//
// Preset files (".qmx") hold a copy of the device's parameters; their header
// fields travel in this object. Names without ".qmx" get it appended. A file
// is written to a temporary file and renamed into place, so no reader ever
// meets half a file and a failed write leaves the old file as it was.
class CKF_FileData {
public:
    static constexpr const char* kSection = "VX510-Q3";
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
    CKF_FileData();
    virtual ~CKF_FileData() = default;

    // The value, or -1 when the key is in neither file; text without digits reads 0.
    int readInt(const std::string& name, const std::string& key) const;
    // 1 on success, else 0.
    int writeText(const std::string& name, const std::string& key, const std::string& text) const;
    int writeInt(const std::string& name, const std::string& key, int value) const;

    // Settings lists: a count under LIST + "Max", items under LIST + "Index" + i;
    // -1 marks a free slot. clearList returns the former count, addToList the new one.
    int clearList(const std::string& name, const std::string& list) const;
    int readListItem(const std::string& name, const std::string& list, int i) const;
    int addToList(const std::string& name, const std::string& list, int value) const;

    // Folders end with a separator.
    static std::string programFolder();
    static std::string userDataFolder();
    static bool folderExists(const std::string& path);
    static bool createFolder(const std::string& path);

    // Tests point both folders elsewhere; empty strings restore the real ones.
    static void overrideFolders(const std::string& program, const std::string& user);

    // Preset files. Header fields that a caller may set before writing (device
    // magic, reserved numbers, password mark) and everything read live in preset().
    PresetRecord& preset() { return m_preset; }
    const PresetRecord& preset() const { return m_preset; }
    const std::array<uint32_t, 6>& creationTime() const { return m_created; }
    const std::string& lastSavedPath() const { return m_lastSaved; }

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

    static std::string iniPath(const std::string& folder, const std::string& name) {
        return folder + name + ".ini";
    }

    PresetRecord m_preset;
    std::array<uint32_t, 6> m_created{};
    std::string m_lastSaved;
};
