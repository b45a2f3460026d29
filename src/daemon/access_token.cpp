#include "daemon/access_token.h"

#include <sodium.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/settings.h"
#include "remote/daemon_client.h"

namespace {

bool wellFormed(const std::string& token) {
    if (token.size() != AccessToken::kLength) return false;
    for (char c : token)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

std::string readToken(const std::string& path) {
    std::ifstream in(path);
    std::string token;
    std::getline(in, token);
    return wellFormed(token) ? token : std::string();
}

bool writeToken(const std::string& path, const std::string& token, std::string& error) {
    std::string temporary = path + ".new";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    std::string line = token + "\n";
    bool ok = fd >= 0 && ::fchmod(fd, 0600) == 0 &&
              ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size()) &&
              ::fsync(fd) == 0;
    int saved = errno;
    if (fd >= 0) ::close(fd);
    if (ok && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
    if (ok) saved = errno;
    ::unlink(temporary.c_str());
    error = "cannot store the access token in " + path + ": " + std::strerror(saved);
    return false;
}

}  // namespace

std::string AccessToken::loadOrCreate(const std::string& path, bool renew, std::string& error) {
    if (!renew) {
        std::string token = readToken(path);
        if (!token.empty()) {
            ::chmod(path.c_str(), 0600);
            return token;
        }
    }
    std::string token = generate();
    if (token.empty()) {
        error = "no random numbers for an access token";
        return {};
    }
    return writeToken(path, token, error) ? token : std::string();
}

std::string AccessToken::generate() {
    if (sodium_init() < 0) return {};
    unsigned char bytes[kLength / 2];
    randombytes_buf(bytes, sizeof bytes);
    char hex[kLength + 1];
    sodium_bin2hex(hex, sizeof hex, bytes, sizeof bytes);
    return hex;
}

bool AccessToken::matches(std::string_view expected, std::string_view given) {
    if (expected.empty() || expected.size() != given.size()) return false;
    return sodium_memcmp(expected.data(), given.data(), expected.size()) == 0;
}

std::string_view AccessToken::fromAuthorization(std::string_view header) {
    constexpr std::string_view kScheme = "Bearer ";
    if (header.size() <= kScheme.size()) return {};
    for (size_t i = 0; i < kScheme.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(header[i])) !=
            std::tolower(static_cast<unsigned char>(kScheme[i])))
            return {};
    header.remove_prefix(kScheme.size());
    while (!header.empty() && header.back() == ' ') header.remove_suffix(1);
    return header;
}

std::string AccessToken::defaultPath() {
    std::string folder = Settings::userDataFolder();
    Settings::createFolder(folder);
    return folder + DaemonClient::kTokenFile;
}
