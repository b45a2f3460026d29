#pragma once

#include <optional>
#include <string>

// Private-profile (INI) files: "[section]" headers and "key=value" lines, keys
// compared without regard to case, as the Windows profile functions do. Every
// call reads the file afresh; writes replace the file through a temporary file
// and a rename, so a crash never leaves half a file behind.
class PrivateProfile {
public:
    // The stored text of key, or nothing when the file, section or key is absent.
    static std::optional<std::string> readString(const std::string& file, const std::string& section,
                                                 const std::string& key);
    // The integer reading of the stored text (leading sign and digits; text
    // without digits reads 0), or fallback when the key is absent.
    static int readInt(const std::string& file, const std::string& section, const std::string& key,
                       int fallback);
    // False when the file cannot be written, or when a name or the value holds a line break.
    static bool writeString(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& value);

    static int parseInt(const std::string& text);
};
