#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Puts a downloaded program in place of the running one, but only after its
// last 64 bytes verified as an Ed25519 signature over the rest with the key
// built into the program. The new file is written beside the executable and
// renamed over it; the old one stays as "<executable>.old" until the new one
// has started (it removes the backup). The download is always deleted.
class UpdateInstaller {
public:
    static constexpr size_t kSignatureSize = 64;
    static constexpr size_t kKeySize = 32;

    enum class Result { Installed, NotVerified, NotWritable, Failed };

    // An empty or malformed key verifies nothing.
    UpdateInstaller(std::string executable, std::vector<uint8_t> publicKey);

    static bool verify(const std::vector<uint8_t>& signedFile, const std::vector<uint8_t>& key);
    Result install(const std::string& download);
    // Starts the installed program; false when it could not be started.
    bool startInstalled() const;

    // 32 bytes from 64 hex digits; empty for anything else.
    static std::vector<uint8_t> keyFromHex(const std::string& hex);
    static std::string backupPath(const std::string& executable) { return executable + ".old"; }
    // The new program, once running, drops the backup of the one it replaced.
    static void removeBackup(const std::string& executable);

private:
    bool folderWritable() const;
    bool writeBeside(const uint8_t* data, size_t size, std::string& written) const;
    bool keepBackup() const;

    std::string m_executable;
    std::vector<uint8_t> m_key;
};
