#include "WorldWindow.h"

#include "game/SceneLoader.h"
#include "physics/PhysicsCore.h"
#include "physics/bullet/DebugDrawer.h"
#include "physics/bullet/DynamicsWorld.h"

#include "display/Core.h"
#include "display/RenderProfile.h"

#include <OGRE/Ogre.h>
#include <OGRE/Terrain/OgreTerrain.h>
#include <OGRE/Terrain/OgreTerrainGroup.h>
#include <OGRE/Terrain/OgreTerrainMaterialGeneratorA.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <sys/stat.h>

namespace {

const char* const kScene = "../assets/level/airport_scene.scene";

bool exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// The airport as the game builds it: resources, shadows, physics, scene.
struct Airport {
    bool loaded = false;
    double seconds = 0.0;
    physics::PhysicsCore* physics = nullptr;
    Ogre::TerrainGroup* terrain = nullptr;
};
Airport g_airport;

class AirportSceneTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        WorldWindow& world = WorldWindow::get();
        if (!world.ready || !exists(kScene))
            return;
        Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
        if (!groups.resourceGroupExists("GameCore"))
            groups.createResourceGroup("GameCore", false);
        if (exists("../assets/custom_textures"))
            groups.addResourceLocation("../assets/custom_textures", "FileSystem", "GameCore");
        groups.addResourceLocation("../assets/assets.pip", "Zip", "GameCore", true);
        groups.addResourceLocation("../assets/terrain.pip", "Zip", "General", true);
        groups.initialiseResourceGroup("GameCore");

        Ogre::SceneManager* scene = world.scene;
        // Shadows as the game core sets them.
        display::Core::getSingleton()->EnablePSSM();
        scene->setShadowTechnique(Ogre::SHADOWTYPE_TEXTURE_ADDITIVE_INTEGRATED);
        scene->setShadowFarDistance(3000.0f);
        scene->setShadowTextureCountPerLightType(Ogre::Light::LT_DIRECTIONAL, 3);

        const auto start = std::chrono::steady_clock::now();
        g_airport.physics = new physics::PhysicsCore();
        g_airport.physics->Init(scene);
        game::SceneLoader loader(kScene, scene);
        g_airport.loaded = loader.Init();
        loader.ParseScene();
        g_airport.terrain = loader.terrain_group();
        g_airport.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::cout << "airport scene loaded in " << g_airport.seconds << " s, "
                  << g_airport.physics->world()->getBulletDynamicsWorld()->getNumCollisionObjects()
                  << " collision objects" << std::endl;
    }

    static void TearDownTestSuite() {
        delete g_airport.physics;
        g_airport.physics = nullptr;
        if (g_airport.terrain)
            OGRE_DELETE g_airport.terrain;
        g_airport.terrain = nullptr;
        if (Ogre::TerrainGlobalOptions::getSingletonPtr())
            OGRE_DELETE Ogre::TerrainGlobalOptions::getSingletonPtr();
    }

    void SetUp() override {
        if (!exists(kScene))
            GTEST_SKIP() << "no generated airport scene at " << kScene << " (build the world assets)";
        ASSERT_TRUE(WorldWindow::get().ready);
        ASSERT_TRUE(g_airport.loaded);
    }

    static std::vector<std::string> sceneNodeNames(const std::string& part) {
        std::vector<std::string> names;
        for (Ogre::Node* child : WorldWindow::get().scene->getRootSceneNode()->getChildren())
            if (child->getName().find(part) != std::string::npos)
                names.push_back(child->getName());
        return names;
    }

    static bool groundBelow(const Ogre::Vector3& at, float& height) {
        const btVector3 from(at.x, at.y + 1.0f, at.z), to(at.x, at.y - 100.0f, at.z);
        btCollisionWorld::ClosestRayResultCallback hit(from, to);
        g_airport.physics->world()->getBulletDynamicsWorld()->rayTest(from, to, hit);
        height = hit.m_hitPointWorld.y();
        return hit.hasHit();
    }
};

TEST_F(AirportSceneTest, EverySpawnAndTriggerOfTheMissionsExists) {
    Ogre::SceneManager* scene = WorldWindow::get().scene;
    int missions = 0;
    std::set<std::string> named;
    for (int number = -1; number <= 99; ++number) {
        const std::string path = "../assets/level/mission/mission" + std::to_string(number) + ".xml";
        if (!exists(path))
            continue;
        TiXmlDocument document(path);
        ASSERT_TRUE(document.LoadFile()) << path;
        ++missions;
        for (TiXmlElement* e = document.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement()) {
            const std::string kind = e->ValueStr();
            if (kind != "spawn" && kind != "trigger")
                continue;
            const char* name = e->Attribute("name");
            ASSERT_NE(name, nullptr) << path;
            EXPECT_TRUE(scene->hasSceneNode(name)) << path << " names the missing node " << name;
            EXPECT_NE(std::string(name).find(kind), std::string::npos) << name;
            named.insert(name);
        }
    }
    EXPECT_GE(missions, 2);
    EXPECT_FALSE(named.empty());
    std::cout << missions << " missions name " << named.size() << " spawn and trigger nodes" << std::endl;
}

// The vehicle a mission puts on each spawn node, by vehicle type.
std::map<std::string, std::string> missionSpawns() {
    std::map<std::string, std::string> spawns;
    for (int number = -1; number <= 99; ++number) {
        TiXmlDocument document("../assets/level/mission/mission" + std::to_string(number) + ".xml");
        if (!document.LoadFile() || !document.RootElement())
            continue;
        for (TiXmlElement* e = document.RootElement()->FirstChildElement("spawn"); e;
             e = e->NextSiblingElement("spawn"))
            if (e->Attribute("name") && e->Attribute("vehicle"))
                spawns[e->Attribute("name")] = e->Attribute("vehicle");
    }
    return spawns;
}

TEST_F(AirportSceneTest, EverySpawnStandsOnGround) {
    const std::vector<std::string> spawns = sceneNodeNames("spawn");
    ASSERT_FALSE(spawns.empty());
    for (const std::string& name : spawns) {
        Ogre::SceneNode* node = WorldWindow::get().scene->getSceneNode(name);
        EXPECT_EQ(node->numAttachedObjects(), 0u) << name;
        EXPECT_EQ(g_airport.physics->world()->findRigidBody(name), nullptr) << name;
        const Ogre::Vector3 at = node->_getDerivedPosition();
        float ground = 0.0f;
        ASSERT_TRUE(groundBelow(at, ground)) << name << " has no ground below it";
        // A spawn node is where the centre of a vehicle's chassis box starts,
        // so the node itself stands half a vehicle above the ground.
        EXPECT_LE(at.y - ground, 3.0f) << name << " at " << at << ", ground at " << ground;
    }
}

// The chassis box of the vehicle each mission spawns there (centred on the
// node, as big as the chassis mesh) starts on the ground: its bottom is
// less than a metre above it and not inside it.
TEST_F(AirportSceneTest, VehiclesStartWithinAMetreAboveTheGround) {
    const std::map<std::string, std::string> meshes = {
        {"CateringTruck", "cateringtruck.mesh"}, {"FuelTruck", "fueltruck.mesh"}, {"BaggageCart", "baggage_car.mesh"}};
    const std::map<std::string, std::string> spawns = missionSpawns();
    ASSERT_FALSE(spawns.empty());
    for (const auto& spawn : spawns) {
        ASSERT_TRUE(meshes.count(spawn.second)) << spawn.second;
        Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().load(meshes.at(spawn.second), "GameCore");
        const float halfHeight = mesh->getBounds().getHalfSize().y;
        const Ogre::Vector3 at = WorldWindow::get().scene->getSceneNode(spawn.first)->_getDerivedPosition();
        float ground = 0.0f;
        ASSERT_TRUE(groundBelow(at, ground)) << spawn.first;
        const float gap = at.y - halfHeight - ground;
        EXPECT_GE(gap, -0.05f) << spawn.second << " at " << spawn.first << " starts in the ground";
        EXPECT_LE(gap, 1.0f) << spawn.second << " at " << spawn.first << " starts " << gap << " m up";
    }
}

TEST_F(AirportSceneTest, TriggersAreEmptyBoxesOverGround) {
    const std::vector<std::string> triggers = sceneNodeNames("trigger");
    ASSERT_FALSE(triggers.empty());
    for (const std::string& name : triggers) {
        Ogre::SceneNode* node = WorldWindow::get().scene->getSceneNode(name);
        EXPECT_EQ(node->numAttachedObjects(), 0u) << name;
        const Ogre::Vector3 scale = node->getScale();
        EXPECT_GT(std::min({scale.x, scale.y, scale.z}), 0.0f) << name;
        float ground = 0.0f;
        ASSERT_TRUE(groundBelow(node->_getDerivedPosition() + Ogre::Vector3(0, scale.y, 0), ground)) << name;
    }
}

TEST_F(AirportSceneTest, StaticGeometryTerrainAndLightAreThere) {
    Ogre::SceneManager* scene = WorldWindow::get().scene;
    EXPECT_GT(g_airport.physics->world()->getRigidBodies().size(), 5u);
    ASSERT_NE(g_airport.terrain, nullptr);
    int pages = 0;
    Ogre::TerrainGroup::TerrainIterator it = g_airport.terrain->getTerrainIterator();
    while (it.hasMoreElements()) {
        Ogre::TerrainGroup::TerrainSlot* slot = it.getNext();
        pages += slot->instance && slot->instance->isLoaded();
    }
    EXPECT_GE(pages, 1);
    const auto& lights = scene->getMovableObjects(Ogre::LightFactory::FACTORY_TYPE_NAME);
    ASSERT_EQ(lights.size(), 1u);
    const Ogre::Light* sun = static_cast<const Ogre::Light*>(lights.begin()->second);
    EXPECT_EQ(sun->getType(), Ogre::Light::LT_DIRECTIONAL);
    EXPECT_TRUE(sun->getCastShadows());
    EXPECT_TRUE(scene->isSkyBoxEnabled() || scene->isSkyDomeEnabled());
}

TEST_F(AirportSceneTest, BodyDroppedAtASpawnComesToRestOnTheApron) {
    const std::vector<std::string> spawns = sceneNodeNames("spawn");
    ASSERT_FALSE(spawns.empty());
    const Ogre::Vector3 at = WorldWindow::get().scene->getSceneNode(spawns.front())->_getDerivedPosition();
    btBoxShape box(btVector3(1.0f, 0.75f, 2.5f));
    btVector3 inertia;
    box.calculateLocalInertia(1500.0f, inertia);
    btTransform start(btQuaternion::getIdentity(), btVector3(at.x, at.y + 3.0f, at.z));
    btDefaultMotionState motion(start);
    btRigidBody body(btRigidBody::btRigidBodyConstructionInfo(1500.0f, &motion, &box, inertia));
    btDiscreteDynamicsWorld* world = g_airport.physics->world()->getBulletDynamicsWorld();
    world->addRigidBody(&body);
    for (int i = 0; i < 300; ++i)
        g_airport.physics->Update(1.0 / 60.0);
    const btVector3 rest = body.getWorldTransform().getOrigin();
    world->removeRigidBody(&body);
    float ground = 0.0f;
    ASSERT_TRUE(groundBelow(Ogre::Vector3(rest.x(), rest.y(), rest.z()), ground));
    EXPECT_NEAR(rest.y() - 0.75f, ground, 0.1f);
    EXPECT_LT(body.getLinearVelocity().length(), 0.1f);
}

TEST_F(AirportSceneTest, DebugShapesDrawOverTheRenderedScene) {
    WorldWindow& world = WorldWindow::get();
    OgreBulletDynamics::DynamicsWorld* physicsWorld = g_airport.physics->world();
    ASSERT_NE(physicsWorld->getDebugDrawer(), nullptr);
    physicsWorld->setShowDebugShapes(true);
    g_airport.physics->Update(1.0 / 60.0);
    const size_t lines = physicsWorld->getDebugDrawer()->getLineCount();
    world.cameraNode->setPosition(0, 200, 200);
    world.cameraNode->lookAt(Ogre::Vector3::ZERO, Ogre::Node::TS_WORLD);
    EXPECT_NO_THROW(world.render());
    if (const char* folder = std::getenv("KB_WORLD_SHOTS")) {
        EXPECT_TRUE(world.screenshot(std::string(folder) + "/world-debug-shapes.png"));
    }
    physicsWorld->setShowDebugShapes(false);
    g_airport.physics->Update(1.0 / 60.0);
    // Every static mesh of the scene has its triangles drawn as lines.
    EXPECT_GT(lines, 3 * physicsWorld->getRigidBodies().size());
    EXPECT_EQ(physicsWorld->getDebugDrawer()->getLineCount(), 0u);
    EXPECT_NO_THROW(world.render());
}

// Texture filtering, shadow look-ups and terrain layers as the renderer's profile says.
TEST_F(AirportSceneTest, MaterialsAndTerrainFollowTheRenderProfile) {
    const display::RenderProfile& profile = display::Core::getSingleton()->render_profile();
    Ogre::TextureUnitState reference(nullptr);
    reference.setTextureFiltering(profile.shadow_filtering());
    const Ogre::FilterOptions shadowMin = reference.getTextureFiltering(Ogre::FT_MIN);
    const Ogre::FilterOptions surfaceMip = profile.texture_filtering() == Ogre::TFO_BILINEAR ? Ogre::FO_POINT
                                                                                           : Ogre::FO_LINEAR;
    auto checkShadowUnits = [&](const Ogre::MaterialPtr& material) {
        int shadowUnits = 0;
        for (Ogre::TextureUnitState* unit : material->getTechnique(0)->getPass(0)->getTextureUnitStates()) {
            if (unit->getContentType() != Ogre::TextureUnitState::CONTENT_SHADOW)
                continue;
            ++shadowUnits;
            EXPECT_EQ(unit->getTextureFiltering(Ogre::FT_MIN), shadowMin) << material->getName();
        }
        EXPECT_EQ(shadowUnits, 3) << material->getName();
    };

    Ogre::Entity* airliner = WorldWindow::get().scene->getEntity("aircraft_A2");
    const Ogre::MaterialPtr& skin = airliner->getSubEntity(0)->getMaterial();
    ASSERT_EQ(skin->getName().rfind("PSSMMaterial/", 0), 0u) << skin->getName();
    Ogre::TextureUnitState* surface = skin->getTechnique(0)->getPass(0)->getTextureUnitState(0);
    EXPECT_EQ(surface->getTextureFiltering(Ogre::FT_MIP), surfaceMip);
    EXPECT_EQ(surface->getTextureAnisotropy(), profile.anisotropy());
    checkShadowUnits(skin);
    // Lit at the vertices or at every pixel, as the profile says.
    const std::string receiver = profile.vertex_lighting() ? "Ogre/shadow/receiver/depth/pssm3/vertexlit/"
                                                           : "Ogre/shadow/receiver/depth/pssm3/";
    EXPECT_EQ(skin->getTechnique(0)->getPass(0)->getVertexProgramName(), receiver + "vp");
    EXPECT_EQ(skin->getTechnique(0)->getPass(0)->getFragmentProgramName(), receiver + "fp");

    ASSERT_NE(g_airport.terrain, nullptr);
    Ogre::Terrain* page = g_airport.terrain->getTerrain(0, 0);
    ASSERT_NE(page, nullptr);
    // Drawn after the apron so that the depth test skips the terrain under it,
    // and the sky after both so that it is shaded only where it shows.
    EXPECT_GT(page->getRenderQueueGroup(), Ogre::RENDER_QUEUE_MAIN);
    Ogre::SceneNode* sky = WorldWindow::get().scene->getSkyDomeNode();
    ASSERT_NE(sky, nullptr);
    ASSERT_GT(sky->numAttachedObjects(), 0u);
    EXPECT_GT(sky->getAttachedObject(0)->getRenderQueueGroup(), page->getRenderQueueGroup());
    // The terrain draws nothing into the shadow maps, and reads them where the profile says so.
    if (profile.terrain_shadows())
        checkShadowUnits(page->getMaterial());
    std::vector<Ogre::Node*> nodes{page->_getRootSceneNode()};
    int pieces = 0;
    while (!nodes.empty()) {
        auto* node = static_cast<Ogre::SceneNode*>(nodes.back());
        nodes.pop_back();
        for (Ogre::MovableObject* piece : node->getAttachedObjects()) {
            EXPECT_FALSE(piece->getCastShadows()) << piece->getName();
            ++pieces;
        }
        nodes.insert(nodes.end(), node->getChildren().begin(), node->getChildren().end());
    }
    EXPECT_GT(pieces, 0);
    auto* layers = dynamic_cast<Ogre::TerrainMaterialGeneratorA::SM2Profile*>(
        Ogre::TerrainGlobalOptions::getSingleton().getDefaultMaterialGenerator()->getActiveProfile());
    ASSERT_NE(layers, nullptr);
    EXPECT_EQ(layers->isLayerNormalMappingEnabled(), profile.terrain_normal_mapping());
    EXPECT_EQ(layers->isLayerParallaxMappingEnabled(), profile.terrain_parallax_mapping());
    EXPECT_EQ(layers->isLayerSpecularMappingEnabled(), profile.terrain_specular_mapping());
    EXPECT_EQ(layers->getReceiveDynamicShadowsEnabled(), profile.terrain_shadows());
    // The composite map takes over no farther than the profile allows.
    const float composite = Ogre::TerrainGlobalOptions::getSingleton().getCompositeMapDistance();
    EXPECT_GT(composite, 0.0f);
    if (profile.terrain_composite_map_distance() > 0.0f) {
        EXPECT_LE(composite, profile.terrain_composite_map_distance());
    }
}

// Mean brightness of a small square around the middle of the window.
float brightnessAtCentre(WorldWindow& world) {
    Ogre::Image image;
    image.create(Ogre::PF_BYTE_RGBA, world.window->getWidth(), world.window->getHeight());
    // The back buffer still holds the frame just shown; the front one may read back empty.
    world.window->copyContentsToMemory(image.getPixelBox(), image.getPixelBox(), Ogre::RenderTarget::FB_BACK);
    const size_t cx = image.getWidth() / 2, cy = image.getHeight() / 2;
    const int kHalf = 3;
    float sum = 0.0f;
    int count = 0;
    for (int y = -kHalf; y <= kHalf; ++y)
        for (int x = -kHalf; x <= kHalf; ++x) {
            const Ogre::ColourValue c = image.getColourAt(cx + x, cy + y, 0);
            sum += 0.3f * c.r + 0.59f * c.g + 0.11f * c.b;
            ++count;
        }
    return sum / float(count);
}

// Where the sun throws the shadow of an airliner's middle on the apron, the
// picture is darker than the same spot with that airliner casting no shadow;
// looked at from each shadow split's distance range.
TEST_F(AirportSceneTest, AirlinersShadowTheApronInEverySplit) {
    WorldWindow& world = WorldWindow::get();
    Ogre::SceneManager* scene = world.scene;
    const auto& lights = scene->getMovableObjects(Ogre::LightFactory::FACTORY_TYPE_NAME);
    ASSERT_EQ(lights.size(), 1u);
    const Ogre::Vector3 sunward = -static_cast<const Ogre::Light*>(lights.begin()->second)->getDerivedDirection();
    ASSERT_GT(sunward.y, 0.1f);
    ASSERT_TRUE(scene->hasEntity("aircraft_A2"));
    Ogre::Entity* airliner = scene->getEntity("aircraft_A2");
    ASSERT_TRUE(airliner->getCastShadows());

    const Ogre::Vector3 middle = airliner->getWorldBoundingBox(true).getCenter();
    float ground = 0.0f;
    Ogre::Vector3 shadow = middle - sunward * (middle.y / sunward.y);
    ASSERT_TRUE(groundBelow(shadow + Ogre::Vector3(0.0f, 5.0f, 0.0f), ground));
    shadow = middle - sunward * ((middle.y - ground) / sunward.y);
    // The eye looks at the spot from the side away from the airliner.
    Ogre::Vector3 away = -sunward;
    away.y = 0.0f;
    away.normalise();

    const float distances[] = {20.0f, 70.0f, 200.0f};  // inside split 0, 1 and 2
    world.cameraNode->setFixedYawAxis(true);
    for (float distance : distances) {
        world.cameraNode->setPosition(shadow + (away * 0.6f + Ogre::Vector3::UNIT_Y * 0.8f) * distance);
        world.cameraNode->lookAt(shadow, Ogre::Node::TS_WORLD);
        for (int i = 0; i < 2; ++i)
            world.render();
        const float shaded = brightnessAtCentre(world);
        airliner->setCastShadows(false);
        for (int i = 0; i < 2; ++i)
            world.render();
        const float sunlit = brightnessAtCentre(world);
        airliner->setCastShadows(true);
        EXPECT_LT(shaded, 0.85f * sunlit) << "seen from " << distance << " m: " << shaded << " against " << sunlit;
        EXPECT_GT(sunlit, 0.1f) << distance;
    }
}

// Renders the apron; writes the pictures when KB_WORLD_SHOTS names a folder.
TEST_F(AirportSceneTest, ApronRendersFromAboveAndFromASpawn) {
    WorldWindow& world = WorldWindow::get();
    const std::vector<std::string> spawns = sceneNodeNames("spawn");
    ASSERT_FALSE(spawns.empty());
    const char* folder = std::getenv("KB_WORLD_SHOTS");

    struct View {
        const char* file;
        Ogre::Vector3 eye;
        Ogre::Vector3 target;
    };
    const Ogre::Vector3 spawn = world.scene->getSceneNode(spawns.front())->_getDerivedPosition();
    Ogre::Vector3 centre = Ogre::Vector3::ZERO;
    for (const std::string& name : sceneNodeNames("trigger"))
        centre += world.scene->getSceneNode(name)->_getDerivedPosition();
    centre /= float(std::max<size_t>(1, sceneNodeNames("trigger").size()));
    const View views[] = {
        {"world-apron-above.png", centre + Ogre::Vector3(-60.0f, 170.0f, 150.0f), centre},
        {"world-apron-spawn.png", spawn + Ogre::Vector3(0.0f, 2.5f, 0.0f),
         spawn + (centre - spawn).normalisedCopy() * 40.0f + Ogre::Vector3(0, 1.0f, 0)},
    };
    world.cameraNode->setFixedYawAxis(true);
    for (const View& view : views) {
        world.cameraNode->setPosition(view.eye);
        world.cameraNode->lookAt(view.target, Ogre::Node::TS_WORLD);
        for (int i = 0; i < 3; ++i)
            world.render();
        Ogre::Image image;
        image.create(Ogre::PF_BYTE_RGBA, world.window->getWidth(), world.window->getHeight());
        world.window->copyContentsToMemory(image.getPixelBox(), image.getPixelBox());
        // A real picture has many distinct colours, not one cleared background.
        std::set<Ogre::uint32> colours;
        const Ogre::uint32* pixels = reinterpret_cast<const Ogre::uint32*>(image.getData());
        for (size_t i = 0; i < image.getWidth() * image.getHeight(); i += 97)
            colours.insert(pixels[i]);
        EXPECT_GT(colours.size(), 200u) << view.file;
        if (folder) {
            EXPECT_TRUE(world.screenshot(std::string(folder) + "/" + view.file));
        }
    }
}

} // namespace
