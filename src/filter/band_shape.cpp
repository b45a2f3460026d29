#include "filter/band_shape.h"

#include <cmath>

#include "filter/filter_cascade.h"

namespace {

constexpr double kSteps[3] = {1e-4, 1e-3, 1e-4};

BiquadSection shelf(int type, double logF, double gain, double logQ) {
    double f = std::exp(logF), tenths = gain * 10, q = std::exp(logQ);
    return type == FilterCascade::kLowShelf ? BiquadSection::lowShelf(f, tenths, q)
                                            : BiquadSection::highShelf(f, tenths, q);
}

double squared(double x0, double x1, double x2, const EvaluationPoint& p) {
    double re = x0 + x1 * p.cos1 + x2 * p.cos2;
    double im = x1 * p.sin1 + x2 * p.sin2;
    return re * re + im * im;
}

}  // namespace

BandShape::BandShape(int type, double logF, double gain, double logQ)
    : m_peaking(type != FilterCascade::kLowShelf && type != FilterCascade::kHighShelf) {
    if (!m_peaking) {
        m_shelf[0] = shelf(type, logF, gain, logQ);
        for (int k = 0; k < 3; ++k) {
            double x[3] = {logF, gain, logQ};
            x[k] -= kSteps[k];
            m_shelf[size_t(1 + 2 * k)] = shelf(type, x[0], x[1], x[2]);
            x[k] += 2 * kSteps[k];
            m_shelf[size_t(2 + 2 * k)] = shelf(type, x[0], x[1], x[2]);
        }
        return;
    }
    m_omega = BiquadSection::omega(std::exp(logF));
    m_c0 = std::cos(m_omega);
    m_s0 = std::sin(m_omega);
    m_a2 = std::pow(10.0, gain / 20);
    double q2 = std::exp(2 * logQ);
    m_beta = m_s0 * m_s0 / (4 * q2);
    m_dBeta = m_s0 * m_c0 / (2 * q2);
}

double BandShape::sectionRatio(const BiquadSection& s, const EvaluationPoint& p) {
    return squared(s.b0, s.b1, s.b2, p) / squared(1.0, s.a1, s.a2, p);
}

double BandShape::level(const EvaluationPoint& p) const {
    return kDbPerLn * std::log(ratio(p));
}

double BandShape::ratio(const EvaluationPoint& p) const {
    if (!m_peaking) return sectionRatio(m_shelf[0], p);
    double dc = m_c0 - p.cos1;
    double pp = dc * dc, s = p.sin1 * p.sin1;
    return (pp + m_a2 * m_beta * s) / (pp + m_beta * s / m_a2);
}

double BandShape::ratio(const EvaluationPoint& p, double d[3]) const {
    if (!m_peaking) {
        for (int k = 0; k < 3; ++k)
            d[k] = kDbPerLn *
                   std::log(sectionRatio(m_shelf[size_t(2 + 2 * k)], p) /
                            sectionRatio(m_shelf[size_t(1 + 2 * k)], p)) /
                   (2 * kSteps[k]);
        return sectionRatio(m_shelf[0], p);
    }
    double dc = m_c0 - p.cos1;
    double pp = dc * dc, s = p.sin1 * p.sin1;
    double up = m_a2 * m_beta * s, down = m_beta * s / m_a2;
    double n = pp + up, dd = pp + down;
    double dP = -2 * dc * m_s0;
    d[0] = m_omega * kDbPerLn * ((dP + m_a2 * s * m_dBeta) / n - (dP + s * m_dBeta / m_a2) / dd);
    d[1] = 0.5 * (up / n + down / dd);
    d[2] = -2 * kDbPerLn * (up / n - down / dd);
    return n / dd;
}
