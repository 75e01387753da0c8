#include "RenderContext.h"

#include <cstdio>

namespace worldbuilder {

RenderContext::RenderContext(unsigned width, unsigned height, bool hidden) {
  m_root = std::make_unique<Ogre::Root>("", "", "");
  std::string dir = KB_OGRE_PLUGIN_DIR;
  m_root->loadPlugin(dir + "/RenderSystem_GL3Plus");
  m_root->loadPlugin(dir + "/Plugin_OctreeSceneManager");
  m_root->loadPlugin(dir + "/Codec_STBI");
  Ogre::RenderSystem* rs = m_root->getRenderSystemByName("OpenGL 3+ Rendering Subsystem");
  if (!rs) {
    std::fprintf(stderr, "worldbuilder: no OpenGL 3+ render system\n");
    return;
  }
  m_root->setRenderSystem(rs);
  m_root->initialise(false);
  Ogre::NameValuePairList params;
  if (hidden) params["hidden"] = "true";
  m_window = m_root->createRenderWindow("worldbuilder", width, height, false, &params);
  m_scene = m_root->createSceneManager("OctreeSceneManager");
  Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
  std::string media = KB_OGRE_MEDIA_DIR;
  groups.addResourceLocation(media + "/Terrain", "FileSystem", "General");
  groups.addResourceLocation(media + "/RTShaderLib/GLSL", "FileSystem", "General");
  groups.addResourceLocation(media + "/ShadowVolume", "FileSystem", "General");
}

RenderContext::~RenderContext() {
  m_root.reset();
}

}  // namespace worldbuilder
