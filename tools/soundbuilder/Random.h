#pragma once

#include <cstdint>

namespace soundbuilder
{
/// Small deterministic generator (xorshift64*): the same seed gives the same
/// sequence on every platform, unlike the standard distributions.
class Random
{
public:
    explicit Random(std::uint64_t seed);

    std::uint64_t next();
    /// Uniform in [0, 1).
    double uniform();
    /// Uniform in [-1, 1).
    double bipolar();
    /// Uniform in [lo, hi).
    double range(double lo, double hi);
    /// Approximately normal, mean 0, deviation 1 (sum of uniforms).
    double gauss();

private:
    std::uint64_t m_state;
};
}
