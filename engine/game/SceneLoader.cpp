#include "game/SceneLoader.h"

#include "game/SceneReader.h"
#include "physics/PhysicsCore.h"
#include "xml/Reader.h"

#include "display/Core.h"
#include "display/RenderProfile.h"
#include "display/cam/CameraManager.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreLight.h>
#include <OGRE/OgreMaterial.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreTechnique.h>
#include <OGRE/OgreTextureUnitState.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreShadowCameraSetupPSSM.h>
#include <OGRE/OgreSubEntity.h>
#include <OGRE/Terrain/OgreTerrain.h>
#include <OGRE/Terrain/OgreTerrainGroup.h>
#include <OGRE/Terrain/OgreTerrainMaterialGeneratorA.h>

#include <algorithm>
#include <exception>
#include <iostream>
#include <memory>
#include <vector>

namespace game {

namespace {
const char* const kSkyGroup = "GameCore";
const char* const kTerrainGroup = "General";
// After the scene's meshes: the apron covers most of the terrain, and the depth
// test then spares the terrain's costly pixels that the apron hides anyway.
const Ogre::uint8 kTerrainRenderQueue = Ogre::RENDER_QUEUE_MAIN + 1;

// The rendering engine reports a bad name or a missing mesh by throwing; one
// bad element must not cost the rest of the scene.
void report(const std::string& what, const std::exception& error) {
    std::cerr << "SceneLoader: " << what << " skipped: " << error.what() << std::endl;
}

// The terrain's material is generated from the rendering engine's own shader
// helpers, which live in its media folder; each is registered once only.
void addTerrainShaderHelpers() {
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    const std::string media = KB_OGRE_MEDIA_DIR;
    const std::pair<const char*, const char*> helpers[] = {{"TerrainHelpers.glsl", "/Terrain"},
                                                           {"SGXLib_IntegratedPSSM.glsl", "/RTShaderLib/GLSL"},
                                                           {"OgreUnifiedShader.h", "/ShadowVolume"}};
    for (const auto& helper : helpers) {
        if (groups.resourceExistsInAnyGroup(helper.first))
            continue;
        try {
            groups.addResourceLocation(media + helper.second, "FileSystem", kTerrainGroup);
        } catch (const std::exception& error) {
            report(std::string("terrain shader folder ") + helper.second, error);
        }
    }
}
// The terrain's pieces cast by default whatever the global option says. The
// ground is flat under everything that stands on it and the light map already
// darkens the hills' far sides, so its caster pass would only fill the three
// shadow maps edge to edge every frame.
void keepFromCasting(Ogre::Terrain& terrain) {
    std::vector<Ogre::SceneNode*> nodes{terrain._getRootSceneNode()};
    while (!nodes.empty()) {
        Ogre::SceneNode* node = nodes.back();
        nodes.pop_back();
        if (!node)
            continue;
        for (Ogre::MovableObject* piece : node->getAttachedObjects())
            piece->setCastShadows(false);
        for (Ogre::Node* child : node->getChildren())
            nodes.push_back(static_cast<Ogre::SceneNode*>(child));
    }
}

void setShadowFiltering(const Ogre::MaterialPtr& material, Ogre::TextureFilterOptions filtering) {
    for (Ogre::Technique* technique : material->getTechniques())
        for (Ogre::Pass* pass : technique->getPasses())
            for (Ogre::TextureUnitState* unit : pass->getTextureUnitStates())
                if (unit->getContentType() == Ogre::TextureUnitState::CONTENT_SHADOW)
                    unit->setTextureFiltering(filtering);
}
} // namespace

SceneLoader::SceneLoader(const std::string& fileName, Ogre::SceneManager* sceneManager)
    : m_document(fileName), m_sceneManager(sceneManager), m_terrainGroup(nullptr), m_terrainOptions(nullptr) {}

SceneLoader::SceneLoader(const SceneLoader& other) = default;

SceneLoader& SceneLoader::operator=(const SceneLoader& other) = default;

SceneLoader::~SceneLoader() = default;

bool SceneLoader::Init() {
    // Read only: the scene is an asset, never rewritten by the game.
    if (xml::Reader::LoadFile(m_document, m_document.path()))
        return true;
    std::cerr << "SceneLoader: can't load scene \"" << m_document.path() << "\": " << m_document.ErrorDesc()
              << std::endl;
    m_document.Clear();
    m_document.ClearError();
    return false;
}

void SceneLoader::ParseScene() {
    Build(SceneReader::Read(m_document));
}

void SceneLoader::Build(const SceneDescription& scene) {
    if (!m_sceneManager) {
        std::cerr << "SceneLoader: no scene manager to build \"" << m_document.path() << "\" in" << std::endl;
        return;
    }
    if (scene.hasEnvironment)
        ProcessEnvironment(scene);
    if (scene.hasLight)
        ProcessLight(scene.light, m_sceneManager->getRootSceneNode());
    if (!scene.nodes.empty())
        ProcessNodes(scene.nodes, nullptr);
    if (scene.hasTerrain)
        ProcessTerrain(scene.terrain);
}

void SceneLoader::ProcessEnvironment(const SceneDescription& scene) {
    if (scene.skyBox.present)
        ProcessSkyBox(scene.skyBox);
    if (scene.skyDome.present)
        ProcessSkyDome(scene.skyDome);
    if (scene.hasAmbient)
        m_sceneManager->setAmbientLight(scene.ambient);
}

void SceneLoader::ProcessSkyBox(const SceneDescription::Sky& sky) {
    if (!sky.active)
        return;
    try {
        m_sceneManager->setSkyBox(true, sky.material, sky.distance, sky.drawFirst, sky.orientation, kSkyGroup);
    } catch (const std::exception& error) {
        report("sky box \"" + sky.material + "\"", error);
    }
}

void SceneLoader::ProcessSkyDome(const SceneDescription::Sky& sky) {
    if (!sky.active)
        return;
    try {
        m_sceneManager->setSkyDome(true, sky.material, sky.curvature, sky.tiling, sky.distance, sky.drawFirst,
                                   sky.orientation, 16, 16, -1, kSkyGroup);
    } catch (const std::exception& error) {
        report("sky dome \"" + sky.material + "\"", error);
    }
}

void SceneLoader::ProcessLight(const SceneDescription::Light& description, Ogre::SceneNode* parent) {
    const std::string& name = description.name;
    Ogre::Light* light = nullptr;
    try {
        light = name.empty() ? m_sceneManager->createLight() : m_sceneManager->createLight(name);
    } catch (const std::exception& error) {
        report("light \"" + name + "\"", error);
        return;
    }
    // The light gets a node of its own below the parent: placing and turning
    // the light moves that node, never the parent.
    Ogre::SceneNode* node = (parent ? parent : m_sceneManager->getRootSceneNode())->createChildSceneNode();
    node->attachObject(light);

    const std::string& type = description.type;
    if (type == "point" || type == "radPoint")
        light->setType(Ogre::Light::LT_POINT);
    else if (type == "directional")
        light->setType(Ogre::Light::LT_DIRECTIONAL);
    else if (type == "spot")
        light->setType(Ogre::Light::LT_SPOTLIGHT);
    light->setCastShadows(description.castShadows);
    light->setVisible(description.visible);

    if (description.hasPosition)
        node->setPosition(description.position);
    for (const Ogre::Vector3& towards : description.directions) {
        if (towards.isZeroLength())
            continue;
        node->setOrientation(Ogre::Vector3::NEGATIVE_UNIT_Z.getRotationTo(towards.normalisedCopy()));
    }
    if (description.hasDiffuse)
        light->setDiffuseColour(description.diffuse);
    if (description.hasSpecular)
        light->setSpecularColour(description.specular);

    if (light->getType() == Ogre::Light::LT_DIRECTIONAL)
        return;
    if (description.hasAttenuation)
        light->setAttenuation(description.attenuationRange, description.attenuationConstant,
                              description.attenuationLinear, description.attenuationQuadratic);
    if (description.hasSpotRange) {
        const Ogre::Angle inner(description.spotInner);
        const Ogre::Angle outer(description.spotOuter);
        light->setSpotlightRange(Ogre::Radian(inner), Ogre::Radian(outer), description.spotFalloff);
    }
}

void SceneLoader::ProcessNodes(const std::vector<SceneDescription::Node>& nodes, Ogre::SceneNode* parent) {
    Ogre::SceneNode* parentNode = parent ? parent : m_sceneManager->getRootSceneNode();
    for (const SceneDescription::Node& description : nodes) {
        const std::string& name = description.name;
        Ogre::SceneNode* node = nullptr;
        try {
            node = name.empty() ? parentNode->createChildSceneNode() : parentNode->createChildSceneNode(name);
        } catch (const std::exception& error) {
            report("node \"" + name + "\"", error);
            continue;
        }
        if (description.hasPosition)
            node->setPosition(description.position);
        if (description.hasRotation)
            node->setOrientation(description.rotation);
        if (description.hasScale)
            node->setScale(description.scale);
        node->setInitialState();

        const bool isTrigger = name.find("trigger") != std::string::npos;
        const bool isSpawn = name.find("spawn") != std::string::npos;
        if (!description.entities.empty() && !isTrigger && !isSpawn)
            ProcessEntity(description.entities, node, true);
    }
}

void SceneLoader::ProcessEntity(const std::vector<SceneDescription::Entity>& entities, Ogre::SceneNode* node,
                                bool isStatic) {
    for (const SceneDescription::Entity& description : entities) {
        const std::string& name = description.name;
        const std::string& meshFile = description.meshFile;
        Ogre::Entity* entity = nullptr;
        try {
            entity = name.empty() ? m_sceneManager->createEntity(meshFile) : m_sceneManager->createEntity(name, meshFile);
        } catch (const std::exception& error) {
            report("entity \"" + name + "\" (" + meshFile + ")", error);
            continue;
        }
        entity->setCastShadows(description.castShadows);

        for (const SceneDescription::SubEntity& sub : description.subEntities) {
            const std::string& materialName = sub.materialName;
            const int index = sub.index;
            if (index == -1)
                continue;
            Ogre::MaterialPtr material = Ogre::MaterialManager::getSingleton().getByName(materialName);
            if (!material) {
                std::cerr << "SceneLoader: material \"" << materialName << "\" of entity \"" << name
                          << "\" not found" << std::endl;
                continue;
            }
            if (index < 0 || static_cast<unsigned int>(index) >= entity->getNumSubEntities()) {
                std::cerr << "SceneLoader: entity \"" << name << "\" has no sub-entity " << index << std::endl;
                continue;
            }
            entity->getSubEntity(index)->setMaterial(material);
        }

        if (display::Core* core = display::Core::getSingleton()) {
            for (unsigned int i = 0; i < entity->getNumSubEntities(); ++i) {
                Ogre::SubEntity* sub = entity->getSubEntity(i);
                try {
                    Ogre::MaterialPtr receiver = core->BuildPSSMMaterial(sub->getMaterial());
                    if (receiver)
                        sub->setMaterial(receiver);
                } catch (const std::exception& error) {
                    report("shadow material of \"" + sub->getMaterialName() + "\"", error);
                }
            }
        }

        node->attachObject(entity);
        if (isStatic) {
            if (physics::PhysicsCore* physics = physics::PhysicsCore::getSingleton())
                physics->AddStaticEntity(entity, node);
        } else {
            entity->setVisible(false);
        }
    }
}

void SceneLoader::ProcessTerrain(const SceneDescription::Terrain& description) {
    const float worldSize = description.worldSize;
    const int mapSize = description.mapSize;
    const int compositeMapDistance = description.compositeMapDistance;
    const int maxPixelError = description.maxPixelError;
    if (mapSize < 2 || worldSize <= 0.0f) {
        std::cerr << "SceneLoader: terrain with map size " << mapSize << " and world size " << worldSize
                  << " skipped" << std::endl;
        return;
    }

    addTerrainShaderHelpers();

    // A stand-in light that only serves the terrain's baked lighting.
    Ogre::Light* light = nullptr;
    try {
        light = m_sceneManager->createLight("tstLight");
    } catch (const std::exception& error) {
        report("terrain light", error);
    }
    const Ogre::Vector3 lightDirection = Ogre::Vector3(0.0f, -0.3f, 0.75f).normalisedCopy();
    const Ogre::ColourValue lightDiffuse(1.0f, 1.0f, 1.0f, 1.0f);
    if (light) {
        light->setType(Ogre::Light::LT_DIRECTIONAL);
        light->setDiffuseColour(lightDiffuse);
        light->setSpecularColour(Ogre::ColourValue(0.4f, 0.4f, 0.4f, 1.0f));
    }

    m_terrainOptions = Ogre::TerrainGlobalOptions::getSingletonPtr();
    if (!m_terrainOptions)
        m_terrainOptions = OGRE_NEW Ogre::TerrainGlobalOptions();
    m_terrainOptions->setMaxPixelError(static_cast<Ogre::Real>(maxPixelError));
    m_terrainOptions->setLightMapDirection(lightDirection);
    m_terrainOptions->setCompositeMapAmbient(m_sceneManager->getAmbientLight());
    m_terrainOptions->setCompositeMapDiffuse(lightDiffuse);
    m_terrainOptions->setDefaultResourceGroup(kTerrainGroup);
    // The depth shadow caster cannot read compressed terrain vertices: it would
    // draw the pages as garbage and throw a false shadow over the apron.
    m_terrainOptions->setUseVertexCompressionWhenAvailable(false);
    m_terrainOptions->setRenderQueueGroup(kTerrainRenderQueue);
    m_terrainOptions->setCastsDynamicShadows(false);

    m_terrainGroup = OGRE_NEW Ogre::TerrainGroup(m_sceneManager, Ogre::Terrain::ALIGN_X_Z,
                                                 static_cast<Ogre::uint16>(mapSize), worldSize);
    m_terrainGroup->setFilenameConvention("page_", "ogt");
    m_terrainGroup->setOrigin(Ogre::Vector3::ZERO);
    m_terrainGroup->setResourceGroup(kTerrainGroup);

    // The renderer's profile decides how much of the terrain's layer detail is worth its cost.
    const display::Core* core = display::Core::getSingleton();
    const display::RenderProfile renderProfile = core ? core->render_profile() : display::RenderProfile();
    float compositeDistance = static_cast<float>(compositeMapDistance);
    if (renderProfile.terrain_composite_map_distance() > 0.0f)
        compositeDistance = std::min(compositeDistance, renderProfile.terrain_composite_map_distance());
    m_terrainOptions->setCompositeMapDistance(compositeDistance);
    Ogre::TerrainMaterialGeneratorPtr generator = m_terrainOptions->getDefaultMaterialGenerator();
    if (auto* profile = dynamic_cast<Ogre::TerrainMaterialGeneratorA::SM2Profile*>(generator->getActiveProfile())) {
        profile->setLayerNormalMappingEnabled(renderProfile.terrain_normal_mapping());
        profile->setLayerParallaxMappingEnabled(renderProfile.terrain_parallax_mapping());
        profile->setLayerSpecularMappingEnabled(renderProfile.terrain_specular_mapping());
        profile->setReceiveDynamicShadowsEnabled(renderProfile.terrain_shadows());
        if (renderProfile.terrain_shadows()) {
            profile->setReceiveDynamicShadowsDepth(true);
            if (display::cam::CameraManager* cameras = display::cam::CameraManager::getSingleton())
                profile->setReceiveDynamicShadowsPSSM(cameras->shadow_camera_setup().get());
        }
    }

    if (!description.pages.empty())
        ProcessTerrainPages(description.pages);

    try {
        m_terrainGroup->loadAllTerrains(true);
    } catch (const std::exception& error) {
        report("terrain loading", error);
    }
    if (light)
        m_sceneManager->destroyLight(light);
    m_terrainGroup->freeTemporaryResources();

    // The generated materials read the shadow maps as the scene's own receivers do.
    Ogre::TerrainGroup::TerrainIterator pages = m_terrainGroup->getTerrainIterator();
    while (pages.hasMoreElements()) {
        Ogre::Terrain* terrain = pages.getNext()->instance;
        if (!terrain || !terrain->isLoaded())
            continue;
        keepFromCasting(*terrain);
        try {
            const Ogre::MaterialPtr& material = terrain->getMaterial();
            if (material)
                setShadowFiltering(material, renderProfile.shadow_filtering());
        } catch (const std::exception& error) {
            report("terrain material", error);
        }
    }
}

void SceneLoader::ProcessTerrainPages(const std::vector<SceneDescription::TerrainPage>& pages) {
    for (const SceneDescription::TerrainPage& page : pages) {
        const std::string& name = page.name;
        const long x = page.x;
        const long y = page.y;
        Ogre::Terrain* terrain = nullptr;
        try {
            m_terrainGroup->defineTerrain(x, y, name);
            m_terrainGroup->loadTerrain(x, y, true);
            terrain = m_terrainGroup->getTerrain(x, y);
        } catch (const std::exception& error) {
            report("terrain page \"" + name + "\"", error);
            m_terrainGroup->removeTerrain(x, y);
            continue;
        }
        if (!terrain || !terrain->isLoaded()) {
            std::cerr << "SceneLoader: terrain page \"" << name << "\" did not load" << std::endl;
            m_terrainGroup->removeTerrain(x, y);
            continue;
        }

        // Ogre's rows run towards -z, Bullet's towards +z: the rows are mirrored.
        const int size = terrain->getSize();
        const float* source = terrain->getHeightData();
        float* heights = new float[static_cast<size_t>(size) * size];
        for (int row = 0; row < size; ++row)
            std::copy(source + static_cast<size_t>(size - 1 - row) * size,
                      source + static_cast<size_t>(size - row) * size, heights + static_cast<size_t>(row) * size);

        if (physics::PhysicsCore* physics = physics::PhysicsCore::getSingleton()) {
            physics->AddTerrain(size, size, heights, terrain->getMinHeight(), terrain->getMaxHeight(),
                                terrain->getPosition(), terrain->getWorldSize() / static_cast<float>(size - 1),
                                name);
        } else {
            delete[] heights;
        }
    }
}

} // namespace game
