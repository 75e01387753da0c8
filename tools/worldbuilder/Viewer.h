#pragma once

#include <string>

namespace Ogre {
class SceneManager;
class Entity;
}  // namespace Ogre

namespace worldbuilder {

/// Loads the generated airport the way the game does (scene file, shadows,
/// terrain) and saves a screenshot from one of a few fixed views.
class Viewer {
 public:
  explicit Viewer(const std::string& assets) : m_assets(assets) {}
  /// Views: "above", "vehicle", "vehicles", "stand", "hangar".
  bool Render(const std::string& png, const std::string& view);

 private:
  std::string m_assets;
};

}  // namespace worldbuilder
