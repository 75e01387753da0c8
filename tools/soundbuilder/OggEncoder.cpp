#include "OggEncoder.h"

#include "Clip.h"

#include <vorbis/vorbisenc.h>

#include <cstdio>
#include <cstdint>
#include <vector>

namespace soundbuilder
{
namespace
{
int serialFor(const std::string& title)
{
    std::uint32_t h = 2166136261u;
    for (unsigned char c : title)
        h = (h ^ c) * 16777619u;
    return static_cast<int>(h & 0x7fffffff);
}

bool writePage(std::FILE* file, const ogg_page& page)
{
    return std::fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), file) ==
               static_cast<std::size_t>(page.header_len) &&
           std::fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), file) ==
               static_cast<std::size_t>(page.body_len);
}
}

OggEncoder::OggEncoder(float quality) : m_quality(quality) {}

bool OggEncoder::write(const Clip& clip, const std::string& title, const std::string& path) const
{
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, clip.channels(), clip.rate(), m_quality) != 0)
    {
        std::fprintf(stderr, "soundbuilder: encoder rejects %d channels at %d Hz\n", clip.channels(), clip.rate());
        vorbis_info_clear(&info);
        return false;
    }
    const std::string temp = path + ".part";
    std::FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file)
    {
        std::fprintf(stderr, "soundbuilder: cannot write %s\n", temp.c_str());
        vorbis_info_clear(&info);
        return false;
    }

    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", title.c_str());
    vorbis_comment_add_tag(&comment, "ARTIST", "kestrelby");

    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serialFor(title));

    bool ok = true;
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    // Audio starts on a fresh page, as players expect.
    while (ogg_stream_flush(&stream, &page) != 0)
        ok = ok && writePage(file, page);

    auto drain = [&]() {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1)
        {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet))
            {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0)
                    ok = ok && writePage(file, page);
            }
        }
    };

    const std::size_t frames = clip.frames();
    const int channels = clip.channels();
    const std::size_t chunk = 4096;
    for (std::size_t pos = 0; pos < frames; pos += chunk)
    {
        const std::size_t n = std::min(chunk, frames - pos);
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
        for (int c = 0; c < channels; ++c)
        {
            const std::vector<float>& src = clip.channel(c);
            for (std::size_t i = 0; i < n; ++i)
                buffer[c][i] = src[pos + i];
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    while (ogg_stream_flush(&stream, &page) != 0)
        ok = ok && writePage(file, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);

    ok = (std::fclose(file) == 0) && ok;
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0)
        ok = false;
    if (!ok)
    {
        std::remove(temp.c_str());
        std::fprintf(stderr, "soundbuilder: failed to write %s\n", path.c_str());
    }
    return ok;
}
}
