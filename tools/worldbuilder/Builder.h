#pragma once

#include <string>

namespace worldbuilder {

/// The build steps: the asset set (meshes, materials, textures, scene,
/// missions, configurations) without a display, and the terrain page, which
/// needs a render context.
class Builder {
 public:
  Builder(const std::string& source, const std::string& output) : m_source(source), m_output(output) {}

  bool BuildAssets();
  bool BuildTerrain();

 private:
  std::string m_source;
  std::string m_output;
};

}  // namespace worldbuilder
