#include "cli/eq_fit_command.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <nlohmann/json.hpp>

#include "binding/equaliser_bands.h"
#include "cli/ctl_options.h"
#include "filter/measurement_reader.h"

namespace {

constexpr double kLowest = 10.0;
constexpr double kHighest = 24000.0;
constexpr double kHousePrefixLength = 6;  // "house:"

bool number(const std::string& text, double low, double high, double& out) {
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end || !(v >= low && v <= high)) return false;
    out = v;
    return true;
}

bool parseRange(const std::string& text, double& low, double& high) {
    size_t dash = text.find('-');
    if (dash == std::string::npos) return false;
    double lo = 0, hi = 0;
    if (!number(text.substr(0, dash), kLowest, kHighest, lo) ||
        !number(text.substr(dash + 1), kLowest, kHighest, hi) || hi < 2 * lo)
        return false;
    low = lo;
    high = hi;
    return true;
}

bool parseSmoothing(std::string text, int& out) {
    if (text == "none") text = "0";
    if (text.rfind("1/", 0) == 0) text = text.substr(2);
    for (int n : {0, 3, 6, 12, 24})
        if (text == std::to_string(n)) {
            out = n;
            return true;
        }
    return false;
}

// "house" or "house:B:T".
bool parseHouse(const std::string& text, FitTarget& target) {
    if (text == "house") {
        target = FitTarget::house();
        return true;
    }
    size_t colon = text.find(':', kHousePrefixLength);
    double bass = 0, tilt = 0;
    if (text.rfind("house:", 0) != 0 || colon == std::string::npos ||
        !number(text.substr(6, colon - 6), -20, 20, bass) ||
        !number(text.substr(colon + 1), -6, 6, tilt))
        return false;
    target = FitTarget::house(bass, tilt);
    return true;
}

const char* typeWord(int type) {
    return type == 6 ? "LSC" : type == 5 ? "HSC" : "PK";
}

}  // namespace

std::string EqFitCommand::prepare(const CtlOptions& options, int page, const std::string& file,
                                  bool& usage) {
    usage = true;
    m_settings.bands = EqualiserBands::bandCount(page);
    if (!options.range.empty() && !parseRange(options.range, m_settings.low, m_settings.high))
        return "--range takes LOW-HIGH in Hz, 10 to 24000, HIGH at least twice LOW, e.g. 20-500";
    if (!options.smoothing.empty() && !parseSmoothing(options.smoothing, m_settings.smoothing))
        return "--smoothing takes 3, 6, 12, 24 (a 1/N octave) or none";
    if (!options.maxBoost.empty() && !number(options.maxBoost, 0, 12, m_settings.maxBoost))
        return "--max-boost takes dB from 0 to 12";
    if (options.write && options.offline)
        return "--write needs the device; --offline fits without it";
    usage = false;
    if (options.target == "flat") {
        m_target = FitTarget::flat();
    } else if (!parseHouse(options.target, m_target)) {
        if (options.target.rfind("house", 0) == 0) {
            usage = true;
            return "--target house:B:T takes a bass rise B and a fall T in dB per octave, e.g. "
                   "house:4:1";
        }
        MeasurementReader::Result target = MeasurementReader::readFile(options.target);
        if (!target.ok()) return options.target + ": " + target.error;
        m_target = FitTarget::file(std::move(target.measurement));
    }
    MeasurementReader::Result measured = MeasurementReader::readFile(file);
    if (!measured.ok()) return file + ": " + measured.error;
    m_measurement = std::move(measured.measurement);
    return {};
}

std::string EqFitCommand::fit(const PageCurve& crossovers) {
    auto start = std::chrono::steady_clock::now();
    std::string error;
    FitProblem problem = FitProblem::build(m_measurement, m_target, crossovers, m_settings, error);
    if (!error.empty()) return error;
    m_result = BandFitter(problem, m_settings).fit();
    m_low = problem.low();
    m_high = problem.high();
    m_narrowed = problem.narrowed(m_settings);
    m_milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return {};
}

std::string EqFitCommand::text(const std::string& pageName) const {
    std::string out;
    char line[160];
    std::snprintf(line, sizeof line, "%s: %zu bands fitted in %.0f ms\n", pageName.c_str(),
                  m_result.bands.size(), m_milliseconds);
    out += line;
    for (size_t j = 0; j < m_result.bands.size(); ++j) {
        const EqBand& b = m_result.bands[j];
        std::snprintf(line, sizeof line, "Band %zu: %-3s %7g Hz  Q %-5g %+5.1f dB\n", j + 1,
                      typeWord(b.type), b.frequency, b.q, b.gain);
        out += line;
    }
    std::snprintf(
        line, sizeof line,
        "RMS %.2f dB before, %.2f dB after; largest deviation %.2f dB before, %.2f dB after\n",
        m_result.rmsBefore, m_result.rmsAfter, m_result.maxBefore, m_result.maxAfter);
    out += line;
    if (m_narrowed) {
        std::snprintf(line, sizeof line,
                      "Fitted %.0f to %.0f Hz only: outside it the measurement ends or the page's "
                      "crossovers cut more than 6 dB\n",
                      m_low, m_high);
        out += line;
    }
    return out;
}

nlohmann::json EqFitCommand::json(const std::string& pageName, int page) const {
    nlohmann::json bands = nlohmann::json::array();
    for (const EqBand& b : m_result.bands)
        bands.push_back(
            {{"type", typeWord(b.type)}, {"frequency", b.frequency}, {"q", b.q}, {"gain", b.gain}});
    return nlohmann::json{{"page", pageName},
                          {"page_index", page},
                          {"bands", bands},
                          {"rms_before", m_result.rmsBefore},
                          {"max_before", m_result.maxBefore},
                          {"rms_after", m_result.rmsAfter},
                          {"max_after", m_result.maxAfter},
                          {"fitted_low", m_low},
                          {"fitted_high", m_high},
                          {"ms", m_milliseconds}};
}
