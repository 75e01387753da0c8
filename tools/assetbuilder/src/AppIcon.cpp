#include "AppIcon.h"

#include "Files.h"
#include "PngWriter.h"

#include <cstdio>
#include <vector>

namespace assetbuilder
{

namespace
{

const int kPixelSizes[] = {48, 128, 256};

// Safety orange tile, a kestrel in flight and a taxiway centre line below it.
const uint32_t kTileColour = 0xF26B1D;
const uint32_t kBirdColour = 0xF5F5F0;
const uint32_t kLineColour = 0x22272C;

struct Box
{
    float x, y, w, h, radius;
    uint32_t colour;
};

const Box kTile = {16, 16, 224, 224, 48, kTileColour};
const Box kDashes[] = {{52, 196, 40, 14, 7, kLineColour}, {108, 196, 40, 14, 7, kLineColour},
                       {164, 196, 40, 14, 7, kLineColour}};
// Swept, pointed wings and a fanned tail, seen from below.
const std::vector<Point> kBird = {{128, 46}, {136, 55}, {141, 72}, {188, 72}, {234, 96},  {186, 101},
                                  {150, 112}, {143, 128}, {160, 172}, {128, 164}, {96, 172}, {113, 128},
                                  {106, 112}, {70, 101},  {22, 96},   {68, 72},   {115, 72}, {120, 55}};

std::string Hex(uint32_t rgb)
{
    char text[8];
    std::snprintf(text, sizeof(text), "#%06X", rgb & 0xFFFFFFu);
    return text;
}

std::string SvgRect(const Box& b)
{
    char text[160];
    std::snprintf(text, sizeof(text), "  <rect x=\"%g\" y=\"%g\" width=\"%g\" height=\"%g\" rx=\"%g\" fill=\"%s\"/>\n", b.x,
                  b.y, b.w, b.h, b.radius, Hex(b.colour).c_str());
    return text;
}

} // namespace

Raster AppIcon::Draw(int size)
{
    const float s = size / kGrid;
    Raster r(size, size);
    auto box = [&](const Box& b) {
        r.FillRoundRect(b.x * s, b.y * s, b.w * s, b.h * s, b.radius * s, Colour::Hex(b.colour));
    };
    box(kTile);
    std::vector<Point> bird;
    for (const Point& p : kBird)
        bird.push_back({p.x * s, p.y * s});
    r.FillPolygon(bird, Colour::Hex(kBirdColour));
    for (const Box& dash : kDashes)
        box(dash);
    return r;
}

std::string AppIcon::Svg()
{
    char header[200];
    std::snprintf(header, sizeof(header),
                  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%g\" height=\"%g\" viewBox=\"0 0 %g %g\">\n", kGrid,
                  kGrid, kGrid, kGrid);
    std::string svg = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") + header + SvgRect(kTile);
    svg += "  <polygon fill=\"" + Hex(kBirdColour) + "\" points=\"";
    for (size_t i = 0; i < kBird.size(); ++i)
    {
        char point[40];
        std::snprintf(point, sizeof(point), "%s%g,%g", i ? " " : "", kBird[i].x, kBird[i].y);
        svg += point;
    }
    svg += "\"/>\n";
    for (const Box& dash : kDashes)
        svg += SvgRect(dash);
    return svg + "</svg>\n";
}

bool AppIcon::Build(const std::string& dir, const std::string& name)
{
    for (int size : kPixelSizes)
    {
        const std::string folder = dir + "/" + std::to_string(size) + "x" + std::to_string(size) + "/apps";
        if (!MakeDirectories(folder) || !WritePng(folder + "/" + name + ".png", Draw(size)))
        {
            std::fprintf(stderr, "assetbuilder: cannot write the %d px icon in %s\n", size, folder.c_str());
            return false;
        }
    }
    const std::string scalable = dir + "/scalable/apps";
    if (!MakeDirectories(scalable) || !WriteFile(scalable + "/" + name + ".svg", Svg()))
    {
        std::fprintf(stderr, "assetbuilder: cannot write the scalable icon in %s\n", scalable.c_str());
        return false;
    }
    return true;
}

} // namespace assetbuilder
