// Any bytes given to the measurement reader: no crash, no hang; either a
// message and no points, or rising positive frequencies with finite levels,
// enough of them between 20 Hz and 20 kHz, that the fit's smoothing reads
// into finite levels.
// Seed corpus: corpus/ (one export of each kind).
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "filter/fit_problem.h"
#include "filter/measurement_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    MeasurementReader::Result r = MeasurementReader::read(bytes);
    const Measurement& m = r.measurement;
    if (!r.ok()) {
        if (!m.empty()) std::abort();
        return 0;
    }
    if (m.frequency.size() != m.level.size()) std::abort();
    int inside = 0;
    for (size_t k = 0; k < m.frequency.size(); ++k) {
        if (!(m.frequency[k] > 0) || !std::isfinite(m.frequency[k]) || !std::isfinite(m.level[k]))
            std::abort();
        if (k > 0 && !(m.frequency[k] > m.frequency[k - 1])) std::abort();
        inside += m.frequency[k] >= 20 && m.frequency[k] <= 20000;
    }
    if (inside < MeasurementReader::kMinPoints) std::abort();
    for (double f : {20.0, 100.0, 1000.0, 10000.0})
        for (int fraction : {0, 12})
            if (!std::isfinite(FitProblem::smoothed(m, f, fraction))) std::abort();
    return 0;
}
