#include "link/update_installer.h"

#include <fcntl.h>
#include <sodium.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

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

UpdateInstaller::UpdateInstaller(std::string executable, std::vector<uint8_t> publicKey)
    : m_executable(std::move(executable)), m_key(std::move(publicKey)) {}

bool UpdateInstaller::verify(const std::vector<uint8_t>& signedFile,
                             const std::vector<uint8_t>& key) {
    if (key.size() != kKeySize || signedFile.size() <= kSignatureSize) return false;
    if (sodium_init() < 0) return false;
    const size_t size = signedFile.size() - kSignatureSize;
    return crypto_sign_verify_detached(signedFile.data() + size, signedFile.data(), size,
                                       key.data()) == 0;
}

UpdateInstaller::Result UpdateInstaller::install(const std::string& download) {
    std::vector<uint8_t> bytes = readAll(download);
    std::error_code ec;
    fs::remove(download, ec);
    if (!verify(bytes, m_key)) return Result::NotVerified;
    if (!folderWritable()) return Result::NotWritable;
    std::string written;
    if (!writeBeside(bytes.data(), bytes.size() - kSignatureSize, written)) return Result::Failed;
    if (!keepBackup() || std::rename(written.c_str(), m_executable.c_str()) != 0) {
        fs::remove(written, ec);
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

bool UpdateInstaller::startInstalled() const {
    char* argv[] = {const_cast<char*>(m_executable.c_str()), nullptr};
    pid_t pid = 0;
    return ::posix_spawn(&pid, m_executable.c_str(), nullptr, nullptr, argv, environ) == 0;
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

void UpdateInstaller::removeBackup(const std::string& executable) {
    std::error_code ec;
    fs::remove(backupPath(executable), ec);
}
