// The world builder: generates the airport's asset set from assets/world/.
//   worldbuilder assets <source dir> <asset dir>    meshes, materials, scene, missions, configs
//   worldbuilder terrain <source dir> <asset dir>   the terrain archive (needs a display)
//   worldbuilder view <asset dir> <png> <view>      renders the airport to a screenshot
#include "Builder.h"
#include "Viewer.h"

#include <OGRE/Ogre.h>
#include <OGRE/OgreDefaultHardwareBufferManager.h>

#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: worldbuilder assets|terrain <source> <output> | view <assets> <png> <view>\n");
    return 2;
  }
  std::string mode = argv[1];
  // Ogre's log stays in memory; failures are reported on stderr.
  auto logs = std::make_unique<Ogre::LogManager>();
  logs->createLog("worldbuilder.log", true, std::getenv("WORLDBUILDER_VERBOSE") != nullptr, true);
  bool ok = false;
  try {
    if (mode == "assets") {
      auto root = std::make_unique<Ogre::Root>("", "", "");
      root->loadPlugin(std::string(KB_OGRE_PLUGIN_DIR) + "/Codec_STBI");
      auto buffers = std::make_unique<Ogre::DefaultHardwareBufferManager>();
      Ogre::MaterialManager::getSingleton().initialise();
      ok = worldbuilder::Builder(argv[2], argv[3]).BuildAssets();
    } else if (mode == "terrain") {
      ok = worldbuilder::Builder(argv[2], argv[3]).BuildTerrain();
    } else if (mode == "view") {
      ok = worldbuilder::Viewer(argv[2]).Render(argv[3], argc > 4 ? argv[4] : "above");
    } else {
      std::fprintf(stderr, "worldbuilder: unknown mode %s\n", mode.c_str());
    }
  } catch (const Ogre::Exception& e) {
    std::fprintf(stderr, "worldbuilder: %s\n", e.getFullDescription().c_str());
    ok = false;
  }
  return ok ? 0 : 1;
}
