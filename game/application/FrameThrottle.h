#pragma once

namespace application {

// Decides when the main loop draws: once more than 1/60 s of iteration time
// has accumulated, or at once when a redraw is forced.
class FrameThrottle {
public:
    static constexpr double kFrameMicroseconds = 1000000.0 / 60.0;

    // Adds one iteration's time; returns true when a frame is due and then
    // gives the time since the last drawn frame in seconds.
    bool Advance(double microseconds, bool forceDraw, double& drawSeconds);
    void Reset() { m_accumulator = 0.0; }

private:
    double m_accumulator = 0.0;
};

} // namespace application
