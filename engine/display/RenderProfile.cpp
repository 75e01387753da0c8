#include "display/RenderProfile.h"

#include <OGRE/OgreRenderSystemCapabilities.h>
#include <OGRE/OgreStringConverter.h>

#include <algorithm>
#include <cctype>
#include <sstream>

namespace display {

const char* const RenderProfile::kHardware = "hardware";
const char* const RenderProfile::kSoftware = "software";

namespace {
const unsigned int kAnisotropy = 4;
const unsigned int kHardwareShadowSizes[RenderProfile::kShadowSplits] = {2048, 1024, 1024};
// Measured on llvmpipe: the shadow maps are filled on the CPU every frame, and
// the nearest one alone has as many texels as five pictures. Smaller far maps
// streak flat roofs with false self-shadow.
const unsigned int kSoftwareShadowSizes[RenderProfile::kShadowSplits] = {1024, 1024, 1024};
// Measured on llvmpipe: the terrain's layers cost a fifth of the frame from a
// spawn point, and 1 to 2 ms from above the stands until the composite map takes
// over at 150 m; the grass is even enough that the views change by a few pixels.
const float kSoftwareCompositeMapDistance = 150.0f;

// Parts of the device names that CPU renderers report, lower case.
const char* const kSoftwareDevices[] = {"llvmpipe", "softpipe", "swrast", "software rasterizer", "swiftshader",
                                        "gdi generic", "basic render driver"};

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}
} // namespace

RenderProfile::RenderProfile()
    : m_name(kHardware), m_textureFiltering(Ogre::TFO_ANISOTROPIC), m_anisotropy(kAnisotropy),
      m_shadowTextureSizes{kHardwareShadowSizes[0], kHardwareShadowSizes[1], kHardwareShadowSizes[2]},
      m_terrainNormalMapping(true), m_terrainParallaxMapping(true), m_terrainSpecularMapping(true),
      m_terrainCompositeMapDistance(0.0f),
      m_shadowFiltering(Ogre::TFO_BILINEAR), m_vertexLighting(false), m_terrainShadows(true) {}

bool RenderProfile::IsSoftwareRenderer(const Ogre::RenderSystemCapabilities& capabilities) {
    switch (capabilities.getVendor()) {
    case Ogre::GPU_MS_SOFTWARE:
    case Ogre::GPU_MS_WARP:
    case Ogre::GPU_APPLE:
        return true;
    default:
        break;
    }
    const std::string device = lowerCase(capabilities.getDeviceName());
    for (const char* part : kSoftwareDevices)
        if (device.find(part) != std::string::npos)
            return true;
    return false;
}

RenderProfile RenderProfile::Choose(const Ogre::RenderSystemCapabilities& capabilities) {
    return Named(IsSoftwareRenderer(capabilities) ? kSoftware : kHardware, capabilities);
}

RenderProfile RenderProfile::Named(const std::string& name, const Ogre::RenderSystemCapabilities& capabilities) {
    RenderProfile profile;
    profile.m_device = capabilities.getDeviceName();
    if (name == kSoftware) {
        profile.m_name = kSoftware;
        // Measured on llvmpipe: blending two mip levels costs 2 to 3 ms of processor
        // time a frame, and the nearest level alone changes a few hundred pixels at most.
        profile.m_textureFiltering = Ogre::TFO_BILINEAR;
        profile.m_anisotropy = 1;
        std::copy(std::begin(kSoftwareShadowSizes), std::end(kSoftwareShadowSizes), profile.m_shadowTextureSizes);
        // The grass keeps its normal maps: without them it lights visibly brighter.
        profile.m_terrainParallaxMapping = false;
        profile.m_terrainSpecularMapping = false;
        profile.m_terrainCompositeMapDistance = kSoftwareCompositeMapDistance;
        // Point samples: the four comparisons of a look-up soften the edge already,
        // and a filtered read fetches four texels for each of them.
        profile.m_shadowFiltering = Ogre::TFO_NONE;
        // Measured on llvmpipe: the per-pixel normals, view vectors and highlight
        // cost a fifth of a frame, and the surfaces are too flat to show the difference.
        profile.m_vertexLighting = true;
        // Measured on llvmpipe: the terrain's twelve shadow texels a pixel cost
        // more than any other surface, and the shadows that matter fall on the
        // apron, which is not terrain.
        profile.m_terrainShadows = false;
        return profile;
    }
    if (!capabilities.hasCapability(Ogre::RSC_ANISOTROPY)) {
        profile.m_textureFiltering = Ogre::TFO_TRILINEAR;
        profile.m_anisotropy = 1;
    } else {
        const unsigned int most = static_cast<unsigned int>(capabilities.getMaxSupportedAnisotropy());
        profile.m_anisotropy = std::max(1u, std::min(kAnisotropy, most));
    }
    return profile;
}

unsigned int RenderProfile::shadow_texture_size(unsigned int split) const {
    return split < kShadowSplits ? m_shadowTextureSizes[split] : 0;
}

std::string RenderProfile::Describe() const {
    static const char* const filterNames[] = {"none", "bilinear", "trilinear", "anisotropic"};
    std::ostringstream text;
    text << "render profile \"" << m_name << "\" for \"" << m_device << "\": filtering "
         << filterNames[m_textureFiltering] << " x" << m_anisotropy << ", shadow maps " << m_shadowTextureSizes[0]
         << "/" << m_shadowTextureSizes[1] << "/" << m_shadowTextureSizes[2] << ", terrain normal "
         << m_terrainNormalMapping << " parallax " << m_terrainParallaxMapping << " specular "
         << m_terrainSpecularMapping << " composite map from " << m_terrainCompositeMapDistance
         << " m, shadow look-ups " << filterNames[m_shadowFiltering] << ", lighting per "
         << (m_vertexLighting ? "vertex" : "pixel") << ", terrain shadows " << m_terrainShadows;
    return text.str();
}

} // namespace display
