#include "filter/measurement_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <optional>
#include <vector>

#include "filter/filter_text_reader.h"
#include "texts/measurement_texts.h"

namespace {

constexpr double kLowest = 20.0;
constexpr double kHighest = 20000.0;
constexpr double kLevelLimit = 1000.0;  // dB; beyond this a column is not a level

std::string_view trimmed(std::string_view l) {
    const char* space = " \t\r\v\f";
    size_t first = l.find_first_not_of(space);
    if (first == std::string_view::npos) return {};
    return l.substr(first, l.find_last_not_of(space) - first + 1);
}

std::vector<std::string_view> splitOn(std::string_view line, char separator) {
    std::vector<std::string_view> out;
    for (size_t start = 0;;) {
        size_t end = line.find(separator, start);
        out.push_back(trimmed(line.substr(start, end - start)));
        if (end == std::string_view::npos) return out;
        start = end + 1;
    }
}

std::vector<std::string_view> splitOnSpace(std::string_view line) {
    std::vector<std::string_view> out;
    size_t k = 0;
    while ((k = line.find_first_not_of(" \t", k)) != std::string_view::npos) {
        size_t end = std::min(line.find_first_of(" \t", k), line.size());
        out.push_back(line.substr(k, end - k));
        k = end;
    }
    return out;
}

std::optional<double> number(std::string_view text, bool decimalComma) {
    std::string t(text);
    if (decimalComma) std::replace(t.begin(), t.end(), ',', '.');
    const char* begin = t.data() + (t.starts_with('+') ? 1 : 0);
    double value = 0;
    auto [end, ec] = std::from_chars(begin, t.data() + t.size(), value);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

struct Fields {
    std::vector<std::string_view> items;
    bool decimalComma = true;
};

// A comma separates columns when every piece it cuts is a number (or the line
// is a header); otherwise it is a decimal comma between spaced columns.
Fields fieldsOf(std::string_view line) {
    if (line.find(';') != std::string_view::npos) return {splitOn(line, ';'), true};
    if (line.find(',') == std::string_view::npos) return {splitOnSpace(line), true};
    std::vector<std::string_view> pieces = splitOn(line, ',');
    bool allNumbers = std::all_of(pieces.begin(), pieces.end(),
                                  [](std::string_view p) { return number(p, false).has_value(); });
    std::vector<std::string_view> spaced = splitOnSpace(line);
    bool header = !number(spaced.front(), true) && !number(pieces.front(), false);
    if (allNumbers || header) return {pieces, false};
    return {spaced, true};
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

struct Columns {
    size_t frequency = 0;
    size_t level = 1;
};

// Which columns a header names; the level prefers the raw one over SPL and
// plain levels, and never a phase.
Columns columnsOf(const std::vector<std::string_view>& header) {
    Columns c;
    int bestRank = 0;
    bool frequencyFound = false;
    for (size_t k = 0; k < header.size(); ++k) {
        std::string name = lower(header[k]);
        if (!frequencyFound && (name.find("freq") != std::string::npos || name == "hz")) {
            c.frequency = k;
            frequencyFound = true;
            continue;
        }
        if (name.find("phase") != std::string::npos) continue;
        int rank = name.find("raw") != std::string::npos   ? 3
                   : name.find("spl") != std::string::npos ? 2
                   : name.find("db") != std::string::npos ||
                           name.find("level") != std::string::npos ||
                           name.find("mag") != std::string::npos
                       ? 1
                       : 0;
        if (rank > bestRank) {
            bestRank = rank;
            c.level = k;
        }
    }
    if (bestRank == 0) c.level = c.frequency == 0 ? 1 : 0;
    return c;
}

class LinesReader {
public:
    std::string line(int number, std::string_view text);
    Measurement& measurement() { return m_measurement; }

private:
    std::string data(int number, const Fields& fields);

    Measurement m_measurement;
    Columns m_columns;
    bool m_headerAllowed = true;
};

std::string LinesReader::line(int lineNumber, std::string_view text) {
    std::string_view l = trimmed(text);
    if (l.empty() || l.front() == '*' || l.front() == '#') return {};
    bool printable = std::none_of(l.begin(), l.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 && c != '\t';
    });
    if (!printable) return formatText(measurementtext::NotUnderstood, lineNumber);
    Fields fields = fieldsOf(l);
    if (!number(fields.items.front(), fields.decimalComma)) {
        if (!m_headerAllowed) return formatText(measurementtext::NotUnderstood, lineNumber);
        m_headerAllowed = false;
        m_columns = columnsOf(fields.items);
        return {};
    }
    m_headerAllowed = false;
    return data(lineNumber, fields);
}

std::string LinesReader::data(int line, const Fields& fields) {
    if (fields.items.size() <= std::max(m_columns.frequency, m_columns.level))
        return formatText(measurementtext::TooFewColumns, line);
    std::string_view fText = fields.items[m_columns.frequency];
    std::string_view lText = fields.items[m_columns.level];
    std::optional<double> f = number(fText, fields.decimalComma);
    std::optional<double> level = number(lText, fields.decimalComma);
    if (!f) return formatText(measurementtext::NotANumber, line, std::string(fText).c_str());
    if (!level || std::abs(*level) > kLevelLimit)
        return formatText(measurementtext::NotANumber, line, std::string(lText).c_str());
    if (*f <= 0) return formatText(measurementtext::NotPositive, line, std::string(fText).c_str());
    if (!m_measurement.empty() && *f <= m_measurement.frequency.back())
        return formatText(measurementtext::NotRising, line, std::string(fText).c_str());
    m_measurement.frequency.push_back(*f);
    m_measurement.level.push_back(*level);
    return {};
}

}  // namespace

MeasurementReader::Result MeasurementReader::read(std::string_view bytes) {
    Result result;
    if (bytes.size() > static_cast<size_t>(kMaxBytes)) {
        result.error = formatText(measurementtext::TooLarge, kMaxBytes >> 20);
        return result;
    }
    std::string text = FilterTextReader::decoded(bytes);
    std::string_view rest = text;
    LinesReader reader;
    for (int line = 1; !rest.empty(); ++line) {
        size_t end = std::min(rest.find('\n'), rest.size());
        result.error = reader.line(line, rest.substr(0, end));
        if (!result.error.empty()) return result;
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    const std::vector<double>& f = reader.measurement().frequency;
    auto inside =
        std::count_if(f.begin(), f.end(), [](double x) { return x >= kLowest && x <= kHighest; });
    if (inside < kMinPoints) {
        result.error = formatText(measurementtext::TooFewPoints, int(inside), kMinPoints);
        return result;
    }
    result.measurement = std::move(reader.measurement());
    return result;
}

MeasurementReader::Result MeasurementReader::readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {{}, formatText(measurementtext::CannotOpen, path.c_str())};
    std::string bytes(static_cast<size_t>(kMaxBytes) + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return read(bytes);
}
