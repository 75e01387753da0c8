#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace soundbuilder
{
/// A rendered sound, channel by channel. Samples added past the end wrap round
/// to the loop start, so a note that rings over the end of a loop continues at
/// its beginning and the loop joins without a seam.
class Clip
{
public:
    Clip(int rate, int channels, double seconds);

    int rate() const { return m_rate; }
    int channels() const { return static_cast<int>(m_data.size()); }
    std::size_t frames() const { return m_data.empty() ? 0 : m_data[0].size(); }
    double seconds() const { return static_cast<double>(frames()) / m_rate; }

    /// First frame of the looping part; the part before it plays once.
    std::size_t loopStart() const { return m_loopStart; }
    void setLoopStart(std::size_t frame) { m_loopStart = frame; }

    std::size_t frameAt(double seconds) const;

    std::vector<float>& channel(int ch) { return m_data[ch]; }
    const std::vector<float>& channel(int ch) const { return m_data[ch]; }

    /// Adds a sample at an absolute frame; frames past the end wrap into the loop.
    void add(long long frame, int ch, float value)
    {
        std::vector<float>& data = m_data[static_cast<std::size_t>(ch)];
        if (frame >= 0 && static_cast<std::size_t>(frame) < data.size())
            data[static_cast<std::size_t>(frame)] += value;
        else
            addWrapped(frame, ch, value);
    }
    /// Adds a mono sample with equal-power panning (-1 left .. 1 right).
    void addPanned(long long frame, float value, float pan);
    /// Adds a mono sample with gains from panGains (faster per sample).
    void addGains(long long frame, float value, const float gains[2])
    {
        add(frame, 0, value * gains[0]);
        if (m_data.size() > 1)
            add(frame, 1, value * gains[1]);
    }
    /// Equal-power gains for a pan position; mono clips take the left one.
    void panGains(float pan, float gains[2]) const;
    /// Adds another clip of the same shape, scaled.
    void mix(const Clip& other, float gain);
    void scale(float gain);
    float peak() const;
    /// Scales so that the loudest sample reaches the given level.
    void normalize(float level);

    /// Runs a stateful per-sample process over one channel's loop twice and
    /// keeps the second pass: filters and delays then start in the state in
    /// which they end, and the loop stays seamless. The process receives the
    /// sample and its frame. A process whose memory fades within a few
    /// seconds only needs that much of the loop's end to warm up.
    template <class Process>
    void processLoop(int ch, Process&& process, double warmUpSeconds = 1e9)
    {
        std::vector<float>& data = m_data[ch];
        const std::vector<float> input(data);
        const double warmUpFrames = warmUpSeconds * m_rate;
        std::size_t warmStart = m_loopStart;
        if (warmUpFrames < static_cast<double>(input.size() - m_loopStart))
            warmStart = input.size() - static_cast<std::size_t>(warmUpFrames);
        for (std::size_t i = warmStart; i < input.size(); ++i)
            process(input[i], i);
        for (std::size_t i = m_loopStart; i < input.size(); ++i)
            data[i] = process(input[i], i);
    }

    /// Frames interleaved channel by channel, as encoders take them.
    std::vector<float> interleaved() const;

private:
    void addWrapped(long long frame, int ch, float value);

    int m_rate;
    std::size_t m_loopStart = 0;
    std::vector<std::vector<float>> m_data;
};
}
