#include "Builder.h"

#include "Airport.h"
#include "ModelLibrary.h"
#include "RenderContext.h"
#include "TextureBuilder.h"
#include "ZipWriter.h"

#include <OGRE/Terrain/OgreTerrain.h>
#include <OGRE/Terrain/OgreTerrainGroup.h>

#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

namespace worldbuilder {
namespace {

// Height of the ground at (x, z): flat and just under the tarmac around the
// airport, rising to low hills toward the edge of the page.
float GroundHeight(float x, float z, const Ogre::Vector2& lo, const Ogre::Vector2& hi, float half) {
  float dx = std::max({lo.x - x, x - hi.x, 0.0f});
  float dz = std::max({lo.y - z, z - hi.y, 0.0f});
  float d = std::sqrt(dx * dx + dz * dz);
  float edge = std::max(std::fabs(x), std::fabs(z)) / half;
  float hills = 0;
  if (d > 60) {
    float t = std::min(1.0f, (d - 60) / 250.0f);
    hills = t * t * (10.0f + 6.0f * std::sin(x * 0.013f) * std::cos(z * 0.011f) + 4.0f * std::sin(x * 0.031f + z * 0.02f));
  }
  return -0.25f + hills + edge * edge * 8.0f * (d > 60 ? 1.0f : 0.0f);
}

}  // namespace

bool Builder::BuildTerrain() {
  ModelLibrary models;
  Airport airport;
  if (!models.Load(m_source + "/models.xml") || !airport.Load(m_source + "/airport.xml", models)) return false;

  RenderContext context(64, 64, true);
  if (!context.ok()) return false;
  std::map<std::string, std::map<std::string, std::string>> textures;
  if (!TextureBuilder::Build(m_source + "/textures.xml", textures)) return false;

  // The layer textures must be loadable while the terrain is built and saved.
  char pattern[] = "/tmp/worldterrain.XXXXXX";
  std::string scratch = mkdtemp(pattern) ? std::string(pattern) : std::string("/tmp");
  for (const auto& t : textures["terrain"]) WriteFile(scratch + "/" + t.first, t.second);
  auto& groups = Ogre::ResourceGroupManager::getSingleton();
  groups.addResourceLocation(scratch, "FileSystem", "General");
  groups.initialiseAllResourceGroups();

  auto* options = new Ogre::TerrainGlobalOptions();
  options->setMaxPixelError(3);
  options->setCompositeMapDistance(2000);
  options->setLightMapDirection(Ogre::Vector3(-0.45f, -0.75f, -0.5f).normalisedCopy());
  options->setCompositeMapAmbient(Ogre::ColourValue(0.42f, 0.44f, 0.48f));
  options->setCompositeMapDiffuse(Ogre::ColourValue(1.0f, 0.96f, 0.88f));
  int size = airport.terrainMapSize();
  float worldSize = airport.terrainWorldSize();
  auto* group = new Ogre::TerrainGroup(context.scene(), Ogre::Terrain::ALIGN_X_Z, Ogre::uint16(size), worldSize);
  group->setOrigin(Ogre::Vector3::ZERO);
  Ogre::Terrain::ImportData& imp = group->getDefaultImportSettings();
  imp.terrainSize = Ogre::uint16(size);
  imp.worldSize = worldSize;
  imp.inputScale = 1;
  // Small enough for the flat ground under the apron, hidden but still drawn,
  // to fall to its coarsest level: about 5000 triangles fewer from a stand.
  imp.minBatchSize = 17;
  imp.maxBatchSize = 65;
  imp.layerList.resize(2);
  imp.layerList[0].worldSize = 12;
  imp.layerList[0].textureNames = {"terrain_grass_diffusespecular.png", "terrain_grass_normalheight.png"};
  imp.layerList[1].worldSize = 20;
  imp.layerList[1].textureNames = {"terrain_dry_diffusespecular.png", "terrain_grass_normalheight.png"};

  std::vector<float> heights(size_t(size * size));
  float half = worldSize * 0.5f;
  for (int j = 0; j < size; ++j) {
    for (int i = 0; i < size; ++i) {
      // Terrain rows run from -z (row 0 at the far side) in Ogre's X-Z alignment.
      float x = -half + worldSize * float(i) / float(size - 1);
      float z = half - worldSize * float(j) / float(size - 1);
      heights[size_t(j * size + i)] = GroundHeight(x, z, airport.apronMin(), airport.apronMax(), half);
    }
  }
  group->defineTerrain(0, 0, heights.data());
  group->loadAllTerrains(true);
  Ogre::Terrain* terrain = group->getTerrain(0, 0);
  if (!terrain) {
    std::fprintf(stderr, "worldbuilder: terrain did not load\n");
    return false;
  }
  // Dry grass on the slopes and in patches.
  Ogre::TerrainLayerBlendMap* blend = terrain->getLayerBlendMap(1);
  int blendSize = int(terrain->getLayerBlendMapSize());
  float* data = blend->getBlendPointer();
  for (int y = 0; y < blendSize; ++y) {
    for (int x = 0; x < blendSize; ++x) {
      Ogre::Real tx, ty;
      blend->convertImageToTerrainSpace(size_t(x), size_t(y), &tx, &ty);
      float h = terrain->getHeightAtTerrainPosition(tx, ty);
      float patch = 0.5f + 0.5f * std::sin(tx * 37.0f) * std::cos(ty * 29.0f);
      data[y * blendSize + x] = std::min(1.0f, std::max(0.0f, h / 12.0f) + patch * 0.35f);
    }
  }
  blend->dirty();
  blend->update();

  std::string page = scratch + "/" + airport.terrainPage();
  terrain->save(page);
  ZipWriter zip;
  zip.AddFile(airport.terrainPage(), page);
  for (const auto& t : textures["terrain"]) zip.Add(t.first, t.second);
  bool ok = zip.Write(m_output + "/terrain.pip");
  for (const auto& t : textures["terrain"]) unlink((scratch + "/" + t.first).c_str());
  unlink(page.c_str());
  rmdir(scratch.c_str());
  delete group;
  delete options;
  std::printf("worldbuilder: terrain page %s, %d x %d samples, %.0f m\n", airport.terrainPage().c_str(), size, size,
              worldSize);
  return ok;
}

}  // namespace worldbuilder
