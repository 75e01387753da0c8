// The application icon: every size the desktop asks for, and a scalable
// version that shows the same picture as the pixel ones.
#include <gtest/gtest.h>

#include "AppIcon.h"
#include "Raster.h"

#include <tinyxml.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>
#include <unistd.h>

namespace fs = std::filesystem;
using assetbuilder::AppIcon;
using assetbuilder::Colour;

namespace
{

// Reads "#RRGGBB".
Colour FromHex(const char* text)
{
    return text && text[0] == '#' ? Colour::Hex(static_cast<uint32_t>(std::strtoul(text + 1, nullptr, 16)))
                                  : Colour(-1, -1, -1);
}

void ExpectSameColour(const Colour& expected, const Colour& actual, const std::string& where)
{
    EXPECT_NEAR(expected.r, actual.r, 0.02f) << where;
    EXPECT_NEAR(expected.g, actual.g, 0.02f) << where;
    EXPECT_NEAR(expected.b, actual.b, 0.02f) << where;
    EXPECT_NEAR(1.0f, actual.a, 0.02f) << where;
}

TEST(AppIcon, BuildWritesTheThemeSizesAndTheScalableIcon)
{
    const fs::path dir = fs::temp_directory_path() / ("kb_app_icon_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    ASSERT_TRUE(AppIcon::Build(dir.string(), "org.test.icon"));
    for (const char* size : {"48x48", "128x128", "256x256"})
        EXPECT_GT(fs::file_size(dir / size / "apps" / "org.test.icon.png"), 100u) << size;
    EXPECT_TRUE(fs::exists(dir / "scalable" / "apps" / "org.test.icon.svg"));
    fs::remove_all(dir);
}

TEST(AppIcon, PixelIconsAreATileWithTransparentCornersAtEverySize)
{
    for (int size : {48, 128, 256})
    {
        const assetbuilder::Raster icon = AppIcon::Draw(size);
        ASSERT_EQ(size, icon.Width());
        ASSERT_EQ(size, icon.Height());
        EXPECT_LT(icon.Get(0, 0).a, 0.01f) << size;
        EXPECT_LT(icon.Get(size - 1, size - 1).a, 0.01f) << size;
        // Light bird over a darker tile: the picture is not one flat colour.
        const Colour bird = icon.Get(size / 2, size * 100 / 256);
        const Colour tile = icon.Get(size * 30 / 256, size / 2);
        EXPECT_GT(bird.r + bird.g + bird.b, tile.r + tile.g + tile.b + 0.5f) << size;
    }
}

TEST(AppIcon, ScalableIconShowsTheSamePicture)
{
    const std::string svg = AppIcon::Svg();
    TiXmlDocument document;
    document.Parse(svg.c_str());
    ASSERT_FALSE(document.Error()) << document.ErrorDesc();
    const TiXmlElement* root = document.RootElement();
    ASSERT_NE(nullptr, root);
    EXPECT_STREQ("svg", root->Value());
    EXPECT_STREQ("http://www.w3.org/2000/svg", root->Attribute("xmlns"));
    EXPECT_STREQ("0 0 256 256", root->Attribute("viewBox"));

    // The first rectangle is the tile and the polygon the bird; the pixels at
    // the same places of the 256 px icon have their colours.
    const TiXmlElement* tile = root->FirstChildElement("rect");
    const TiXmlElement* bird = root->FirstChildElement("polygon");
    ASSERT_NE(nullptr, tile);
    ASSERT_NE(nullptr, bird);
    const assetbuilder::Raster icon = AppIcon::Draw(256);
    ExpectSameColour(FromHex(tile->Attribute("fill")), icon.Get(30, 128), "tile");
    ExpectSameColour(FromHex(bird->Attribute("fill")), icon.Get(128, 100), "bird");

    // Every polygon corner lies inside the tile.
    double x0 = 0, y0 = 0, w = 0, h = 0;
    tile->QueryDoubleAttribute("x", &x0);
    tile->QueryDoubleAttribute("y", &y0);
    tile->QueryDoubleAttribute("width", &w);
    tile->QueryDoubleAttribute("height", &h);
    const std::string points = bird->Attribute("points");
    size_t count = 0;
    for (size_t pos = 0; pos < points.size();)
    {
        double x = 0, y = 0;
        ASSERT_EQ(2, std::sscanf(points.c_str() + pos, "%lf,%lf", &x, &y)) << points;
        EXPECT_TRUE(x > x0 && x < x0 + w && y > y0 && y < y0 + h) << x << "," << y;
        ++count;
        pos = points.find(' ', pos);
        pos = pos == std::string::npos ? points.size() : pos + 1;
    }
    EXPECT_GE(count, 3u);
}

} // namespace
