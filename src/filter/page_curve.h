#pragma once

#include <vector>

#include "filter/eq_band.h"
#include "filter/response_graph_model.h"

// What a page's graph needs to draw its summed curve: the bands, whether the
// equaliser is on, the crossovers as the graph takes them and the page's
// frequency limits.
struct PageCurve {
    std::vector<EqBand> bands;
    bool eqEnabled = true;
    int highPassType = 8;
    int lowPassType = 9;
    double highPassFrequency = 19.0;
    double lowPassFrequency = 20600.0;
    ResponseGraphModel::Limits limits;
};
