#include "WorldWindow.h"

#include "display/Core.h"
#include "display/RenderProfile.h"

#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

namespace {

// A graphics card as Ogre describes it.
Ogre::RenderSystemCapabilities graphicsCard(const std::string& device, Ogre::GPUVendor vendor, bool anisotropy,
                                            float mostAnisotropy) {
    Ogre::RenderSystemCapabilities capabilities;
    capabilities.setDeviceName(device);
    capabilities.setVendor(vendor);
    if (anisotropy) {
        capabilities.setCapability(Ogre::RSC_ANISOTROPY);
        capabilities.setMaxSupportedAnisotropy(mostAnisotropy);
    }
    return capabilities;
}

void expectFullSettings(const display::RenderProfile& profile) {
    EXPECT_EQ(profile.name(), display::RenderProfile::kHardware);
    EXPECT_EQ(profile.shadow_texture_size(0), 2048u);
    EXPECT_EQ(profile.shadow_texture_size(1), 1024u);
    EXPECT_EQ(profile.shadow_texture_size(2), 1024u);
    EXPECT_TRUE(profile.terrain_normal_mapping());
    EXPECT_TRUE(profile.terrain_parallax_mapping());
    EXPECT_TRUE(profile.terrain_specular_mapping());
    EXPECT_FALSE(profile.vertex_lighting());
    EXPECT_TRUE(profile.terrain_shadows());
    EXPECT_EQ(profile.terrain_composite_map_distance(), 0.0f);
}

TEST(RenderProfile, GraphicsCardsGetAnisotropicFilteringAndFullShadowMaps) {
    const display::RenderProfile card =
        display::RenderProfile::Choose(graphicsCard("NVIDIA GeForce GTX 1060/PCIe/SSE2", Ogre::GPU_NVIDIA, true, 16));
    expectFullSettings(card);
    EXPECT_EQ(card.device(), "NVIDIA GeForce GTX 1060/PCIe/SSE2");
    EXPECT_EQ(card.texture_filtering(), Ogre::TFO_ANISOTROPIC);
    EXPECT_EQ(card.anisotropy(), 4u);

    // Never more anisotropy than the card offers, and none where it offers none.
    const display::RenderProfile small =
        display::RenderProfile::Choose(graphicsCard("Mesa Intel(R) HD Graphics 620", Ogre::GPU_INTEL, true, 2));
    expectFullSettings(small);
    EXPECT_EQ(small.anisotropy(), 2u);
    const display::RenderProfile none =
        display::RenderProfile::Choose(graphicsCard("AMD Radeon (radeonsi)", Ogre::GPU_AMD, false, 0));
    expectFullSettings(none);
    EXPECT_EQ(none.texture_filtering(), Ogre::TFO_TRILINEAR);
    EXPECT_EQ(none.anisotropy(), 1u);
}

TEST(RenderProfile, SoftwareRenderersAreKnownByNameOrVendor) {
    for (const char* device : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "Mesa X11 swrast",
                               "Software Rasterizer", "Google SwiftShader", "GDI Generic"}) {
        const Ogre::RenderSystemCapabilities capabilities = graphicsCard(device, Ogre::GPU_UNKNOWN, true, 16);
        EXPECT_TRUE(display::RenderProfile::IsSoftwareRenderer(capabilities)) << device;
        EXPECT_EQ(display::RenderProfile::Choose(capabilities).name(), display::RenderProfile::kSoftware) << device;
    }
    EXPECT_TRUE(display::RenderProfile::IsSoftwareRenderer(graphicsCard("", Ogre::GPU_MS_WARP, false, 0)));
    EXPECT_TRUE(display::RenderProfile::IsSoftwareRenderer(graphicsCard("", Ogre::GPU_MS_SOFTWARE, false, 0)));
    EXPECT_FALSE(display::RenderProfile::IsSoftwareRenderer(graphicsCard("Mali-G78", Ogre::GPU_ARM, true, 16)));
}

TEST(RenderProfile, SoftwareProfileSavesPerPixelWork) {
    const display::RenderProfile cpu =
        display::RenderProfile::Choose(graphicsCard("llvmpipe (LLVM 15.0.6, 256 bits)", Ogre::GPU_UNKNOWN, true, 16));
    EXPECT_EQ(cpu.name(), display::RenderProfile::kSoftware);
    EXPECT_EQ(cpu.texture_filtering(), Ogre::TFO_BILINEAR);
    EXPECT_EQ(cpu.anisotropy(), 1u);
    const display::RenderProfile card = display::RenderProfile::Choose(graphicsCard("GPU", Ogre::GPU_NVIDIA, true, 16));
    for (unsigned int split = 0; split < display::RenderProfile::kShadowSplits; ++split) {
        EXPECT_GT(cpu.shadow_texture_size(split), 0u) << split;
        EXPECT_LE(cpu.shadow_texture_size(split), card.shadow_texture_size(split)) << split;
    }
    EXPECT_EQ(cpu.shadow_texture_size(display::RenderProfile::kShadowSplits), 0u);
    EXPECT_TRUE(cpu.terrain_normal_mapping());
    EXPECT_FALSE(cpu.terrain_parallax_mapping());
    EXPECT_FALSE(cpu.terrain_specular_mapping());
    EXPECT_EQ(cpu.shadow_filtering(), Ogre::TFO_NONE);
    EXPECT_EQ(card.shadow_filtering(), Ogre::TFO_BILINEAR);
    EXPECT_TRUE(cpu.vertex_lighting());
    EXPECT_FALSE(cpu.terrain_shadows());
    EXPECT_GT(cpu.terrain_composite_map_distance(), 0.0f);
    EXPECT_FALSE(card.vertex_lighting());
    EXPECT_TRUE(card.terrain_shadows());
    EXPECT_NE(cpu.Describe().find("lighting per vertex"), std::string::npos) << cpu.Describe();
    EXPECT_NE(card.Describe().find("lighting per pixel"), std::string::npos) << card.Describe();
    // A profile asked for by name keeps the device it was chosen for.
    const display::RenderProfile forced = display::RenderProfile::Named(
        display::RenderProfile::kHardware, graphicsCard("llvmpipe", Ogre::GPU_UNKNOWN, true, 16));
    expectFullSettings(forced);
    EXPECT_EQ(forced.device(), "llvmpipe");
}

// The window the world tests draw in runs on Mesa's CPU renderer: the render
// core must have chosen the software profile and applied it before any
// material was read.
TEST(RenderProfile, TheRunningCoreUsesTheProfileOfItsRenderer) {
    WorldWindow& world = WorldWindow::get();
    ASSERT_TRUE(world.ready);
    display::Core* core = display::Core::getSingleton();
    const Ogre::RenderSystemCapabilities* capabilities = world.root->getRenderSystem()->getCapabilities();
    ASSERT_NE(capabilities, nullptr);
    const display::RenderProfile& profile = core->render_profile();
    EXPECT_EQ(profile.device(), capabilities->getDeviceName());
    EXPECT_EQ(profile.name(), display::RenderProfile::Choose(*capabilities).name());
    if (!display::RenderProfile::IsSoftwareRenderer(*capabilities))
        GTEST_SKIP() << "not on a software renderer: " << capabilities->getDeviceName();
    EXPECT_EQ(profile.name(), display::RenderProfile::kSoftware);

    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    EXPECT_EQ(materials.getDefaultTextureFiltering(Ogre::FT_MIN), Ogre::FO_LINEAR);
    EXPECT_EQ(materials.getDefaultTextureFiltering(Ogre::FT_MIP), Ogre::FO_POINT);
    EXPECT_EQ(materials.getDefaultAnisotropy(), 1u);
}

} // namespace
