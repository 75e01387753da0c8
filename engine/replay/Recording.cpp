#include "replay/Recording.h"

#include <algorithm>
#include <cmath>

namespace replay {

namespace {
Recording::Pose blend(const Recording::Pose& a, const Recording::Pose& b, float t) {
    Recording::Pose out;
    for (int i = 0; i < 3; ++i)
        out.position[i] = a.position[i] + (b.position[i] - a.position[i]) * t;
    float dot = 0.0f;
    for (int i = 0; i < 4; ++i)
        dot += a.orientation[i] * b.orientation[i];
    // q and -q are the same turn: blend toward the nearer one.
    const float sign = dot < 0.0f ? -1.0f : 1.0f;
    float length = 0.0f;
    for (int i = 0; i < 4; ++i) {
        out.orientation[i] = a.orientation[i] + (sign * b.orientation[i] - a.orientation[i]) * t;
        length += out.orientation[i] * out.orientation[i];
    }
    length = std::sqrt(length);
    if (length > 1e-6f) {
        for (float& q : out.orientation)
            q /= length;
    } else {
        std::copy(a.orientation, a.orientation + 4, out.orientation);
    }
    return out;
}
} // namespace

int Recording::ValueIndex(const std::string& name) const {
    auto it = std::find(m_valueNames.begin(), m_valueNames.end(), name);
    return it == m_valueNames.end() ? -1 : static_cast<int>(it - m_valueNames.begin());
}

double Recording::Duration() const {
    return m_frames.empty() ? 0.0 : m_frames.back().time;
}

bool Recording::Sample(double time, std::vector<Pose>& poses, std::vector<float>& values) const {
    if (m_frames.empty())
        return false;
    auto later = std::upper_bound(m_frames.begin(), m_frames.end(), time,
                                  [](double t, const Frame& frame) { return t < frame.time; });
    if (later == m_frames.begin() || later == m_frames.end()) {
        const Frame& held = later == m_frames.begin() ? m_frames.front() : m_frames.back();
        poses = held.poses;
        values = held.values;
        return true;
    }
    const Frame& b = *later;
    const Frame& a = *(later - 1);
    const double span = b.time - a.time;
    const float t = span > 0.0 ? static_cast<float>((time - a.time) / span) : 1.0f;
    poses.resize(a.poses.size());
    for (size_t i = 0; i < a.poses.size(); ++i)
        poses[i] = blend(a.poses[i], b.poses[i], t);
    values.resize(a.values.size());
    for (size_t i = 0; i < a.values.size(); ++i)
        values[i] = a.values[i] + (b.values[i] - a.values[i]) * t;
    return true;
}

uint32_t Recording::MarkValue(uint16_t kind, double time, uint32_t fallback) const {
    uint32_t value = fallback;
    for (const Mark& mark : m_marks) {
        if (mark.time > time)
            break;
        if (mark.kind == kind)
            value = mark.value;
    }
    return value;
}

bool Recording::IsConsistent(std::string& reason) const {
    double last = 0.0;
    for (size_t f = 0; f < m_frames.size(); ++f) {
        const Frame& frame = m_frames[f];
        if (!std::isfinite(frame.time) || frame.time < last) {
            reason = "frame " + std::to_string(f) + " goes back in time";
            return false;
        }
        last = frame.time;
        if (frame.poses.size() != m_parts.size() || frame.values.size() != m_valueNames.size()) {
            reason = "frame " + std::to_string(f) + " does not match the parts and values";
            return false;
        }
        for (const Pose& pose : frame.poses) {
            float length = 0.0f;
            for (float q : pose.orientation)
                length += q * q;
            if (!std::isfinite(pose.position[0]) || !std::isfinite(pose.position[1]) ||
                !std::isfinite(pose.position[2]) || !(std::fabs(length - 1.0f) < 0.01f)) {
                reason = "frame " + std::to_string(f) + " holds a pose that is not one";
                return false;
            }
        }
        for (float value : frame.values) {
            if (!std::isfinite(value)) {
                reason = "frame " + std::to_string(f) + " holds a value that is not a number";
                return false;
            }
        }
    }
    last = 0.0;
    for (size_t m = 0; m < m_marks.size(); ++m) {
        if (!std::isfinite(m_marks[m].time) || m_marks[m].time < last) {
            reason = "mark " + std::to_string(m) + " goes back in time";
            return false;
        }
        last = m_marks[m].time;
    }
    return true;
}

} // namespace replay
