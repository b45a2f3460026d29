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

    // Ends with a separator.
    const std::string& path() const { return m_path; }
    // path() + name, with the folder created when it is a folder name ending in "/".
    std::string sub(const std::string& name) const;

private:
    std::string m_path;
};
