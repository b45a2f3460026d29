#pragma once

#include <string>
#include <string_view>

// The bearer token TCP clients must show: 32 random bytes as hexadecimal,
// kept in a file only its owner may read.
class AccessToken {
public:
    static constexpr size_t kLength = 64;

    // Reads the token at path, or makes and stores a new one when there is
    // none (or when renew is set). Empty, with a message, when neither works.
    static std::string loadOrCreate(const std::string& path, bool renew, std::string& error);
    static std::string generate();
    // Compares in time that does not depend on where the texts differ.
    static bool matches(std::string_view expected, std::string_view given);
    // The token of an "Authorization: Bearer TOKEN" value; empty when it has none.
    static std::string_view fromAuthorization(std::string_view header);
    // The default file: "qx7d.token" in the per-user settings folder.
    static std::string defaultPath();
};
