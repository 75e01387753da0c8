#pragma once

#include <OGRE/Ogre.h>

#include <memory>
#include <string>

namespace worldbuilder {

/// An Ogre root on the OpenGL 3+ render system with one window: the terrain
/// page and the screenshots need a real render context.
class RenderContext {
 public:
  RenderContext(unsigned width, unsigned height, bool hidden);
  ~RenderContext();

  bool ok() const { return m_window != nullptr; }
  Ogre::Root* root() const { return m_root.get(); }
  Ogre::RenderWindow* window() const { return m_window; }
  Ogre::SceneManager* scene() const { return m_scene; }

 private:
  std::unique_ptr<Ogre::Root> m_root;
  Ogre::RenderWindow* m_window = nullptr;
  Ogre::SceneManager* m_scene = nullptr;
};

}  // namespace worldbuilder
