#include "files/file_digest.h"

#include <sodium.h>

#include <array>
#include <fstream>

FileDigest::Digest FileDigest::sha256(const uint8_t* data, size_t size) {
    if (sodium_init() < 0) return {};
    Digest out(kSize);
    crypto_hash_sha256(out.data(), data, size);
    return out;
}

std::optional<FileDigest::Digest> FileDigest::sha256OfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in || sodium_init() < 0) return std::nullopt;
    crypto_hash_sha256_state state;
    crypto_hash_sha256_init(&state);
    std::array<char, 65536> buffer;
    while (in.read(buffer.data(), buffer.size()) || in.gcount() > 0)
        crypto_hash_sha256_update(&state, reinterpret_cast<const uint8_t*>(buffer.data()),
                                  static_cast<unsigned long long>(in.gcount()));
    if (in.bad()) return std::nullopt;
    Digest out(kSize);
    crypto_hash_sha256_final(&state, out.data());
    return out;
}

std::string FileDigest::hex(const Digest& digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (uint8_t b : digest) {
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}
