#include "files/preset_files.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <system_error>

#include "files/preset_codec.h"
#include "files/settings.h"
#include "platform/atomic_file.h"

namespace fs = std::filesystem;

namespace {

std::array<uint32_t, 6> localNow() {
    std::time_t now = std::time(nullptr);
    std::tm t{};
    localtime_r(&now, &t);
    return {static_cast<uint32_t>(t.tm_year + 1900), static_cast<uint32_t>(t.tm_mon + 1),
            static_cast<uint32_t>(t.tm_mday),        static_cast<uint32_t>(t.tm_hour),
            static_cast<uint32_t>(t.tm_min),         static_cast<uint32_t>(t.tm_sec)};
}

// The random head, alphabet and fill of preset files; seeded once per thread
// from the system's entropy source, the time and where the thread keeps it.
std::mt19937& presetRandom() {
    thread_local std::mt19937 random = [] {
        std::random_device device;
        auto time = static_cast<uint32_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count());
        thread_local const char here = 0;
        auto thread = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&here));
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

PresetFiles::PresetFiles() : m_created(localNow()) {}

std::string PresetFiles::withPresetExtension(const std::string& name) {
    if (name.find(kPresetExtension) != std::string::npos) return name;
    return name + kPresetExtension;
}

std::vector<std::string> PresetFiles::presetCandidates(const std::string& name) {
    if (name.empty()) return {};
    std::string file = withPresetExtension(name);
    if (hasFolderPart(file)) return {file};
    return {file, Settings::programFolder() + file, Settings::userDataFolder() + file};
}

int PresetFiles::writePreset(const std::string& path, const std::vector<uint16_t>& values) {
    if (path.empty()) return kPresetEmptyName;
    PresetRecord record = m_preset;
    record.timeStamp = m_created;
    record.values.assign(values.begin(), values.end());
    std::vector<uint8_t> bytes = PresetCodec::encode(record, presetRandom());
    if (!AtomicFile::write(withPresetExtension(path), bytes.data(), bytes.size()))
        return kPresetCannotCreate;
    return kPresetOk;
}

int PresetFiles::readPreset(const std::string& path) {
    if (path.empty()) return kPresetEmptyName;
    std::string file = withPresetExtension(path);
    std::error_code ec;
    if (!isFile(file)) return kPresetCannotOpen;
    uintmax_t size = fs::file_size(file, ec);
    if (ec) return kPresetCannotOpen;
    m_damage = PresetCodec::Damage::None;
    if (size > kMaxPresetFileSize) {
        m_damage = PresetCodec::Damage::TooLarge;
        return kPresetCorrupt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) return kPresetCannotOpen;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    // A file that shrank meanwhile is judged by what could be read.
    bytes.resize(static_cast<size_t>(in.gcount()));
    return PresetCodec::decode(bytes.data(), bytes.size(), m_preset, m_damage) ? kPresetOk
                                                                               : kPresetCorrupt;
}

int PresetFiles::savePreset(const std::string& name, const std::vector<uint16_t>& values) {
    if (name.empty()) return kPresetEmptyName;
    std::string file = withPresetExtension(name);
    std::string path = file;
    int result;
    if (hasFolderPart(file)) {
        result = writePreset(path, values);
    } else {
        std::string program = Settings::programFolder();
        if (!Settings::folderExists(program)) Settings::createFolder(program);
        path = program + file;
        result = writePreset(path, values);
        if (result == kPresetCannotCreate) {
            std::string user = Settings::userDataFolder();
            if (!Settings::folderExists(user)) Settings::createFolder(user);
            path = user + file;
            result = writePreset(path, values);
        }
    }
    m_lastSaved = absolutePath(path);
    if (result == kPresetOk) removeOtherCopies(file, path);
    return result;
}

void PresetFiles::removeOtherCopies(const std::string& name, const std::string& kept) {
    for (const std::string& candidate : presetCandidates(name)) {
        if (!isFile(candidate) || sameFile(candidate, kept)) continue;
        std::error_code ec;
        fs::remove(candidate, ec);
    }
}

int PresetFiles::loadPreset(const std::string& name) {
    if (name.empty()) return kPresetEmptyName;
    int result = kPresetCannotOpen;
    for (const std::string& candidate : presetCandidates(name)) {
        result = readPreset(candidate);
        if (result != kPresetCannotOpen) break;
    }
    return result;
}

int PresetFiles::deletePreset(const std::string& name) const {
    if (name.empty()) return kPresetEmptyName;
    for (const std::string& candidate : presetCandidates(name)) {
        if (!isFile(candidate)) continue;
        std::error_code ec;
        fs::remove(candidate, ec);
        break;
    }
    return kPresetOk;
}

bool PresetFiles::presetExists(const std::string& name) const {
    for (const std::string& candidate : presetCandidates(name))
        if (isFile(candidate)) return true;
    return false;
}

std::string PresetFiles::presetFullPath(const std::string& name) const {
    for (const std::string& candidate : presetCandidates(name))
        if (isFile(candidate)) return absolutePath(candidate);
    return Settings::userDataFolder() + withPresetExtension(name);
}

std::vector<std::string> PresetFiles::listPresets() const {
    std::vector<std::string> list;
    std::vector<std::string> seen;
    for (const std::string& folder :
         {std::string("."), Settings::programFolder(), Settings::userDataFolder()}) {
        if (!Settings::folderExists(folder)) continue;
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
