#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "update/update_manifest.h"

// Puts a downloaded program in place of the running one, but only when its
// signed manifest verifies with the key built into the program, names this
// product and platform and a newer version, and matches the program by size
// and SHA-256. A download is the program, the manifest text, the manifest's
// length (two bytes, high first) and the Ed25519 signature over the manifest.
//
// The old program stays as "<executable>.old" and a marker
// "<executable>.unconfirmed" is left until the new program, started with the
// marker's path in QX7_UPDATE_CONFIRM, removes it to say it runs. A new
// program that ends first, or cannot be started, is replaced by the backup at
// once; one that never confirms is replaced on the next start.
class UpdateInstaller {
public:
    static constexpr size_t kSignatureSize = 64;
    static constexpr size_t kLengthSize = 2;
    static constexpr size_t kKeySize = 32;
    static constexpr const char* kConfirmVariable = "QX7_UPDATE_CONFIRM";

    enum class Result { Installed, NotVerified, OtherPlatform, NotNewer, NotWritable, Failed };
    enum class Start { Confirmed, Unconfirmed, Restored };
    // What a program finds at its start.
    enum class Previous { None, Confirming, Restored };

    // An empty or malformed key verifies nothing.
    UpdateInstaller(std::string executable, std::vector<uint8_t> publicKey,
                    uint32_t runningVersion);

    // The manifest of a download whose signature verifies and whose program
    // is the one the manifest describes.
    static std::optional<UpdateManifest> verify(const std::vector<uint8_t>& download,
                                                const std::vector<uint8_t>& key);
    Result install(const std::string& download);
    // Starts the installed program with the arguments and waits up to wait
    // for its confirmation; the backup is removed once it came.
    Start startInstalled(const std::vector<std::string>& arguments,
                         std::chrono::milliseconds wait) const;

    // Called first thing by every run: Confirming when this run is the new
    // program of an update (it confirms with confirm() once it is up);
    // Restored when an update never confirmed and the old program is back in
    // place (the caller runs it instead).
    static Previous atStart(const std::string& executable);
    static void confirm(const std::string& executable);

    // 32 bytes from 64 hex digits; empty for anything else.
    static std::vector<uint8_t> keyFromHex(const std::string& hex);
    static std::string backupPath(const std::string& executable) { return executable + ".old"; }
    static std::string markerPath(const std::string& executable) {
        return executable + ".unconfirmed";
    }

private:
    bool folderWritable() const;
    bool writeBeside(const uint8_t* data, size_t size, std::string& written) const;
    bool keepBackup() const;
    void restoreBackup() const;

    std::string m_executable;
    std::vector<uint8_t> m_key;
    uint32_t m_runningVersion;
};
