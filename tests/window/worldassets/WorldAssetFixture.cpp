#include "WorldAssetFixture.h"

#include "display/DriverPin.h"

#include <cstdlib>
#include <memory>

namespace worldassets {
namespace {

std::unique_ptr<Ogre::Root> g_root;
Ogre::SceneManager* g_scene = nullptr;
Ogre::RenderWindow* g_window = nullptr;

const TiXmlElement* FindFirst(const TiXmlElement* e, const std::string& name) {
  for (const TiXmlElement* c = e->FirstChildElement(); c; c = c->NextSiblingElement()) {
    if (name == c->Value()) return c;
    if (const TiXmlElement* found = FindFirst(c, name)) return found;
  }
  return nullptr;
}

// The root goes before the program's other globals, while the display is still open.
class RootCleanup : public ::testing::Environment {
 public:
  void TearDown() override {
    g_scene = nullptr;
    g_window = nullptr;
    g_root.reset();
  }
};
const auto* const kCleanup = ::testing::AddGlobalTestEnvironment(new RootCleanup);

}  // namespace

void WorldAssetFixture::SetUpTestSuite() {
  if (g_root) return;
  g_root = std::make_unique<Ogre::Root>("", "", "worldassets_ogre.log");
  Ogre::LogManager::getSingleton().getDefaultLog()->setDebugOutputEnabled(false);
  std::string plugins = KB_OGRE_PLUGIN_DIR;
  g_root->loadPlugin(plugins + "/RenderSystem_GL3Plus");
  g_root->loadPlugin(plugins + "/Plugin_OctreeSceneManager");
  g_root->loadPlugin(plugins + "/Codec_STBI");
  Ogre::RenderSystem* rs = g_root->getRenderSystemByName("OpenGL 3+ Rendering Subsystem");
  ASSERT_NE(rs, nullptr);
  g_root->setRenderSystem(rs);
  g_root->initialise(false);
  Ogre::NameValuePairList params;
  params["hidden"] = "true";
  g_window = g_root->createRenderWindow("worldassets", 320, 240, false, &params);
  display::DriverPin::Hold();
  g_scene = g_root->createSceneManager("OctreeSceneManager");
  auto& groups = Ogre::ResourceGroupManager::getSingleton();
  groups.createResourceGroup("GameCore", false);
  groups.addResourceLocation(kAssets + "/custom_textures", "FileSystem", "GameCore");
  groups.addResourceLocation(kAssets + "/assets.pip", "Zip", "GameCore", true);
  groups.addResourceLocation(kAssets + "/terrain.pip", "Zip", "General", true);
  std::string media = KB_OGRE_MEDIA_DIR;
  groups.addResourceLocation(media + "/Terrain", "FileSystem", "General");
  groups.addResourceLocation(media + "/RTShaderLib/GLSL", "FileSystem", "General");
  groups.addResourceLocation(media + "/ShadowVolume", "FileSystem", "General");
  groups.initialiseAllResourceGroups();
}

Ogre::Root* WorldAssetFixture::root() { return g_root.get(); }
Ogre::SceneManager* WorldAssetFixture::scene() { return g_scene; }
Ogre::RenderWindow* WorldAssetFixture::window() { return g_window; }

std::string FirstText(const TiXmlElement* root, const std::string& name) {
  const TiXmlElement* e = root ? FindFirst(root, name) : nullptr;
  return e && e->GetText() ? std::string(e->GetText()) : std::string();
}

std::map<std::string, std::string> ReadConfig(const std::string& path) {
  std::map<std::string, std::string> keys;
  TiXmlDocument doc(path);
  if (!doc.LoadFile()) return keys;
  for (const TiXmlElement* e = doc.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement())
    keys[e->Value()] = e->GetText() ? e->GetText() : "";
  return keys;
}

std::vector<std::string> SceneNodeNames(const TiXmlDocument& scene) {
  std::vector<std::string> names;
  const TiXmlElement* nodes = scene.RootElement() ? FindFirst(scene.RootElement(), "nodes") : nullptr;
  if (!nodes) return names;
  for (const TiXmlElement* n = nodes->FirstChildElement(); n; n = n->NextSiblingElement())
    names.push_back(n->Attribute("name") ? n->Attribute("name") : "");
  return names;
}

std::string WheelBone(int i, int powered) {
  bool front = i < powered;
  int number = front ? i / 2 + 1 : (i - powered) / 2 + 1;
  return std::string("wheel_") + (front ? "front." : "back.") + ((i % 2) ? "L." : "R.") + std::to_string(number);
}

}  // namespace worldassets
