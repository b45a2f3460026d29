#pragma once

#include <cstdint>
#include <vector>

#include "filter/eq_band.h"
#include "filter/fit_problem.h"
#include "filter/fit_settings.h"

// Fits a page's bands to a problem: a damped Gauss-Newton (Levenberg-
// Marquardt) search over ln f, gain and ln Q with analytic derivatives, from
// many deterministic starts seeded at the residual's peaks and dips, then a
// coordinate search on the device's frequency grid, Q table and gain steps.
// The error is the RMS of measurement + crossovers + bands - target after the
// best constant offset; the bands' summed boost stays within the limit
// everywhere. The same input gives the same bands.
class BandFitter {
public:
    struct Result {
        std::vector<EqBand> bands;  // on the lattice
        double rmsBefore = 0, maxBefore = 0;
        double rmsAfter = 0, maxAfter = 0;
        double continuousRms = 0;       // of the best fit before the lattice
        std::vector<double> equaliser;  // the bands' sum on the problem's grid
    };

    // One band off the lattice: type, ln f, gain in dB, ln Q.
    struct Band {
        int type = 7;
        double x[3] = {};
    };

    BandFitter(const FitProblem& problem, const FitSettings& settings);

    Result fit() const;
    // The best continuous fit found from the given number of starts; the
    // first ones are those of fit(), the rest alternately seeded and random.
    std::vector<Band> continuousFit(int starts) const;
    // RMS after the best offset of the problem with these bands, off the lattice.
    double rms(const std::vector<Band>& bands) const;

private:
    struct Evaluation;
    struct Fixed;
    struct Seed {
        double x[3];
        double score;
    };

    std::vector<Band> greedyStart(uint64_t variant) const;
    std::vector<Band> randomStart(uint64_t variant) const;
    // Moves the least useful bands, one at a time, to the residual's largest
    // features and keeps each move that lowers the cost.
    void relocate(std::vector<Band>& bands, double& cost) const;
    std::vector<Seed> seeds(const std::vector<double>& residual) const;
    // Levenberg-Marquardt over the bands from `first` on; the cost it reached.
    double refine(std::vector<Band>& bands, size_t first, int iterations) const;
    static void normalEquations(const Evaluation& e, std::vector<double>& a,
                                std::vector<double>& g);
    // The bands before `first` as products of their ratios, for evaluate.
    Fixed fixedPart(const std::vector<Band>& bands, size_t first) const;
    double evaluate(const std::vector<Band>& bands, size_t first, const Fixed& fixed,
                    Evaluation* jacobian) const;
    double cost(const std::vector<Band>& bands) const;
    // One band after another onto the lattice, the narrowest first, the
    // others refitted around each.
    std::vector<Band> snapped(std::vector<Band> bands) const;
    void clamp(Band& band) const;
    std::vector<double> residual(const std::vector<Band>& bands) const;

    const FitProblem& m_problem;
    FitSettings m_settings;
    std::vector<EvaluationPoint>
        m_boostPoints;  // where the summed boost is held down while searching
    double m_lower[3];
    double m_upper[3];
};
