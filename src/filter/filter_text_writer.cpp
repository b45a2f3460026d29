#include "filter/filter_text_writer.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/atomic_file.h"

namespace {

const char* typeName(int type) {
    return type == 6 ? "LSC" : type == 5 ? "HSC" : "PK";
}

std::string now() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char text[64];
    std::strftime(text, sizeof text, "%b %d, %Y %H:%M:%S", &local);
    return text;
}

}  // namespace

std::string FilterTextWriter::number(double value) {
    if (!std::isfinite(value)) return "0";
    // Grid frequencies, Q entries and gain steps all fit in two decimals.
    char text[48];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string out = text;
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
    return out == "-0" ? "0" : out;
}

std::string FilterTextWriter::text(const std::vector<EqBand>& bands, const std::string& notes,
                                   const std::string& dated) {
    std::string out = "Filter Settings file\n\nQX7 equaliser export\nDated: " + dated +
                      "\n\nNotes: " + notes + "\n\nEqualiser: Generic\nNo measurement\n";
    int n = 0;
    for (const EqBand& b : bands) {
        char line[160];
        std::snprintf(line, sizeof line, "Filter %2d: ON  %-3s Fc %s Hz Gain %s dB Q %s\n", ++n,
                      typeName(b.type), number(b.frequency).c_str(), number(b.gain).c_str(),
                      number(b.q).c_str());
        out += line;
    }
    return out;
}

std::string FilterTextWriter::writeFile(const std::string& path, const std::vector<EqBand>& bands,
                                        const std::string& notes) {
    // Replaced whole or not at all: a failed export leaves the old file as it was.
    const std::string content = text(bands, notes, now());
    if (!AtomicFile::write(path, reinterpret_cast<const uint8_t*>(content.data()), content.size()))
        return "cannot write " + path;
    return {};
}
