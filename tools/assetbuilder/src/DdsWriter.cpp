#include "DdsWriter.h"

#include "Files.h"
#include "Raster.h"

namespace assetbuilder
{

namespace
{
const uint32_t kMagic = 0x20534444;      // "DDS "
const uint32_t kHeaderSize = 124;
const uint32_t kPixelFormatSize = 32;
const uint32_t kCaps = 0x1, kHeight = 0x2, kWidth = 0x4, kPitch = 0x8, kPixelFormat = 0x1000;
const uint32_t kAlphaPixels = 0x1, kRgb = 0x40;
const uint32_t kTexture = 0x1000;

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}
} // namespace

std::vector<uint8_t> EncodeDds(int width, int height, const std::vector<uint8_t>& rgba)
{
    const uint32_t pitch = static_cast<uint32_t>(width) * 4;
    std::vector<uint8_t> out;
    out.reserve(4 + kHeaderSize + rgba.size());
    Put32(out, kMagic);
    Put32(out, kHeaderSize);
    Put32(out, kCaps | kHeight | kWidth | kPitch | kPixelFormat);
    Put32(out, static_cast<uint32_t>(height));
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, pitch);
    Put32(out, 0); // depth
    Put32(out, 0); // mipmaps: none, as the menu pictures have
    for (int i = 0; i < 11; ++i)
        Put32(out, 0); // reserved
    Put32(out, kPixelFormatSize);
    Put32(out, kRgb | kAlphaPixels);
    Put32(out, 0); // no compression code
    Put32(out, 32);
    Put32(out, 0x000000ff); // red mask: the first byte
    Put32(out, 0x0000ff00);
    Put32(out, 0x00ff0000);
    Put32(out, 0xff000000);
    Put32(out, kTexture);
    for (int i = 0; i < 4; ++i)
        Put32(out, 0); // caps 2 to 4, reserved
    out.insert(out.end(), rgba.begin(), rgba.end());
    return out;
}

bool WriteDds(const std::string& path, const Raster& raster)
{
    return WriteFile(path, EncodeDds(raster.Width(), raster.Height(), raster.ToRGBA8()));
}

} // namespace assetbuilder
