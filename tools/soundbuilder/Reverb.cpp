#include "Reverb.h"

namespace soundbuilder
{
namespace
{
const int kCombTuning[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
const int kAllPassTuning[] = {556, 441, 341, 225};
const int kStereoSpread = 23;
}

Reverb::Reverb(int rate, double roomSize, double damping)
    : m_feedback(static_cast<float>(0.7 + 0.28 * roomSize)), m_damping(static_cast<float>(damping))
{
    const double scale = rate / 44100.0;
    for (int side = 0; side < 2; ++side)
    {
        for (int t : kCombTuning)
        {
            Comb c;
            c.buffer.assign(static_cast<std::size_t>((t + side * kStereoSpread) * scale), 0.0f);
            m_combs[side].push_back(c);
        }
        for (int t : kAllPassTuning)
        {
            AllPass a;
            a.buffer.assign(static_cast<std::size_t>((t + side * kStereoSpread) * scale), 0.0f);
            m_allPasses[side].push_back(a);
        }
    }
}

float Reverb::comb(Comb& c, float in)
{
    const float out = c.buffer[c.index];
    c.store = out * (1.0f - m_damping) + c.store * m_damping;
    c.buffer[c.index] = in + c.store * m_feedback;
    if (++c.index >= c.buffer.size())
        c.index = 0;
    return out;
}

float Reverb::allPass(AllPass& a, float in)
{
    const float buffered = a.buffer[a.index];
    a.buffer[a.index] = in + buffered * 0.5f;
    if (++a.index >= a.buffer.size())
        a.index = 0;
    return buffered - in;
}

void Reverb::process(float inLeft, float inRight, float& outLeft, float& outRight)
{
    const float in = (inLeft + inRight) * 0.015f;
    float out[2] = {0.0f, 0.0f};
    for (int side = 0; side < 2; ++side)
    {
        for (Comb& c : m_combs[side])
            out[side] += comb(c, in);
        for (AllPass& a : m_allPasses[side])
            out[side] = allPass(a, out[side]);
    }
    outLeft = out[0];
    outRight = out[1];
}
}
