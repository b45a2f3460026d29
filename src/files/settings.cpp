#include "files/settings.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <system_error>

#include "platform/private_profile.h"

namespace fs = std::filesystem;

namespace {

// A list count beyond this comes from a damaged file; scanning stops there.
constexpr int kMaxListItems = 1000;

std::mutex g_overrideMutex;
std::string g_programOverride;
std::string g_userOverride;

std::string withSeparator(std::string path) {
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    return path;
}

std::string withoutSeparator(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    return path;
}

std::string executableFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return withSeparator(exe.parent_path().string());
}

std::string defaultUserFolder() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) return withSeparator(xdg) + Settings::kSection + "/";
    const char* home = std::getenv("HOME");
    if (home && *home) return withSeparator(home) + ".config/" + Settings::kSection + "/";
    return std::string(Settings::kSection) + "/";
}

}  // namespace

void Settings::overrideFolders(const std::string& program, const std::string& user) {
    std::lock_guard lock(g_overrideMutex);
    g_programOverride = program.empty() ? "" : withSeparator(program);
    g_userOverride = user.empty() ? "" : withSeparator(user);
}

std::string Settings::programFolder() {
    {
        std::lock_guard lock(g_overrideMutex);
        if (!g_programOverride.empty()) return g_programOverride;
    }
    return executableFolder();
}

std::string Settings::userDataFolder() {
    {
        std::lock_guard lock(g_overrideMutex);
        if (!g_userOverride.empty()) return g_userOverride;
    }
    return defaultUserFolder();
}

bool Settings::folderExists(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(withoutSeparator(path), ec);
}

bool Settings::createFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directories(withoutSeparator(path), ec);
    return folderExists(path);
}

int Settings::readInt(const std::string& name, const std::string& key) const {
    int v = PrivateProfile::readInt(iniPath(programFolder(), name), kSection, key, -1);
    if (v == -1) v = PrivateProfile::readInt(iniPath(userDataFolder(), name), kSection, key, -1);
    return v;
}

std::string Settings::readText(const std::string& name, const std::string& key) const {
    auto text = PrivateProfile::readString(iniPath(programFolder(), name), kSection, key);
    if (!text) text = PrivateProfile::readString(iniPath(userDataFolder(), name), kSection, key);
    return text.value_or(std::string());
}

bool Settings::writeText(const std::string& name, const std::string& key,
                         const std::string& text) const {
    std::string program = programFolder();
    if (!folderExists(program)) createFolder(program);
    if (PrivateProfile::writeString(iniPath(program, name), kSection, key, text)) return true;
    std::string user = userDataFolder();
    if (!folderExists(user)) createFolder(user);
    return PrivateProfile::writeString(iniPath(user, name), kSection, key, text);
}

bool Settings::writeInt(const std::string& name, const std::string& key, int value) const {
    return writeText(name, key, std::to_string(value));
}

int Settings::clearList(const std::string& name, const std::string& list) const {
    int count = readInt(name, list + "Max");
    if (count < 1) return 0;
    for (int i = 0; i < std::min(count, kMaxListItems); ++i)
        writeInt(name, list + "Index" + std::to_string(i), -1);
    writeInt(name, list + "Max", -1);
    return count;
}

int Settings::readListItem(const std::string& name, const std::string& list, int i) const {
    int count = readInt(name, list + "Max");
    if (count > 0 && i <= count) return readInt(name, list + "Index" + std::to_string(i));
    return -1;
}

int Settings::addToList(const std::string& name, const std::string& list, int value) const {
    int count = readInt(name, list + "Max");
    if (count < 0) count = 0;
    if (count > kMaxListItems) count = kMaxListItems;
    int i = 0;
    for (; i < count; ++i) {
        int item = readInt(name, list + "Index" + std::to_string(i));
        if (item == -1) break;
        if (item == value) return count;
    }
    if (i == count) ++count;
    writeInt(name, list + "Max", count);
    writeInt(name, list + "Index" + std::to_string(i), value);
    return count;
}
