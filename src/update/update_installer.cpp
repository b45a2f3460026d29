#include "update/update_installer.h"

#include <fcntl.h>
#include <sodium.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <thread>

#include "files/file_digest.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

constexpr auto kConfirmPoll = std::chrono::milliseconds(20);

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (std::string& s : strings) out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

bool writeAll(int fd, const uint8_t* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

UpdateInstaller::UpdateInstaller(std::string executable, std::vector<uint8_t> publicKey,
                                 uint32_t runningVersion)
    : m_executable(std::move(executable)),
      m_key(std::move(publicKey)),
      m_runningVersion(runningVersion) {}

std::optional<UpdateManifest> UpdateInstaller::verify(const std::vector<uint8_t>& download,
                                                      const std::vector<uint8_t>& key) {
    const size_t size = download.size();
    if (key.size() != kKeySize || size < kSignatureSize + kLengthSize) return std::nullopt;
    const size_t lengthAt = size - kSignatureSize - kLengthSize;
    const size_t length = static_cast<size_t>(download[lengthAt]) << 8 | download[lengthAt + 1];
    if (length == 0 || length > lengthAt) return std::nullopt;
    const uint8_t* manifestBytes = download.data() + lengthAt - length;
    if (sodium_init() < 0 || crypto_sign_verify_detached(download.data() + size - kSignatureSize,
                                                         manifestBytes, length, key.data()) != 0)
        return std::nullopt;
    std::optional<UpdateManifest> manifest = UpdateManifest::parse(manifestBytes, length);
    const size_t programSize = lengthAt - length;
    if (!manifest || manifest->size != programSize ||
        manifest->sha256 != FileDigest::sha256(download.data(), programSize))
        return std::nullopt;
    return manifest;
}

UpdateInstaller::Result UpdateInstaller::install(const std::string& download) {
    std::vector<uint8_t> bytes = readAll(download);
    std::error_code ec;
    fs::remove(download, ec);
    std::optional<UpdateManifest> manifest = verify(bytes, m_key);
    if (!manifest) return Result::NotVerified;
    if (manifest->product != UpdateManifest::kProduct ||
        manifest->platform != UpdateManifest::thisPlatform())
        return Result::OtherPlatform;
    if (manifest->version <= m_runningVersion) return Result::NotNewer;
    if (!folderWritable()) return Result::NotWritable;
    std::string written;
    if (!writeBeside(bytes.data(), static_cast<size_t>(manifest->size), written))
        return Result::Failed;
    const std::string marker = markerPath(m_executable);
    if (!keepBackup() || !std::ofstream(marker) ||
        std::rename(written.c_str(), m_executable.c_str()) != 0) {
        fs::remove(written, ec);
        fs::remove(marker, ec);
        return Result::Failed;
    }
    return Result::Installed;
}

bool UpdateInstaller::folderWritable() const {
    fs::path folder = fs::path(m_executable).parent_path();
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
}

bool UpdateInstaller::writeBeside(const uint8_t* data, size_t size, std::string& written) const {
    std::string pattern = m_executable + ".new-XXXXXX";
    int fd = ::mkstemp(pattern.data());
    if (fd < 0) return false;
    bool ok = writeAll(fd, data, size) && ::fchmod(fd, 0755) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) ::unlink(pattern.c_str());
    written = pattern;
    return ok;
}

// A second name for the running program, so that the rename leaves it whole.
bool UpdateInstaller::keepBackup() const {
    const std::string backup = backupPath(m_executable);
    std::error_code ec;
    fs::remove(backup, ec);
    if (::link(m_executable.c_str(), backup.c_str()) == 0) return true;
    return fs::copy_file(m_executable, backup, ec);
}

void UpdateInstaller::restoreBackup() const {
    std::error_code ec;
    fs::rename(backupPath(m_executable), m_executable, ec);
    fs::remove(markerPath(m_executable), ec);
}

UpdateInstaller::Start UpdateInstaller::startInstalled(const std::vector<std::string>& arguments,
                                                       std::chrono::milliseconds wait) const {
    const std::string marker = markerPath(m_executable);
    std::vector<std::string> environment;
    const std::string prefix = std::string(kConfirmVariable) + "=";
    for (char** e = environ; *e; ++e)
        if (std::string_view(*e).substr(0, prefix.size()) != prefix) environment.emplace_back(*e);
    environment.push_back(prefix + marker);
    std::vector<std::string> argumentList = {m_executable};
    argumentList.insert(argumentList.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv = pointers(argumentList);
    std::vector<char*> envp = pointers(environment);

    pid_t pid = 0;
    if (::posix_spawn(&pid, m_executable.c_str(), nullptr, nullptr, argv.data(), envp.data()) !=
        0) {
        restoreBackup();
        return Start::Restored;
    }
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::error_code ec;
    for (;;) {
        const bool ended = ::waitpid(pid, nullptr, WNOHANG) == pid;
        if (!fs::exists(marker, ec)) {
            fs::remove(backupPath(m_executable), ec);
            return Start::Confirmed;
        }
        if (ended) {
            restoreBackup();
            return Start::Restored;
        }
        if (std::chrono::steady_clock::now() >= deadline) return Start::Unconfirmed;
        std::this_thread::sleep_for(kConfirmPoll);
    }
}

UpdateInstaller::Previous UpdateInstaller::atStart(const std::string& executable) {
    const std::string marker = markerPath(executable);
    std::error_code ec;
    if (const char* confirming = std::getenv(kConfirmVariable)) {
        const bool ours = marker == confirming;
        ::unsetenv(kConfirmVariable);  // not for the programs this one starts
        if (ours && fs::exists(marker, ec)) return Previous::Confirming;
    }
    if (fs::exists(marker, ec)) {
        UpdateInstaller installer(executable, {}, 0);
        if (fs::exists(backupPath(executable), ec)) {
            installer.restoreBackup();
            return Previous::Restored;
        }
        fs::remove(marker, ec);
    }
    fs::remove(backupPath(executable), ec);
    return Previous::None;
}

void UpdateInstaller::confirm(const std::string& executable) {
    std::error_code ec;
    fs::remove(markerPath(executable), ec);
}

std::vector<uint8_t> UpdateInstaller::keyFromHex(const std::string& hex) {
    if (hex.size() != 2 * kKeySize) return {};
    std::vector<uint8_t> key;
    for (size_t i = 0; i < hex.size(); i += 2) {
        int high = hexDigit(hex[i]);
        int low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0) return {};
        key.push_back(static_cast<uint8_t>(high << 4 | low));
    }
    return key;
}
