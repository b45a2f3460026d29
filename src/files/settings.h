#pragma once

#include <string>

// Settings files: one INI file per topic ("Language", "WIFI_Mode"...), all
// keys in the section "VX510-Q3", integers in decimal. Reads try the program
// folder first and the per-user folder second; a write goes to the program
// folder and falls back to the per-user folder when that cannot be written.
// Nothing is cached, so a value written anywhere is seen by the next read.
class Settings {
public:
    static constexpr const char* kSection = "VX510-Q3";

    // The value, or -1 when the key is in neither file; text without digits reads 0.
    int readInt(const std::string& name, const std::string& key) const;
    // The stored text, or empty when the key is in neither file.
    std::string readText(const std::string& name, const std::string& key) const;
    // Whether the value was stored.
    bool writeText(const std::string& name, const std::string& key, const std::string& text) const;
    bool writeInt(const std::string& name, const std::string& key, int value) const;

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

private:
    static std::string iniPath(const std::string& folder, const std::string& name) {
        return folder + name + ".ini";
    }
};
