#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, or a path inside it.
    std::string path(const std::string& name = {}) const {
        return name.empty() ? m_path : m_path + "/" + name;
    }

    static std::string read(const std::string& file);
    static void write(const std::string& file, const std::string& text);

private:
    std::string m_path;
};
