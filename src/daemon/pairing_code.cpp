#include "daemon/pairing_code.h"

#include <qrencode.h>

#include <memory>

namespace {

constexpr int kQuiet = 4;  // modules of light margin, as scanners expect

}  // namespace

std::string PairingCode::url(const std::string& host, unsigned port, const std::string& token) {
    std::string written = host.find(':') != std::string::npos ? "[" + host + "]" : host;
    if (host == "0.0.0.0" || host == "::") written = "127.0.0.1";
    return "http://" + written + ":" + std::to_string(port) + "/#token=" + token;
}

std::string PairingCode::render(const std::string& text) {
    std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
        QRcode_encodeString(text.c_str(), 0, QR_ECLEVEL_L, QR_MODE_8, 1), &QRcode_free);
    if (!code) return {};
    const int size = code->width;
    // Dark modules are drawn as spaces on a light cell, so that the code reads
    // on a dark terminal as a light one.
    auto dark = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= size || y >= size) return false;
        return (code->data[y * size + x] & 1) != 0;
    };
    static const char* const kCells[4] = {"\u2588", "\u2580", "\u2584", " "};
    std::string out;
    for (int y = -kQuiet; y < size + kQuiet; y += 2) {
        for (int x = -kQuiet; x < size + kQuiet; ++x)
            out += kCells[(dark(x, y) ? 2 : 0) + (dark(x, y + 1) ? 1 : 0)];
        out += "\n";
    }
    return out;
}
