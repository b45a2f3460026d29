#pragma once

#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "filter/band_fitter.h"
#include "filter/fit_settings.h"
#include "filter/fit_target.h"
#include "filter/measurement.h"
#include "filter/page_curve.h"

struct CtlOptions;

// qx7ctl eq fit: the options and files checked and read before the device
// hears of anything, the fit against the page's crossovers, and its report.
class EqFitCommand {
public:
    // Empty when the command line and files are good; usage tells whether a
    // fault is of the command line (else of a file).
    std::string prepare(const CtlOptions& options, int page, const std::string& file, bool& usage);
    // Fits against the page's crossovers (none when offline) and times it;
    // empty, or why there was nothing to fit.
    std::string fit(const PageCurve& crossovers);

    const BandFitter::Result& result() const { return m_result; }
    std::string text(const std::string& pageName) const;
    nlohmann::json json(const std::string& pageName, int page) const;

private:
    FitSettings m_settings;
    Measurement m_measurement;
    FitTarget m_target;
    BandFitter::Result m_result;
    double m_milliseconds = 0;
    double m_low = 0, m_high = 0;  // the range actually fitted
    bool m_narrowed = false;
};
