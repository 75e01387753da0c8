#include "application/FrameThrottle.h"

namespace application {

bool FrameThrottle::Advance(double microseconds, bool forceDraw, double& drawSeconds) {
    m_accumulator += microseconds;
    if (m_accumulator <= kFrameMicroseconds && !forceDraw)
        return false;
    drawSeconds = m_accumulator * 0.000001;
    m_accumulator = 0.0;
    return true;
}

} // namespace application
