// The UI asset builder's generators: pictures decode with the engine's own
// codec, archives open with the engine's zip reader, the route summary follows
// the generated world, and the skin definitions point at real atlas pixels.
#include <gtest/gtest.h>

#include "Archive.h"
#include "DdsWriter.h"
#include "Files.h"
#include "Maps.h"
#include "PngWriter.h"
#include "Raster.h"
#include "Routes.h"
#include "SkinSet.h"
#include "ZipWriter.h"

#include <OGRE/Ogre.h>
#include <tinyxml.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace assetbuilder;

namespace
{

fs::path TempDir(const std::string& name)
{
    fs::path dir = fs::temp_directory_path() / ("kb_assetbuilder_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

void WriteText(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

class AssetBuilder : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_logs = new Ogre::LogManager();
        s_logs->createLog("kb_assetbuilder_test.log", true, false, true);
        s_root = new Ogre::Root("", "", "");
        s_root->loadPlugin(std::string(KB_OGRE_PLUGIN_DIR) + "/Codec_STBI");
    }

    static void TearDownTestSuite()
    {
        delete s_root;
        s_root = nullptr;
        delete s_logs;
        s_logs = nullptr;
    }

    static Ogre::Image Decode(const std::vector<uint8_t>& png)
    {
        Ogre::DataStreamPtr stream(new Ogre::MemoryDataStream(const_cast<uint8_t*>(png.data()), png.size(), false, true));
        Ogre::Image image;
        image.load(stream, "png");
        return image;
    }

    static Ogre::LogManager* s_logs;
    static Ogre::Root* s_root;
};

Ogre::LogManager* AssetBuilder::s_logs = nullptr;
Ogre::Root* AssetBuilder::s_root = nullptr;

TEST_F(AssetBuilder, PngDecodesPixelForPixelWithTheEngineCodec)
{
    Raster r(37, 23);
    r.VerticalGradient(0, 0, 37, 23, Colour(1, 0.4f, 0.1f, 1), Colour(0.1f, 0.2f, 0.9f, 0.5f));
    r.FillCircle(18, 11, 7, Colour(0.2f, 0.9f, 0.3f, 0.8f));
    r.Line(0, 22, 36, 0, 2, Colour(1, 1, 1, 1));
    std::vector<uint8_t> rgba = r.ToRGBA8();
    std::vector<uint8_t> png = EncodePng(r.Width(), r.Height(), rgba);
    ASSERT_FALSE(png.empty());
    EXPECT_EQ(png, EncodePng(r.Width(), r.Height(), rgba)) << "same pixels must give the same bytes";

    Ogre::Image image = Decode(png);
    ASSERT_EQ(image.getWidth(), 37u);
    ASSERT_EQ(image.getHeight(), 23u);
    int mismatches = 0;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x)
        {
            Ogre::ColourValue c = image.getColourAt(x, y, 0);
            const uint8_t* p = &rgba[(y * 37 + x) * 4];
            if (std::lround(c.r * 255) != p[0] || std::lround(c.g * 255) != p[1] || std::lround(c.b * 255) != p[2] ||
                std::lround(c.a * 255) != p[3])
                ++mismatches;
        }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(AssetBuilder, DdsLoadsPixelForPixelInTheFormatOfThePngPictures)
{
    Raster r(29, 17);
    r.VerticalGradient(0, 0, 29, 17, Colour(0.9f, 0.3f, 0.1f, 1), Colour(0.1f, 0.2f, 0.8f, 0.6f));
    r.FillCircle(20, 6, 5, Colour(0.2f, 0.9f, 0.3f, 0.8f));
    const std::vector<uint8_t> rgba = r.ToRGBA8();
    std::vector<uint8_t> dds = EncodeDds(r.Width(), r.Height(), rgba);
    Ogre::DataStreamPtr stream(new Ogre::MemoryDataStream(dds.data(), dds.size(), false, true));
    Ogre::Image image;
    image.load(stream, "dds");
    ASSERT_EQ(image.getWidth(), 29u);
    ASSERT_EQ(image.getHeight(), 17u);
    // The same format as the decoded PNG pictures: no conversion, no other shader variant.
    EXPECT_EQ(image.getFormat(), Decode(EncodePng(r.Width(), r.Height(), rgba)).getFormat());
    EXPECT_EQ(image.getNumMipmaps(), 0u);
    ASSERT_EQ(image.getSize(), rgba.size());
    EXPECT_EQ(std::vector<uint8_t>(image.getData(), image.getData() + image.getSize()), rgba);
}

TEST_F(AssetBuilder, ArchiveOpensWithTheEngineZipReader)
{
    fs::path dir = TempDir("zip");
    std::string text = "<MyGUI type=\"List\"/>\n";
    std::vector<uint8_t> repetitive(20000, 'k');
    std::vector<uint8_t> noise(5000);
    Random rng(3);
    for (uint8_t& b : noise)
        b = static_cast<uint8_t>(rng.Next());
    std::vector<uint8_t> empty;

    auto build = [&] {
        ZipWriter zip;
        EXPECT_TRUE(zip.Add("a_core.xml", std::vector<uint8_t>(text.begin(), text.end())));
        EXPECT_TRUE(zip.Add("b_packed.bin", repetitive));
        EXPECT_TRUE(zip.Add("c_stored.bin", noise));
        EXPECT_TRUE(zip.Add("d_empty.txt", empty));
        return zip.Finish();
    };
    std::vector<uint8_t> archive = build();
    EXPECT_EQ(archive, build()) << "the archive must be byte-identical for identical input";
    EXPECT_LT(archive.size(), repetitive.size()) << "compressible entries are deflated";
    ASSERT_TRUE(WriteFile((dir / "test.pip").string(), archive));

    Ogre::Archive* zip = Ogre::ArchiveManager::getSingleton().load((dir / "test.pip").string(), "Zip", true);
    ASSERT_NE(zip, nullptr);
    Ogre::StringVectorPtr names = zip->list(false, false);
    std::set<std::string> listed(names->begin(), names->end());
    EXPECT_EQ(listed, (std::set<std::string>{"a_core.xml", "b_packed.bin", "c_stored.bin", "d_empty.txt"}));
    EXPECT_EQ(zip->open("a_core.xml")->getAsString(), text);
    std::string packed = zip->open("b_packed.bin")->getAsString();
    EXPECT_EQ(std::vector<uint8_t>(packed.begin(), packed.end()), repetitive);
    std::string stored = zip->open("c_stored.bin")->getAsString();
    EXPECT_EQ(std::vector<uint8_t>(stored.begin(), stored.end()), noise);
    EXPECT_EQ(zip->open("d_empty.txt")->size(), 0u);
    Ogre::ArchiveManager::getSingleton().unload(zip);

    // An entry read at every start is kept unpacked even when it would shrink.
    ZipWriter kept;
    EXPECT_TRUE(kept.Add("e_kept.bin", repetitive, true));
    ASSERT_TRUE(WriteFile((dir / "kept.pip").string(), kept.Finish()));
    EXPECT_GT(fs::file_size(dir / "kept.pip"), repetitive.size());
    zip = Ogre::ArchiveManager::getSingleton().load((dir / "kept.pip").string(), "Zip", true);
    ASSERT_NE(zip, nullptr);
    std::string unpacked = zip->open("e_kept.bin")->getAsString();
    EXPECT_EQ(std::vector<uint8_t>(unpacked.begin(), unpacked.end()), repetitive);
    Ogre::ArchiveManager::getSingleton().unload(zip);
    fs::remove_all(dir);
}

TEST_F(AssetBuilder, PackedArchiveIgnoresListOrderAndRefusesMissingFiles)
{
    fs::path dir = TempDir("pack");
    WriteText(dir / "b.layout", "<MyGUI type=\"Layout\"/>");
    WriteText(dir / "a.xml", "<MyGUI/>");
    WriteText(dir / "c.png", std::string(300, '\x7f'));
    std::string first = (dir / "first.pip").string(), second = (dir / "second.pip").string();
    ASSERT_TRUE(PackDirectory(dir.string(), ReadNameList("c.png\r\nb.layout\n\na.xml\n"), first));
    ASSERT_TRUE(PackDirectory(dir.string(), {"a.xml", "b.layout", "c.png", "a.xml"}, second));
    std::vector<uint8_t> one, two;
    ASSERT_TRUE(ReadFile(first, one));
    ASSERT_TRUE(ReadFile(second, two));
    EXPECT_EQ(one, two) << "list order or duplicates changed the archive";

    Ogre::Archive* zip = Ogre::ArchiveManager::getSingleton().load(first, "Zip", true);
    Ogre::StringVectorPtr names = zip->list(false, false);
    EXPECT_EQ(std::vector<std::string>(names->begin(), names->end()), (std::vector<std::string>{"a.xml", "b.layout", "c.png"}));
    Ogre::ArchiveManager::getSingleton().unload(zip);

    // A missing source fails and keeps the archive that was there.
    EXPECT_FALSE(PackDirectory(dir.string(), {"a.xml", "gone.png"}, first));
    std::vector<uint8_t> after;
    ASSERT_TRUE(ReadFile(first, after));
    EXPECT_EQ(after, one);
    fs::remove_all(dir);
}

TEST_F(AssetBuilder, RouteSummaryFollowsTheGeneratedWorld)
{
    fs::path level = TempDir("routes");
    WriteText(level / "airport_scene.scene",
              "<scene><environment/><nodes>"
              "<node name=\"spawn_catering\"><position x=\"-10\" y=\"0\" z=\"-40\"/></node>"
              "<node name=\"trigger_wp_gate\"><position x=\"-10\" y=\"0\" z=\"0\"/></node>"
              "<node name=\"trigger_A1_catering\"><position x=\"30.5\" y=\"1\" z=\"60\"/></node>"
              "<node name=\"aircraft_A1\"><position x=\"30\" y=\"0\" z=\"80\"/><entity meshFile=\"a.mesh\"/></node>"
              "</nodes></scene>");
    WriteText(level / "mission" / "mission1.xml",
              "<mission><spawn type=\"vehicle\" vehicle=\"CateringTruck\" name=\"spawn_catering\"/>"
              "<trigger type=\"waypoint\" time=\"30\" name=\"trigger_wp_gate\"/>"
              "<trigger type=\"mini_game\" time=\"40\" name=\"trigger_A1_catering\"/>"
              "<mini_game game=\"CateringState\"/></mission>");
    fs::path summary = level / "routes.txt";
    ASSERT_TRUE(WriteRouteSummary(level.string(), summary.string()));

    RouteSet routes;
    ASSERT_TRUE(LoadRouteSummary(summary.string(), routes));
    ASSERT_EQ(routes.nodes.size(), 4u);
    EXPECT_FLOAT_EQ(routes.nodes["trigger_A1_catering"].first, 30.5f);
    EXPECT_FLOAT_EQ(routes.nodes["trigger_A1_catering"].second, 60.0f);
    ASSERT_EQ(routes.missions.count(1), 1u);
    const MissionRoute& m = routes.missions[1];
    EXPECT_EQ(m.vehicle, "CateringTruck");
    EXPECT_EQ(m.spawn, "spawn_catering");
    ASSERT_EQ(m.steps.size(), 3u);
    EXPECT_EQ(m.steps[0].name, "trigger_wp_gate");
    EXPECT_EQ(m.steps[0].type, "waypoint");
    EXPECT_EQ(m.steps[1].type, "mini_game");
    EXPECT_EQ(m.steps[2].kind, "game");
    EXPECT_EQ(m.steps[2].name, "CateringState");

    // An unchanged world leaves the summary untouched, so the maps are not redrawn.
    auto old = fs::last_write_time(summary) - std::chrono::hours(1);
    fs::last_write_time(summary, old);
    ASSERT_TRUE(WriteRouteSummary(level.string(), summary.string()));
    EXPECT_EQ(fs::last_write_time(summary), old);
    // A changed mission rewrites it.
    WriteText(level / "mission" / "mission1.xml",
              "<mission><spawn type=\"vehicle\" vehicle=\"CateringTruck\" name=\"spawn_catering\"/>"
              "<trigger type=\"mini_game\" time=\"40\" name=\"trigger_A1_catering\"/></mission>");
    ASSERT_TRUE(WriteRouteSummary(level.string(), summary.string()));
    EXPECT_NE(fs::last_write_time(summary), old);
    RouteSet changed;
    ASSERT_TRUE(LoadRouteSummary(summary.string(), changed));
    EXPECT_EQ(changed.missions[1].steps.size(), 1u);

    // No world at all still gives a summary (the maps then use the planned layout).
    fs::path none = level / "none.txt";
    ASSERT_TRUE(WriteRouteSummary((level / "missing").string(), none.string()));
    RouteSet empty;
    ASSERT_TRUE(LoadRouteSummary(none.string(), empty));
    EXPECT_TRUE(empty.Empty());
    fs::remove_all(level);
}

int CountRouteOrange(const Raster& r)
{
    int n = 0;
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
        {
            Colour c = r.Get(x, y);
            if (c.r > 0.85f && c.g > 0.3f && c.g < 0.55f && c.b < 0.25f)
                ++n;
        }
    return n;
}

TEST_F(AssetBuilder, MissionMapDrawsTheRouteOfTheMissionFile)
{
    RouteSet planned;
    Raster plan = DrawMissionMap(1, planned);
    ASSERT_EQ(plan.Width(), kMapWidth);
    EXPECT_GT(CountRouteOrange(plan), 150) << "the planned route is drawn";

    RouteSet world;
    world.nodes = {{"spawn_fuel", {0, -50}}, {"trigger_wp_a", {0, 0}}, {"trigger_wp_b", {120, 0}},
                   {"trigger_B2_fuel", {120, 60}}, {"aircraft_B2", {120, 80}}, {"terminal", {60, 100}}};
    MissionRoute route;
    route.vehicle = "FuelTruck";
    route.spawn = "spawn_fuel";
    route.steps = {{"trigger", "trigger_wp_a", "waypoint"}, {"trigger", "trigger_wp_b", "waypoint"},
                   {"trigger", "trigger_B2_fuel", "mini_game"}, {"game", "PumpState", "-"}};
    world.missions[2] = route;
    Raster map = DrawMissionMap(2, world);
    int orange = CountRouteOrange(map);
    EXPECT_GT(orange, 150);
    // The long leg along x = 0..120 runs across a good part of the map.
    int y = -1;
    for (int row = 0; row < map.Height() && y < 0; ++row)
    {
        int run = 0;
        for (int x = 0; x < map.Width(); ++x)
        {
            Colour c = map.Get(x, row);
            run += (c.r > 0.85f && c.g > 0.3f && c.g < 0.55f && c.b < 0.25f) ? 1 : 0;
        }
        if (run > map.Width() / 3)
            y = row;
    }
    EXPECT_GE(y, 0) << "no horizontal route leg found";

    // A different route gives a different picture; the same route the same one.
    EXPECT_EQ(map.ToRGBA8(), DrawMissionMap(2, world).ToRGBA8());
    world.missions[2].steps.erase(world.missions[2].steps.begin() + 1);
    EXPECT_NE(map.ToRGBA8(), DrawMissionMap(2, world).ToRGBA8());
}

TEST_F(AssetBuilder, SkinDefinitionsPointAtPaintedAtlasCells)
{
    fs::path dir = TempDir("skins");
    ASSERT_TRUE(BuildSkinSet(dir.string()));
    std::vector<uint8_t> png;
    ASSERT_TRUE(ReadFile((dir / "kb_skin.png").string(), png));
    Ogre::Image atlas = Decode(png);

    TiXmlDocument doc((dir / "kb_skins.xml").string());
    ASSERT_TRUE(doc.LoadFile());
    std::set<std::string> names;
    int states = 0;
    for (const TiXmlElement* res = doc.RootElement()->FirstChildElement("Resource"); res; res = res->NextSiblingElement("Resource"))
    {
        std::string name = res->Attribute("name") ? res->Attribute("name") : "";
        names.insert(name);
        for (const TiXmlElement* basis = res->FirstChildElement("BasisSkin"); basis; basis = basis->NextSiblingElement("BasisSkin"))
        {
            std::string type = basis->Attribute("type") ? basis->Attribute("type") : "";
            if (type != "SubSkin" && type != "TileRect")
                continue;
            for (const TiXmlElement* st = basis->FirstChildElement("State"); st; st = st->NextSiblingElement("State"))
            {
                int x = 0, y = 0, w = 0, h = 0;
                ASSERT_EQ(std::sscanf(st->Attribute("offset"), "%d %d %d %d", &x, &y, &w, &h), 4) << name;
                ASSERT_TRUE(x >= 0 && y >= 0 && w > 0 && h > 0 && x + w <= static_cast<int>(atlas.getWidth()) &&
                            y + h <= static_cast<int>(atlas.getHeight()))
                    << name << " state " << st->Attribute("name") << " lies outside the atlas";
                float alpha = 0;
                for (int py = y; py < y + h; ++py)
                    for (int px = x; px < x + w; ++px)
                        alpha = std::max(alpha, atlas.getColourAt(px, py, 0).a);
                EXPECT_GT(alpha, 0.5f) << name << " state " << st->Attribute("name") << " shows nothing";
                ++states;
            }
        }
    }
    EXPECT_GT(states, 200);
    for (const char* needed : {"PanelSkin", "PanelEmpty", "TextBox", "ImageBox", "Canvas", "KB_Button", "KB_ButtonGrey",
                               "KB_CheckBox", "KB_Slider", "KB_ScrollView", "KB_EditReadOnly", "KB_ProgressBar", "arrow"})
        EXPECT_TRUE(names.count(needed)) << needed;
    fs::remove_all(dir);
}

TEST_F(AssetBuilder, ShapesCoverTheirAreaWithSoftEdges)
{
    Raster r(20, 20);
    r.FillRect(5, 5, 10, 10, Colour(1, 0, 0, 1));
    EXPECT_FLOAT_EQ(r.Get(5, 5).a, 1.0f);
    EXPECT_FLOAT_EQ(r.Get(14, 14).a, 1.0f);
    EXPECT_FLOAT_EQ(r.Get(4, 10).a, 0.0f);
    EXPECT_FLOAT_EQ(r.Get(15, 10).a, 0.0f);
    Raster c(21, 21);
    c.FillCircle(10.5f, 10.5f, 6, Colour(0, 0, 1, 1));
    EXPECT_FLOAT_EQ(c.Get(10, 10).a, 1.0f);
    float edge = c.Get(16, 10).a;
    EXPECT_GT(edge, 0.0f);
    EXPECT_LT(edge, 1.0f) << "edges are anti-aliased";
    EXPECT_FLOAT_EQ(c.Get(0, 0).a, 0.0f);
    // Blending keeps straight (not premultiplied) colour.
    Raster b(1, 1, Colour(0, 0, 0, 0));
    b.Blend(0, 0, Colour(1, 0.5f, 0, 0.5f));
    EXPECT_FLOAT_EQ(b.Get(0, 0).r, 1.0f);
    EXPECT_FLOAT_EQ(b.Get(0, 0).a, 0.5f);
}

} // namespace
