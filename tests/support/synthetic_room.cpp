#include "synthetic_room.h"

#include <cmath>

namespace {

class Lcg {
public:
    explicit Lcg(uint64_t seed) : m_state(seed * 6364136223846793005ull + 1442695040888963407ull) {}
    double uniform(double low, double high) {
        m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
        return low + (high - low) * double(m_state >> 11) * 0x1.0p-53;
    }

private:
    uint64_t m_state;
};

struct Resonance {
    double frequency, gain, q;
};

// An analogue peaking resonance, in dB.
double resonance(const Resonance& r, double f) {
    double x = f / r.frequency, a = std::pow(10.0, r.gain / 40);
    double p = (1 - x * x) * (1 - x * x);
    return 10 * std::log10((p + x * x * a * a / (r.q * r.q)) / (p + x * x / (a * a * r.q * r.q)));
}

}  // namespace

Measurement syntheticRoom(uint64_t seed) {
    Lcg random(seed);
    std::vector<Resonance> parts;
    int modes = int(random.uniform(4, 7));
    for (int k = 0; k < modes; ++k)
        parts.push_back({std::exp(random.uniform(std::log(30.0), std::log(300.0))),
                         (random.uniform(0, 1) < 0.6 ? 1 : -1) * random.uniform(6, 15),
                         random.uniform(3, 10)});
    parts.push_back({std::exp(random.uniform(std::log(150.0), std::log(600.0))),
                     random.uniform(-4, 4), random.uniform(0.5, 1.0)});
    for (int k = 0; k < 3; ++k)
        parts.push_back({std::exp(random.uniform(std::log(500.0), std::log(10000.0))),
                         random.uniform(-4, 4), random.uniform(3, 10)});
    double tilt = random.uniform(-1.5, -0.3);
    Measurement m;
    double ripple = 0;
    for (double f = 10; f <= 22000; f *= std::exp2(1.0 / 96)) {
        ripple = 0.95 * ripple + random.uniform(-0.6, 0.6);
        double level = 80 + tilt * std::log2(f / 1000) + ripple;
        for (const Resonance& r : parts) level += resonance(r, f);
        m.frequency.push_back(f);
        m.level.push_back(level);
    }
    return m;
}
