#include "PngWriter.h"

#include "Files.h"
#include "Raster.h"

#include <cstdio>
#include <cstdlib>
#include <zlib.h>

namespace assetbuilder
{

namespace
{
void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v >> 24));
    out.push_back(static_cast<uint8_t>(v >> 16));
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    PutU32(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    PutU32(out, static_cast<uint32_t>(crc));
}

uint8_t Paeth(int a, int b, int c)
{
    int p = a + b - c;
    int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}
} // namespace

std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint8_t>& rgba)
{
    const size_t stride = static_cast<size_t>(width) * 4;
    // Paeth filter on every row: smaller files for the smooth generated pictures.
    std::vector<uint8_t> filtered;
    filtered.reserve((stride + 1) * height);
    for (int y = 0; y < height; ++y)
    {
        filtered.push_back(4);
        const uint8_t* row = rgba.data() + y * stride;
        const uint8_t* prev = y > 0 ? row - stride : nullptr;
        for (size_t i = 0; i < stride; ++i)
        {
            int a = i >= 4 ? row[i - 4] : 0;
            int b = prev ? prev[i] : 0;
            int c = (prev && i >= 4) ? prev[i - 4] : 0;
            filtered.push_back(static_cast<uint8_t>(row[i] - Paeth(a, b, c)));
        }
    }
    uLongf bound = compressBound(static_cast<uLong>(filtered.size()));
    std::vector<uint8_t> compressed(bound);
    if (compress2(compressed.data(), &bound, filtered.data(), static_cast<uLong>(filtered.size()), 9) != Z_OK)
    {
        std::fprintf(stderr, "assetbuilder: PNG compression failed\n");
        return {};
    }
    compressed.resize(bound);

    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<uint8_t> header;
    PutU32(header, static_cast<uint32_t>(width));
    PutU32(header, static_cast<uint32_t>(height));
    header.push_back(8); // bit depth
    header.push_back(6); // RGBA
    header.push_back(0);
    header.push_back(0);
    header.push_back(0);
    Chunk(out, "IHDR", header);
    Chunk(out, "IDAT", compressed);
    Chunk(out, "IEND", {});
    return out;
}

bool WritePng(const std::string& path, const Raster& raster)
{
    std::vector<uint8_t> png = EncodePng(raster.Width(), raster.Height(), raster.ToRGBA8());
    if (png.empty())
        return false;
    return WriteFile(path, png);
}

} // namespace assetbuilder
