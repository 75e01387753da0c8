#pragma once

#include "base/Export.h"

#include <cstdint>
#include <string>
#include <vector>

namespace replay {

// One recorded run: which run it was, the visible parts of its vehicles, the
// pose of every part and a few named values at fixed times, and the marks
// (score, step) where they happened. Poses rather than inputs are kept, so a
// replay looks the same however the physics would replay the inputs.
class DW_API Recording {
public:
    struct Pose {
        float position[3];
        // w, x, y, z
        float orientation[4];
    };
    // A part is drawn as one mesh with its sub-entities' materials.
    struct Part {
        std::string mesh;
        std::vector<std::string> materials;
    };
    struct Frame {
        double time;
        std::vector<Pose> poses;    // one per part
        std::vector<float> values;  // one per value name
    };
    struct Mark {
        double time;
        uint16_t kind;
        uint32_t value;
    };

    int32_t mission() const { return m_mission; }
    void set_mission(int32_t mission) { m_mission = mission; }
    const std::string& variant() const { return m_variant; }
    void set_variant(const std::string& variant) { m_variant = variant; }
    const std::string& game_version() const { return m_gameVersion; }
    void set_game_version(const std::string& version) { m_gameVersion = version; }
    // The run's final score.
    uint32_t score() const { return m_score; }
    void set_score(uint32_t score) { m_score = score; }

    std::vector<Part>& parts() { return m_parts; }
    const std::vector<Part>& parts() const { return m_parts; }
    std::vector<std::string>& value_names() { return m_valueNames; }
    const std::vector<std::string>& value_names() const { return m_valueNames; }
    std::vector<Frame>& frames() { return m_frames; }
    const std::vector<Frame>& frames() const { return m_frames; }
    std::vector<Mark>& marks() { return m_marks; }
    const std::vector<Mark>& marks() const { return m_marks; }

    // Index of a value name; -1 when there is none.
    int ValueIndex(const std::string& name) const;
    // Time of the last frame; 0 without frames.
    double Duration() const;
    // Poses and values at `time`, blended between the frames around it and
    // held at the ends: positions and values linearly, orientations along
    // the shorter arc (normalised blend). Exact at frame times. False without frames.
    bool Sample(double time, std::vector<Pose>& poses, std::vector<float>& values) const;
    // The value of the last mark of `kind` at or before `time`, or `fallback`.
    uint32_t MarkValue(uint16_t kind, double time, uint32_t fallback) const;
    // Parts, values and frames agree in number, times never go back and every
    // number is finite; `reason` says what is wrong otherwise.
    bool IsConsistent(std::string& reason) const;

private:
    int32_t m_mission = -1;
    std::string m_variant;
    std::string m_gameVersion;
    uint32_t m_score = 0;
    std::vector<Part> m_parts;
    std::vector<std::string> m_valueNames;
    std::vector<Frame> m_frames;
    std::vector<Mark> m_marks;
};

} // namespace replay
