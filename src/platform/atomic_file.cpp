#include "platform/atomic_file.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace {

std::string temporaryName(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    long pid = ::getpid();
    return path + ".tmp" + std::to_string(pid) + "-" + std::to_string(counter++);
}

bool writeAndSync(std::FILE* f, const uint8_t* data, size_t size) {
    if (size > 0 && std::fwrite(data, 1, size, f) != size) return false;
    if (std::fflush(f) != 0) return false;
    return ::fsync(::fileno(f)) == 0;
}

// O_EXCL and O_NOFOLLOW: in a folder others can write to, a name planted
// beforehand (a symbolic link to someone's file) is never followed or reused.
std::FILE* createTemporary(const std::string& path, std::string& tmp) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        tmp = temporaryName(path);
        int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            std::FILE* f = ::fdopen(fd, "wb");
            if (f) return f;
            ::close(fd);
            ::unlink(tmp.c_str());
            return nullptr;
        }
        if (errno != EEXIST) return nullptr;
    }
    return nullptr;
}

}  // namespace

bool AtomicFile::write(const std::string& path, const uint8_t* data, size_t size) {
    namespace fs = std::filesystem;
    std::error_code ec;
    // A folder of that name stays what it is.
    if (fs::is_directory(path, ec)) return false;
    std::string tmp;
    std::FILE* f = createTemporary(path, tmp);
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
