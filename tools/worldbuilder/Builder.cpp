#include "Builder.h"

#include "Airport.h"
#include "ConfigBuilder.h"
#include "MaterialWriter.h"
#include "MissionBuilder.h"
#include "ModelLibrary.h"
#include "TextureBuilder.h"
#include "ZipWriter.h"

#include <cstdio>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace worldbuilder {
namespace {

void MakeDirs(const std::string& path) {
  std::string partial;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '/') {
      if (!partial.empty()) mkdir(partial.c_str(), 0755);
    }
    if (i < path.size()) partial += path[i];
  }
}

std::string TempDir() {
  char pattern[] = "/tmp/worldbuilder.XXXXXX";
  char* dir = mkdtemp(pattern);
  return dir ? std::string(dir) : std::string("/tmp");
}

void RemoveDir(const std::string& dir) {
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string name = e->d_name;
      if (name != "." && name != "..") unlink((dir + "/" + name).c_str());
    }
    closedir(d);
  }
  rmdir(dir.c_str());
}

}  // namespace

bool Builder::BuildAssets() {
  bool ok = true;
  ModelLibrary models;
  ok = models.Load(m_source + "/models.xml") && ok;
  Airport airport;
  ok = airport.Load(m_source + "/airport.xml", models) && ok;

  std::string script;
  std::set<std::string> usedTextures, materialNames;
  ok = MaterialWriter::Build(m_source + "/materials.xml", script, usedTextures, materialNames) && ok;
  std::map<std::string, std::map<std::string, std::string>> textures;
  ok = TextureBuilder::Build(m_source + "/textures.xml", textures) && ok;
  for (const auto& t : usedTextures) {
    if (!textures["custom"].count(t)) {
      std::fprintf(stderr, "worldbuilder: texture %s is used but not generated\n", t.c_str());
      ok = false;
    }
  }

  std::map<std::string, Model> all = models.models();
  Model apron = airport.BuildApron();
  all[apron.name()] = apron;
  for (const auto& m : all) {
    for (const auto& sub : m.second.subMeshes()) {
      if (!materialNames.count(sub.material())) {
        std::fprintf(stderr, "worldbuilder: %s uses undefined material %s\n", m.first.c_str(), sub.material().c_str());
        ok = false;
      }
    }
  }
  for (const auto& n : airport.statics()) {
    if (!all.count(n.mesh)) {
      std::fprintf(stderr, "worldbuilder: scene node %s uses unknown mesh %s\n", n.name.c_str(), n.mesh.c_str());
      ok = false;
    }
  }

  std::map<std::string, std::string> missions;
  MissionBuilder missionBuilder(airport);
  ok = missionBuilder.Build(m_source + "/missions.xml", missions) && ok;
  std::map<std::string, std::string> configs;
  ok = ConfigBuilder::Build(m_source + "/vehicles.xml", models, configs) && ok;
  if (!ok) return false;

  // Meshes go through Ogre's serializers into a scratch folder, then into the archive.
  ZipWriter pip;
  std::string scratch = TempDir();
  for (const auto& m : all) {
    for (const auto& file : MeshWriter::Write(m.second, scratch)) pip.AddFile(file, scratch + "/" + file);
  }
  RemoveDir(scratch);
  pip.Add("world.material", script);
  const char* shaderFiles[] = {"shaders.program",       "kb_lit_vp.glsl",        "kb_lit_fp.glsl",
                               "kb_sky_vp.glsl",        "kb_sky_fp.glsl",        "shadow_caster_vp.glsl",
                               "shadow_caster_fp.glsl", "pssm3_receiver_vp.glsl", "pssm3_receiver_fp.glsl",
                               "pssm3_vertexlit_vp.glsl", "pssm3_vertexlit_fp.glsl"};
  for (const char* f : shaderFiles) {
    std::string text = ReadFile(m_source + "/shaders/" + f);
    if (text.empty()) {
      std::fprintf(stderr, "worldbuilder: missing shader source %s\n", f);
      return false;
    }
    pip.Add(f, text);
  }

  MakeDirs(m_output + "/custom_textures");
  MakeDirs(m_output + "/level/mission");
  MakeDirs(m_output + "/config/normal");
  MakeDirs(m_output + "/config/upgraded");
  ok = pip.Write(m_output + "/assets.pip") && ok;
  for (const auto& t : textures["custom"]) ok = WriteFile(m_output + "/custom_textures/" + t.first, t.second) && ok;
  ok = WriteFile(m_output + "/level/airport_scene.scene", airport.SceneXml()) && ok;
  for (const auto& m : missions) ok = WriteFile(m_output + "/level/mission/" + m.first, m.second) && ok;
  for (const auto& c : configs) ok = WriteFile(m_output + "/config/" + c.first, c.second) && ok;

  std::printf("worldbuilder: %zu archive entries, %zu textures, %zu scene nodes, %zu triggers, %zu missions\n",
              pip.size(), textures["custom"].size(),
              airport.statics().size() + airport.spawns().size() + airport.services().size() +
                  airport.waypoints().size(),
              airport.services().size() + airport.waypoints().size(), missions.size());
  for (const auto& line : missionBuilder.summary()) std::printf("  %s\n", line.c_str());
  return ok;
}

}  // namespace worldbuilder
