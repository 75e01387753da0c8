// The HUD's direction arrow as a player reads it: drawn by the box's level
// camera at eight headings, it must fill its box and show which way it points.
#include "UiTestSupport.h"
#include "UiWorld.h"

#include "ui/HUDDirection.h"

#include <ui/Manager.h>

#include <MyGUI.h>
#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// What the picture of the box shows.
struct ArrowPicture {
    float cover = 0.f;    // share of the box's pixels the arrow covers
    float tipShare = 0.f; // share of the arrow's pixels that belong to its orange tip
    float tipSide = 0.f;  // tip's centre minus the arrow's centre, in box widths (negative: left)
    float tailShare = 0.f; // the same for its white tail
    float tailSide = 0.f;
    // Where the arrow points, left (-) or right (+): the tip's side while it
    // shows, else the side opposite the tail.
    float pointing() const { return tipShare > 0.02f ? tipSide : -tailSide; }
    Ogre::Image image;
};

bool isTip(const Ogre::ColourValue& c) { return c.r > 0.3f && c.r > 1.4f * c.g && c.r > 2.f * c.b; }
bool isTail(const Ogre::ColourValue& c) { return std::min(c.r, std::min(c.g, c.b)) > 0.6f; }

ArrowPicture look(Ogre::RenderTarget* target) {
    ArrowPicture picture;
    picture.image = uitest::grab(target);
    const Ogre::Image& shot = picture.image;
    double drawn = 0, tip = 0, tail = 0, drawnX = 0, tipX = 0, tailX = 0;
    for (size_t y = 0; y < shot.getHeight(); ++y)
        for (size_t x = 0; x < shot.getWidth(); ++x) {
            const Ogre::ColourValue c = shot.getColourAt(x, y, 0);
            if (c.a < 0.5f)
                continue;
            drawn += 1;
            drawnX += static_cast<double>(x);
            if (isTip(c)) {
                tip += 1;
                tipX += static_cast<double>(x);
            } else if (isTail(c)) {
                tail += 1;
                tailX += static_cast<double>(x);
            }
        }
    const double pixels = static_cast<double>(shot.getWidth() * shot.getHeight());
    picture.cover = static_cast<float>(drawn / pixels);
    const double width = static_cast<double>(shot.getWidth());
    picture.tipShare = drawn > 0 ? static_cast<float>(tip / drawn) : 0.f;
    picture.tailShare = drawn > 0 ? static_cast<float>(tail / drawn) : 0.f;
    if (tip > 0)
        picture.tipSide = static_cast<float>((tipX / tip - drawnX / drawn) / width);
    if (tail > 0)
        picture.tailSide = static_cast<float>((tailX / tail - drawnX / drawn) / width);
    return picture;
}

// Eight pictures side by side in two rows, on the HUD's dark box colour.
void saveSheet(const std::vector<Ogre::Image>& pictures, const std::string& path) {
    const uint32_t w = 150, h = 92, gap = 6;
    Ogre::Image sheet(Ogre::PF_BYTE_RGBA, 4 * (w + gap) + gap, 2 * (h + gap) + gap);
    const Ogre::ColourValue back(0.1f, 0.12f, 0.15f, 1.f);
    for (uint32_t y = 0; y < sheet.getHeight(); ++y)
        for (uint32_t x = 0; x < sheet.getWidth(); ++x)
            sheet.setColourAt(back, x, y, 0);
    for (size_t i = 0; i < pictures.size(); ++i) {
        Ogre::Image scaled;
        scaled = pictures[i];
        scaled.resize(w, h); // the canvas shows its texture stretched to its size
        const uint32_t ox = gap + static_cast<uint32_t>(i % 4) * (w + gap);
        const uint32_t oy = gap + static_cast<uint32_t>(i / 4) * (h + gap);
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x) {
                const Ogre::ColourValue c = scaled.getColourAt(x, y, 0);
                sheet.setColourAt(back * (1.f - c.a) + Ogre::ColourValue(c.r, c.g, c.b, 1.f) * c.a, ox + x, oy + y, 0);
            }
    }
    sheet.save(path);
}

TEST(HudArrow, FillsItsBoxAndShowsWhichWayItPointsAtEightHeadings) {
    ASSERT_TRUE(UiWorld::get().ready);
    UiWorld& world = UiWorld::get();
    auto* hud = new ui::HUDDirection();
    ASSERT_NE(hud->render_box().entity(), nullptr);
    for (int i = 0; i < 3; ++i)
        world.draw();
    ASSERT_NE(hud->render_box().render_target(), nullptr);

    // As the game hands it: the rotation from the vehicle's direction (-z,
    // its back: vehicles face +z) onto the line from the target to the
    // vehicle. Bearings clockwise from ahead; -x is the driver's right.
    const Ogre::Vector3 direction = Ogre::Vector3::NEGATIVE_UNIT_Z;
    std::vector<ArrowPicture> pictures;
    for (int bearing = 0; bearing < 360; bearing += 45) {
        const Ogre::Radian angle{Ogre::Degree(static_cast<float>(bearing))};
        const Ogre::Vector3 target(-25.f * Ogre::Math::Sin(angle), 0.f, 25.f * Ogre::Math::Cos(angle));
        hud->SetDirection(direction.getRotationTo(Ogre::Vector3::ZERO - target, Ogre::Vector3::UNIT_Y));
        world.draw();
        pictures.push_back(look(hud->render_box().render_target()));
        const ArrowPicture& p = pictures.back();
        SCOPED_TRACE("bearing " + std::to_string(bearing));
        EXPECT_GE(p.cover, 0.12f);
        const float side = Ogre::Math::Sin(angle);
        if (side > 0.5f)
            EXPECT_GT(p.pointing(), 0.05f) << "target on the right";
        else if (side < -0.5f)
            EXPECT_LT(p.pointing(), -0.05f) << "target on the left";
        else
            EXPECT_NEAR(p.pointing(), 0.f, 0.03f);
    }
    // Ahead the tip hides behind the head and the tail shows; behind, the tip
    // points at the player and shows large in the middle. Half turns ahead and
    // behind differ the same way.
    EXPECT_LT(pictures[0].tipShare, 0.03f) << "ahead";
    EXPECT_GT(pictures[0].tailShare, 0.05f) << "ahead";
    EXPECT_GT(pictures[4].tipShare, 0.2f) << "behind";
    EXPECT_LT(pictures[4].tailShare, 0.01f) << "behind";
    EXPECT_GT(pictures[3].tipShare, pictures[1].tipShare + 0.05f) << "behind right against ahead right";
    EXPECT_GT(pictures[5].tipShare, pictures[7].tipShare + 0.05f) << "behind left against ahead left";

    if (const char* shots = std::getenv("KB_UI_SHOTS")) {
        std::vector<Ogre::Image> images;
        for (const ArrowPicture& p : pictures)
            images.push_back(p.image);
        saveSheet(images, std::string(shots) + "/hud-arrow-headings.png");
    }
    for (size_t i = 0; i < pictures.size(); ++i)
        std::printf("bearing %3zu: cover %.3f tip %.3f at %+.3f, tail %.3f at %+.3f\n", i * 45, pictures[i].cover,
                    pictures[i].tipShare, pictures[i].tipSide, pictures[i].tailShare, pictures[i].tailSide);
    hud->exitWindow();
    world.advance(0.6f, 6);
}

} // namespace
