#include "sound/OggEncoder.h"

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <iostream>

namespace sound {

namespace {
bool writePage(std::FILE* file, const ogg_page& page) {
    return std::fwrite(page.header, 1, static_cast<size_t>(page.header_len), file) ==
               static_cast<size_t>(page.header_len) &&
           std::fwrite(page.body, 1, static_cast<size_t>(page.body_len), file) == static_cast<size_t>(page.body_len);
}
} // namespace

bool OggEncoder::Write(const std::string& path, const std::vector<int16_t>& samples, int channels, int rate,
                       float quality) {
    if (channels < 1 || channels > 2 || rate <= 0) {
        std::cerr << "OggEncoder: unsupported format for '" << path << "'" << std::endl;
        return false;
    }
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
        vorbis_info_clear(&info);
        std::cerr << "OggEncoder: the encoder refuses " << channels << " channel(s) at " << rate << " Hz" << std::endl;
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        vorbis_info_clear(&info);
        std::cerr << "OggEncoder: cannot write '" << path << "'" << std::endl;
        return false;
    }

    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, static_cast<int>(std::time(nullptr) & 0x7fffffff));

    bool ok = true;
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    // The headers go on pages of their own, before any audio.
    while (ok && ogg_stream_flush(&stream, &page) != 0)
        ok = writePage(file, page);

    const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
    const std::size_t step = 1024;
    std::size_t done = 0;
    bool end = false;
    while (ok && !end) {
        const std::size_t count = std::min(step, frames - done);
        if (count == 0) {
            vorbis_analysis_wrote(&dsp, 0);
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (std::size_t i = 0; i < count; ++i)
                for (int c = 0; c < channels; ++c)
                    buffer[c][i] = samples[(done + i) * channels + c] / 32768.0f;
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            done += count;
        }
        while (ok && vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (ok && vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ok && ogg_stream_pageout(&stream, &page) != 0) {
                    ok = writePage(file, page);
                    if (ogg_page_eos(&page))
                        end = true;
                }
            }
        }
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    if (std::fclose(file) != 0)
        ok = false;
    if (!ok)
        std::cerr << "OggEncoder: writing '" << path << "' failed" << std::endl;
    return ok;
}

std::vector<int16_t> OggEncoder::Tone(double seconds, int rate, double frequency, float amplitude) {
    const std::size_t frames = seconds > 0.0 ? static_cast<std::size_t>(seconds * rate) : 0;
    std::vector<int16_t> samples(frames);
    const double pi = 3.14159265358979323846;
    for (std::size_t i = 0; i < frames; ++i)
        samples[i] = static_cast<int16_t>(std::lround(32767.0 * amplitude * std::sin(2.0 * pi * frequency * i / rate)));
    return samples;
}

} // namespace sound
