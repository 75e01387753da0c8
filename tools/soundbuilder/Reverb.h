#pragma once

#include <vector>

namespace soundbuilder
{
/// Stereo room of parallel damped combs and series all-passes; gives the music
/// and the open apron their space.
class Reverb
{
public:
    Reverb(int rate, double roomSize, double damping);

    void process(float inLeft, float inRight, float& outLeft, float& outRight);

private:
    struct Comb
    {
        std::vector<float> buffer;
        std::size_t index = 0;
        float store = 0.0f;
    };
    struct AllPass
    {
        std::vector<float> buffer;
        std::size_t index = 0;
    };

    float comb(Comb& c, float in);
    static float allPass(AllPass& a, float in);

    float m_feedback;
    float m_damping;
    std::vector<Comb> m_combs[2];
    std::vector<AllPass> m_allPasses[2];
};
}
