#include "ckf_file_data.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <system_error>
#include <thread>

#include "platform/atomic_file.h"
#include "platform/private_profile.h"
#include "preset_codec.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

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
#ifdef _WIN32
    wchar_t buffer[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return withSeparator(fs::path(std::wstring(buffer, n)).parent_path().string());
#else
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return "./";
    return withSeparator(exe.parent_path().string());
#endif
}

std::string defaultUserFolder() {
#ifdef _WIN32
    // The temporary-files path cut before "Temp", plus the section name.
    wchar_t buffer[MAX_PATH];
    DWORD n = GetTempPathW(MAX_PATH, buffer);
    std::string temp = fs::path(std::wstring(buffer, n)).string();
    size_t cut = temp.find("Temp");
    if (cut == std::string::npos) return std::string(CKF_FileData::kSection) + "\\";
    return temp.substr(0, cut) + CKF_FileData::kSection + "\\";
#else
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) return withSeparator(xdg) + CKF_FileData::kSection + "/";
    const char* home = std::getenv("HOME");
    if (home && *home) return withSeparator(home) + ".config/" + CKF_FileData::kSection + "/";
    return std::string(CKF_FileData::kSection) + "/";
#endif
}

std::array<uint32_t, 6> localNow() {
    std::time_t now = std::time(nullptr);
    std::tm t{};
#ifdef _WIN32
    localtime_s(&t, &now);
#else
    localtime_r(&now, &t);
#endif
    return {static_cast<uint32_t>(t.tm_year + 1900), static_cast<uint32_t>(t.tm_mon + 1),
            static_cast<uint32_t>(t.tm_mday),        static_cast<uint32_t>(t.tm_hour),
            static_cast<uint32_t>(t.tm_min),         static_cast<uint32_t>(t.tm_sec)};
}

// The random head, alphabet and fill of preset files; seeded once per thread
// from the system's entropy source, the time and the thread.
std::mt19937& presetRandom() {
    thread_local std::mt19937 random = [] {
        std::random_device device;
        auto time = static_cast<uint32_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count());
        auto thread =
            static_cast<uint32_t>(std::hash<std::thread::id>{}(std::this_thread::get_id()));
        std::seed_seq seed{device(), device(), device(), device(), time, thread};
        return std::mt19937(seed);
    }();
    return random;
}

bool isFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

bool hasFolderPart(const std::string& name) {
    return name.find('/') != std::string::npos || name.find('\\') != std::string::npos;
}

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    bool same = fs::equivalent(a, b, ec);
    return !ec && same;
}

std::string absolutePath(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::absolute(path, ec);
    return ec ? path : p.lexically_normal().string();
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

CKF_FileData::CKF_FileData() : m_created(localNow()) {}

void CKF_FileData::overrideFolders(const std::string& program, const std::string& user) {
    std::lock_guard lock(g_overrideMutex);
    g_programOverride = program.empty() ? "" : withSeparator(program);
    g_userOverride = user.empty() ? "" : withSeparator(user);
}

std::string CKF_FileData::programFolder() {
    {
        std::lock_guard lock(g_overrideMutex);
        if (!g_programOverride.empty()) return g_programOverride;
    }
    return executableFolder();
}

std::string CKF_FileData::userDataFolder() {
    {
        std::lock_guard lock(g_overrideMutex);
        if (!g_userOverride.empty()) return g_userOverride;
    }
    return defaultUserFolder();
}

bool CKF_FileData::folderExists(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(withoutSeparator(path), ec);
}

bool CKF_FileData::createFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directories(withoutSeparator(path), ec);
    return folderExists(path);
}

int CKF_FileData::readInt(const std::string& name, const std::string& key) const {
    int v = PrivateProfile::readInt(iniPath(programFolder(), name), kSection, key, -1);
    if (v == -1) v = PrivateProfile::readInt(iniPath(userDataFolder(), name), kSection, key, -1);
    return v;
}

int CKF_FileData::writeText(const std::string& name, const std::string& key,
                            const std::string& text) const {
    std::string program = programFolder();
    if (!folderExists(program)) createFolder(program);
    if (PrivateProfile::writeString(iniPath(program, name), kSection, key, text)) return 1;
    std::string user = userDataFolder();
    if (!folderExists(user)) createFolder(user);
    return PrivateProfile::writeString(iniPath(user, name), kSection, key, text) ? 1 : 0;
}

int CKF_FileData::writeInt(const std::string& name, const std::string& key, int value) const {
    return writeText(name, key, std::to_string(value));
}

int CKF_FileData::clearList(const std::string& name, const std::string& list) const {
    int count = readInt(name, list + "Max");
    if (count < 1) return 0;
    for (int i = 0; i < std::min(count, kMaxListItems); ++i)
        writeInt(name, list + "Index" + std::to_string(i), -1);
    writeInt(name, list + "Max", -1);
    return count;
}

int CKF_FileData::readListItem(const std::string& name, const std::string& list, int i) const {
    int count = readInt(name, list + "Max");
    if (count > 0 && i <= count) return readInt(name, list + "Index" + std::to_string(i));
    return -1;
}

int CKF_FileData::addToList(const std::string& name, const std::string& list, int value) const {
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

std::string CKF_FileData::withPresetExtension(const std::string& name) {
    if (name.find(kPresetExtension) != std::string::npos) return name;
    return name + kPresetExtension;
}

std::vector<std::string> CKF_FileData::presetCandidates(const std::string& name) {
    if (name.empty()) return {};
    std::string file = withPresetExtension(name);
    if (hasFolderPart(file)) return {file};
    return {file, programFolder() + file, userDataFolder() + file};
}

int CKF_FileData::writePreset(const std::string& path, const std::vector<uint16_t>& values) {
    if (path.empty()) return kPresetEmptyName;
    PresetRecord record = m_preset;
    record.timeStamp = m_created;
    record.values.assign(values.begin(), values.end());
    std::vector<uint8_t> bytes = PresetCodec::encode(record, presetRandom());
    if (!AtomicFile::write(withPresetExtension(path), bytes.data(), bytes.size()))
        return kPresetCannotCreate;
    return kPresetOk;
}

int CKF_FileData::readPreset(const std::string& path) {
    if (path.empty()) return kPresetEmptyName;
    std::string file = withPresetExtension(path);
    std::error_code ec;
    if (!isFile(file)) return kPresetCannotOpen;
    uintmax_t size = fs::file_size(file, ec);
    if (ec) return kPresetCannotOpen;
    if (size > kMaxPresetFileSize) return kPresetCorrupt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return kPresetCannotOpen;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    // A file that shrank meanwhile is judged by what could be read.
    bytes.resize(static_cast<size_t>(in.gcount()));
    return PresetCodec::decode(bytes.data(), bytes.size(), m_preset) ? kPresetOk : kPresetCorrupt;
}

int CKF_FileData::savePreset(const std::string& name, const std::vector<uint16_t>& values) {
    if (name.empty()) return kPresetEmptyName;
    std::string file = withPresetExtension(name);
    std::string path = file;
    int result;
    if (hasFolderPart(file)) {
        result = writePreset(path, values);
    } else {
        std::string program = programFolder();
        if (!folderExists(program)) createFolder(program);
        path = program + file;
        result = writePreset(path, values);
        if (result == kPresetCannotCreate) {
            std::string user = userDataFolder();
            if (!folderExists(user)) createFolder(user);
            path = user + file;
            result = writePreset(path, values);
        }
    }
    m_lastSaved = absolutePath(path);
    if (result == kPresetOk) removeOtherCopies(file, path);
    return result;
}

void CKF_FileData::removeOtherCopies(const std::string& name, const std::string& kept) {
    for (const std::string& candidate : presetCandidates(name)) {
        if (!isFile(candidate) || sameFile(candidate, kept)) continue;
        std::error_code ec;
        fs::remove(candidate, ec);
    }
}

int CKF_FileData::loadPreset(const std::string& name) {
    if (name.empty()) return kPresetEmptyName;
    int result = kPresetCannotOpen;
    for (const std::string& candidate : presetCandidates(name)) {
        result = readPreset(candidate);
        if (result != kPresetCannotOpen) break;
    }
    return result;
}

int CKF_FileData::deletePreset(const std::string& name) const {
    if (name.empty()) return kPresetEmptyName;
    for (const std::string& candidate : presetCandidates(name)) {
        if (!isFile(candidate)) continue;
        std::error_code ec;
        fs::remove(candidate, ec);
        break;
    }
    return kPresetOk;
}

bool CKF_FileData::presetExists(const std::string& name) const {
    for (const std::string& candidate : presetCandidates(name))
        if (isFile(candidate)) return true;
    return false;
}

std::string CKF_FileData::presetFullPath(const std::string& name) const {
    for (const std::string& candidate : presetCandidates(name))
        if (isFile(candidate)) return absolutePath(candidate);
    return userDataFolder() + withPresetExtension(name);
}

std::vector<std::string> CKF_FileData::listPresets() const {
    std::vector<std::string> list;
    std::vector<std::string> seen;
    for (const std::string& folder : {std::string("."), programFolder(), userDataFolder()}) {
        if (!folderExists(folder)) continue;
        if (std::any_of(seen.begin(), seen.end(),
                        [&](const std::string& s) { return sameFile(s, folder); }))
            continue;
        seen.push_back(folder);
        std::vector<std::string> names;
        std::error_code ec;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::string file = it->path().filename().string();
            if (endsWith(file, kPresetExtension) && isFile(it->path().string()))
                names.push_back(file);
        }
        std::sort(names.begin(), names.end());
        list.insert(list.end(), names.begin(), names.end());
    }
    return list;
}
