#include "platform/atomic_file.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace {

std::string temporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
#ifdef _WIN32
    long pid = _getpid();
#else
    long pid = ::getpid();
#endif
    return path + ".tmp" + std::to_string(pid) + "-" + std::to_string(counter++);
}

bool writeAndSync(std::FILE* f, const uint8_t* data, size_t size) {
    if (size > 0 && std::fwrite(data, 1, size, f) != size) return false;
    if (std::fflush(f) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return ::fsync(::fileno(f)) == 0;
#endif
}

}  // namespace

bool AtomicFile::write(const std::string& path, const uint8_t* data, size_t size) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // A folder of that name stays what it is.
    if (fs::is_directory(path, ec)) return false;
    const std::string tmp = temporaryName(path);
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    bool ok = writeAndSync(f, data, size);
    ok = std::fclose(f) == 0 && ok;
    if (ok) fs::rename(tmp, path, ec);
    if (!ok || ec) {
        fs::remove(tmp, ec);
        return false;
    }
    return true;
}
