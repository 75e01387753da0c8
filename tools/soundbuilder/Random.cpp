#include "Random.h"

namespace soundbuilder
{
Random::Random(std::uint64_t seed) : m_state(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull)
{
    if (m_state == 0)
        m_state = 0x2545F4914F6CDD1Dull;
    for (int i = 0; i < 8; ++i)
        next();
}

std::uint64_t Random::next()
{
    m_state ^= m_state >> 12;
    m_state ^= m_state << 25;
    m_state ^= m_state >> 27;
    return m_state * 0x2545F4914F6CDD1Dull;
}

double Random::uniform()
{
    return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0);
}

double Random::bipolar()
{
    return uniform() * 2.0 - 1.0;
}

double Random::range(double lo, double hi)
{
    return lo + (hi - lo) * uniform();
}

double Random::gauss()
{
    double sum = 0.0;
    for (int i = 0; i < 6; ++i)
        sum += uniform();
    return (sum - 3.0) * 1.41421356237;
}
}
