#pragma once

#include "base/Export.h"
#include "game/SceneDescription.h"
#include "xml/Document.h"

#include <string>
#include <vector>

namespace Ogre {
class Light;
class SceneManager;
class SceneNode;
class TerrainGlobalOptions;
class TerrainGroup;
} // namespace Ogre

namespace game {

// Builds the static world from a scene file: environment, sky, the first
// light, scene nodes with their meshes (static collision bodies), empty spawn
// and trigger nodes, and the paged terrain (height fields for physics).
// What it creates stays in the scene after the loader is gone.
class DW_API SceneLoader {
public:
    SceneLoader(const std::string& fileName, Ogre::SceneManager* sceneManager);
    SceneLoader(const SceneLoader& other);
    SceneLoader& operator=(const SceneLoader& other);
    virtual ~SceneLoader();

    // Reads the file; false when it cannot be read or parsed (nothing is written).
    bool Init();
    // Builds the scene from what Init read; builds nothing after a failed Init.
    void ParseScene();
    // Builds a scene read before (SceneReader), as ParseScene does with the file's.
    void Build(const SceneDescription& scene);

    Ogre::TerrainGroup* terrain_group() const { return m_terrainGroup; }
    Ogre::TerrainGlobalOptions* terrain_options() const { return m_terrainOptions; }

private:
    // Each builds one part of what SceneReader read from the document.
    void ProcessEnvironment(const SceneDescription& scene);
    void ProcessSkyBox(const SceneDescription::Sky& sky);
    void ProcessSkyDome(const SceneDescription::Sky& sky);
    void ProcessLight(const SceneDescription::Light& description, Ogre::SceneNode* parent);
    void ProcessNodes(const std::vector<SceneDescription::Node>& nodes, Ogre::SceneNode* parent);
    void ProcessEntity(const std::vector<SceneDescription::Entity>& entities, Ogre::SceneNode* node, bool isStatic);
    void ProcessTerrain(const SceneDescription::Terrain& description);
    void ProcessTerrainPages(const std::vector<SceneDescription::TerrainPage>& pages);

    xml::Document m_document;
    Ogre::SceneManager* m_sceneManager;
    Ogre::TerrainGroup* m_terrainGroup;
    Ogre::TerrainGlobalOptions* m_terrainOptions;
};

} // namespace game
