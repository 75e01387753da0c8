#pragma once

#include "Raster.h"

#include <string>

namespace assetbuilder
{

// The game's application icon: one drawing given as shapes, rendered to PNG
// at any size and written out as SVG, so both always show the same picture.
class AppIcon
{
public:
    // Design grid of the drawing; the SVG's view box.
    static constexpr float kGrid = 256.0f;

    static Raster Draw(int size);
    static std::string Svg();
    // The hicolor theme layout below dir: <n>x<n>/apps/<name>.png for 48, 128
    // and 256 pixels, and scalable/apps/<name>.svg.
    static bool Build(const std::string& dir, const std::string& name);
};

} // namespace assetbuilder
