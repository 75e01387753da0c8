#pragma once

#include "base/Export.h"
#include "xml/Document.h"

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

#include <string>

namespace Ogre {
class Light;
class SceneManager;
class SceneNode;
class TerrainGlobalOptions;
class TerrainGroup;
} // namespace Ogre

namespace xml {
class Element;
class Iterator;
} // namespace xml

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

    Ogre::TerrainGroup* terrain_group() const { return m_terrainGroup; }
    Ogre::TerrainGlobalOptions* terrain_options() const { return m_terrainOptions; }

private:
    void ProcessEnvironment(xml::Iterator it);
    void ProcessSkyBox(xml::Element* element);
    void ProcessSkyDome(xml::Element* element);
    void ProcessLight(xml::Iterator it, Ogre::SceneNode* parent);
    void ProcessLightAttenuation(const xml::Element* element, Ogre::Light* light);
    void ProcessLightRange(const xml::Element* element, Ogre::Light* light);
    void ProcessNodes(xml::Iterator it, Ogre::SceneNode* parent);
    void ProcessEntity(const xml::Element* element, Ogre::SceneNode* node, bool isStatic);
    void ProcessTerrain(xml::Iterator it);
    void ProcessTerrainPages(const xml::Element* element);

    Ogre::Vector3 ParseVector3(const xml::Element* element);
    Ogre::Quaternion ParseQuaternion(const xml::Element* element);
    Ogre::ColourValue ParseColor(const xml::Element* element);

    xml::Document m_document;
    Ogre::SceneManager* m_sceneManager;
    Ogre::TerrainGroup* m_terrainGroup;
    Ogre::TerrainGlobalOptions* m_terrainOptions;
};

} // namespace game
