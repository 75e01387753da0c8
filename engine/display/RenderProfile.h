#pragma once

#include "base/Export.h"

#include <OGRE/OgreCommon.h>

#include <string>

namespace Ogre {
class RenderSystemCapabilities;
}

namespace display {

// The rendering settings that trade cost per pixel against looks, chosen once
// from the renderer the window runs on. A software renderer shades every pixel
// on the CPU, where anisotropic filtering, large shadow maps, filtered shadow
// look-ups and the terrain's detail layers cost frames a player notices; a
// graphics card does them for free.
class DW_API RenderProfile {
public:
    static const char* const kHardware;
    static const char* const kSoftware;
    static const unsigned int kShadowSplits = 3;

    // The full settings ("hardware").
    RenderProfile();

    // "software" for a renderer that draws on the CPU, "hardware" otherwise;
    // the hardware profile never asks for more anisotropy than the card has.
    static RenderProfile Choose(const Ogre::RenderSystemCapabilities& capabilities);
    // A profile by name, for a renderer whose kind is known better than its name says.
    static RenderProfile Named(const std::string& name, const Ogre::RenderSystemCapabilities& capabilities);
    // True for the CPU renderers: Mesa's llvmpipe, softpipe and swrast, SwiftShader,
    // and the software devices of Windows and Apple.
    static bool IsSoftwareRenderer(const Ogre::RenderSystemCapabilities& capabilities);

    const std::string& name() const { return m_name; }
    const std::string& device() const { return m_device; }
    Ogre::TextureFilterOptions texture_filtering() const { return m_textureFiltering; }
    unsigned int anisotropy() const { return m_anisotropy; }
    // Width and height of the shadow map of split 0 (nearest) to 2.
    unsigned int shadow_texture_size(unsigned int split) const;
    bool terrain_normal_mapping() const { return m_terrainNormalMapping; }
    bool terrain_parallax_mapping() const { return m_terrainParallaxMapping; }
    bool terrain_specular_mapping() const { return m_terrainSpecularMapping; }
    // How the receivers read the shadow maps; each of their four depth comparisons takes one value.
    Ogre::TextureFilterOptions shadow_filtering() const { return m_shadowFiltering; }
    // The distance beyond which the terrain draws its baked composite map instead
    // of its layers, at most; 0 leaves the scene's own distance.
    float terrain_composite_map_distance() const { return m_terrainCompositeMapDistance; }
    // Whether shadow receivers light at the vertices rather than at every pixel.
    bool vertex_lighting() const { return m_vertexLighting; }
    // Whether the terrain reads the shadow maps; its light map shades the hills either way.
    bool terrain_shadows() const { return m_terrainShadows; }

    // One line for the log: name, device and every setting.
    std::string Describe() const;

private:
    std::string m_name;
    std::string m_device;
    Ogre::TextureFilterOptions m_textureFiltering;
    unsigned int m_anisotropy;
    unsigned int m_shadowTextureSizes[kShadowSplits];
    bool m_terrainNormalMapping;
    bool m_terrainParallaxMapping;
    bool m_terrainSpecularMapping;
    float m_terrainCompositeMapDistance;
    Ogre::TextureFilterOptions m_shadowFiltering;
    bool m_vertexLighting;
    bool m_terrainShadows;
};

} // namespace display
