#include "filter/filter_text_reader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>

#include "filter/filter_text_writer.h"
#include "filter/frequency_table.h"
#include "filter/q_table.h"
#include "texts/filter_text_texts.h"

namespace {

constexpr int kPeaking = 7;
constexpr int kLowShelf = 6;
constexpr int kHighShelf = 5;
constexpr double kShelfQ = 0.71;  // what a shelf without a Q or with 12 dB slope has
constexpr double kEpsilon = 1e-6;

// Header lines that such files carry; they say nothing about the filters.
constexpr std::string_view kHeaders[] = {
    "filter settings file", "room eq",    "dated:",    "notes:",
    "equaliser:",           "equalizer:", "averages:", "measurement:",
    "no measurement",       "target",     "generic",   "qx7"};

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    return lower(a) == lower(b);
}

std::vector<std::string> words(std::string_view text) {
    std::vector<std::string> out;
    std::istringstream in{std::string(text)};
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

void appendUtf8(std::string& out, unsigned c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Nearest entry of an ascending table by ratio, for frequencies and Q.
double nearestByRatio(const SortedTable& table, int first, double x) {
    int i = std::max(table.indexOf(x), first);
    double best = table[i];
    if (i > first && std::abs(std::log(table[i - 1] / x)) <= std::abs(std::log(best / x)))
        best = table[i - 1];
    return best;
}

std::string signedNumber(double value) {
    return (value > 0 ? "+" : "") + FilterTextWriter::number(value);
}

// A damaged or hostile file must not bury the user in messages: each kind is
// reported up to a limit, then counted once.
class Report {
public:
    explicit Report(std::vector<std::string>& messages) : m_messages(messages) {}

    void add(const TextTriple& kind, std::string text) {
        int& count = m_counts[&kind];
        if (count < FilterTextReader::kMaxOfEachKind)
            m_messages.push_back(std::move(text));
        else if (count == FilterTextReader::kMaxOfEachKind)
            m_overflowing.push_back(&kind);
        ++count;
    }

    void addCounts() {
        for (const TextTriple* kind : m_overflowing) {
            const int more = m_counts[kind] - FilterTextReader::kMaxOfEachKind;
            m_messages.push_back(kind == &filtertext::NotUnderstood
                                     ? formatText(filtertext::MoreNotUnderstood, more)
                                     : formatText(filtertext::AndMore, more));
        }
    }

private:
    std::vector<std::string>& m_messages;
    std::map<const TextTriple*, int> m_counts;
    std::vector<const TextTriple*> m_overflowing;
};

// One "Filter N: ..." line, with what it reported.
class LineReader {
public:
    LineReader(int line, int number, FilterTextReader::GainRange gain, Report& report)
        : m_line(line), m_number(number), m_gain(gain), m_report(report) {}

    std::optional<EqBand> read(const std::vector<std::string>& w);

private:
    template <typename... Args>
    void say(const TextTriple& text, Args... args) {
        m_report.add(text, formatText(text, m_line, m_number, args...));
    }
    bool type(const std::vector<std::string>& w, size_t& k, EqBand& band, bool& needsQ);
    bool values(const std::vector<std::string>& w, size_t k, EqBand& band, bool needsQ);
    std::optional<double> number(const std::string& word);
    bool snap(EqBand& band);

    int m_line;
    int m_number;
    FilterTextReader::GainRange m_gain;
    Report& m_report;
    bool m_commaSaid = false;
};

std::optional<EqBand> LineReader::read(const std::vector<std::string>& w) {
    if (w.empty()) {
        say(filtertext::ValueMissing, "ON");
        return std::nullopt;
    }
    if (equalNoCase(w[0], "OFF")) {
        say(filtertext::FilterOff);
        return std::nullopt;
    }
    if (!equalNoCase(w[0], "ON")) {
        say(filtertext::UnknownWord, w[0].c_str());
        return std::nullopt;
    }
    if (w.size() < 2 || equalNoCase(w[1], "None")) {
        say(filtertext::FilterUnused);
        return std::nullopt;
    }
    EqBand band;
    size_t k = 1;
    bool needsQ = true;
    if (!type(w, k, band, needsQ) || !values(w, k, band, needsQ)) return std::nullopt;
    return snap(band) ? std::optional<EqBand>(band) : std::nullopt;
}

bool LineReader::type(const std::vector<std::string>& w, size_t& k, EqBand& band, bool& needsQ) {
    std::string t = lower(w[k++]);
    if (t == "pk" || t == "peq") {
        band.type = kPeaking;
        return true;
    }
    bool low = t == "ls" || t == "lsc";
    if (!low && t != "hs" && t != "hsc") {
        say(filtertext::TypeNotTaken, w[k - 1].c_str());
        return false;
    }
    band.type = low ? kLowShelf : kHighShelf;
    band.q = kShelfQ;
    needsQ = false;
    // A biquad shelf has the second-order slope; a first-order one it cannot draw.
    if (t.size() == 2 && k < w.size() && lower(w[k]).ends_with("db")) {
        std::string slope = lower(w[k]);
        if (slope != "12db") {
            say(filtertext::TypeNotTaken, (w[k - 1] + " " + w[k]).c_str());
            return false;
        }
        ++k;
    }
    return true;
}

std::optional<double> LineReader::number(const std::string& word) {
    std::string text = word;
    if (text.find(',') != std::string::npos) {
        std::replace(text.begin(), text.end(), ',', '.');
        if (!m_commaSaid) say(filtertext::DecimalComma);
        m_commaSaid = true;
    }
    const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
    double value = 0;
    auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        say(filtertext::NotANumber, word.c_str());
        return std::nullopt;
    }
    return value;
}

bool LineReader::values(const std::vector<std::string>& w, size_t k, EqBand& band, bool needsQ) {
    struct Key {
        const char* name;
        const char* unit;
        double* target;
        bool seen = false;
    };
    Key keys[] = {{"Fc", "Hz", &band.frequency}, {"Gain", "dB", &band.gain}, {"Q", "", &band.q}};
    while (k < w.size()) {
        Key* key = nullptr;
        for (Key& c : keys)
            if (equalNoCase(w[k], c.name)) key = &c;
        if (!key) {
            say(filtertext::UnknownWord, w[k].c_str());
            return false;
        }
        if (++k >= w.size()) break;
        std::optional<double> value = number(w[k++]);
        if (!value) return false;
        *key->target = *value;
        key->seen = true;
        if (!*key->unit) continue;
        if (k < w.size() && equalNoCase(w[k], key->unit)) {
            ++k;
        } else if (k < w.size() && key->target == &band.frequency && equalNoCase(w[k], "kHz")) {
            *key->target *= 1000;
            ++k;
        } else {
            say(filtertext::UnitMissing, key->name, key->unit);
        }
    }
    for (Key& c : keys) {
        if (c.seen || (c.target == &band.q && !needsQ)) continue;
        say(filtertext::ValueMissing, c.name);
        return false;
    }
    return true;
}

bool LineReader::snap(EqBand& band) {
    std::string f = FilterTextWriter::number(band.frequency);
    if (band.frequency < FrequencyTable::kMinimum - kEpsilon ||
        band.frequency > FrequencyTable::kMaximum + kEpsilon) {
        say(filtertext::FrequencyOutside, f.c_str());
        return false;
    }
    if (band.q <= 0) {
        say(filtertext::QNotPositive, FilterTextWriter::number(band.q).c_str());
        return false;
    }
    double frequency = nearestByRatio(FrequencyTable::grid(), 1, band.frequency);
    if (std::abs(frequency - band.frequency) > kEpsilon)
        say(filtertext::FrequencyMoved, f.c_str(), FilterTextWriter::number(frequency).c_str(),
            signedNumber(frequency - band.frequency).c_str());
    double q = nearestByRatio(QTable::table(), 0, band.q);
    if (std::abs(q - band.q) > kEpsilon)
        say(filtertext::QMoved, FilterTextWriter::number(band.q).c_str(),
            FilterTextWriter::number(q).c_str(), signedNumber(q - band.q).c_str());
    double gain = std::clamp(std::round(band.gain * 10) / 10, m_gain.minimum, m_gain.maximum);
    if (std::abs(gain - band.gain) > kEpsilon)
        say(filtertext::GainMoved, FilterTextWriter::number(band.gain).c_str(),
            FilterTextWriter::number(gain).c_str(), signedNumber(gain - band.gain).c_str());
    band.frequency = frequency;
    band.q = q;
    band.gain = gain == 0 ? 0 : gain;  // no "-0"
    return true;
}

bool isHeader(std::string_view line) {
    std::string l = lower(line);
    return std::any_of(std::begin(kHeaders), std::end(kHeaders),
                       [&](std::string_view h) { return l.starts_with(h); });
}

// "Filter N:" and what follows; false for any other line.
bool filterLine(std::string_view line, int& number, std::string_view& rest) {
    if (line.size() < 7 || !equalNoCase(line.substr(0, 6), "filter")) return false;
    size_t k = line.find_first_not_of(" \t", 6);
    if (k == std::string_view::npos || k == 6) return false;
    auto [end, ec] = std::from_chars(line.data() + k, line.data() + line.size(), number);
    if (ec != std::errc() || end == line.data() + line.size() || *end != ':') return false;
    rest = line.substr(static_cast<size_t>(end - line.data()) + 1);
    return true;
}

bool printable(std::string_view line) {
    return std::none_of(line.begin(), line.end(), [](char c) {
        auto u = static_cast<unsigned char>(c);
        return u < 0x20 && c != '\t';
    });
}

}  // namespace

std::string FilterTextReader::decoded(std::string_view bytes) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF)
        return std::string(bytes.substr(3));
    bool little = bytes.size() >= 2 && byte(0) == 0xFF && byte(1) == 0xFE;
    bool big = bytes.size() >= 2 && byte(0) == 0xFE && byte(1) == 0xFF;
    if (!little && !big) return std::string(bytes);
    std::string out;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        unsigned unit = little ? byte(i) | byte(i + 1) << 8 : byte(i) << 8 | byte(i + 1);
        // Outside the basic plane nothing of a filter line is lost.
        appendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? '?' : unit);
    }
    return out;
}

FilterTextReader::Result FilterTextReader::read(std::string_view bytes, int bandCount,
                                                GainRange gain) {
    Result result;
    if (bytes.size() > static_cast<size_t>(kMaxBytes)) {
        result.readable = false;
        result.messages.push_back(formatText(filtertext::TooLarge, kMaxBytes / 1024));
        return result;
    }
    std::string text = decoded(bytes);
    std::string_view rest = text;
    Report report(result.messages);
    for (int line = 1; !rest.empty(); ++line) {
        size_t end = std::min(rest.find('\n'), rest.size());
        std::string_view l = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        while (!l.empty() && (l.back() == '\r' || l.back() == ' ' || l.back() == '\t'))
            l.remove_suffix(1);
        while (!l.empty() && (l.front() == ' ' || l.front() == '\t')) l.remove_prefix(1);
        int number = 0;
        std::string_view filter;
        if (!printable(l) || !filterLine(l, number, filter)) {
            if (l.empty() || (printable(l) && isHeader(l))) continue;
            report.add(filtertext::NotUnderstood, formatText(filtertext::NotUnderstood, line));
            continue;
        }
        LineReader reader(line, number, gain, report);
        std::optional<EqBand> band = reader.read(words(filter));
        if (!band) continue;
        if (static_cast<int>(result.filters.size()) >= bandCount) {
            report.add(filtertext::BeyondBands,
                       formatText(filtertext::BeyondBands, line, number, bandCount));
            continue;
        }
        result.filters.push_back({*band, line, number});
    }
    report.addCounts();
    if (result.filters.empty()) result.messages.push_back(filtertext::NoFilters.get());
    return result;
}

FilterTextReader::Result FilterTextReader::readFile(const std::string& path, int bandCount) {
    Result result;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        result.readable = false;
        result.messages.push_back(formatText(filtertext::CannotOpen, path.c_str()));
        return result;
    }
    std::string bytes;
    bytes.resize(static_cast<size_t>(kMaxBytes) + 1);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return read(bytes, bandCount);
}
