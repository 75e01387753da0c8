#include "WorldWindow.h"

#include "game/SceneLoader.h"
#include "physics/PhysicsCore.h"
#include "physics/bullet/DynamicsWorld.h"

#include <BulletCollision/CollisionShapes/btHeightfieldTerrainShape.h>
#include <OGRE/Ogre.h>
#include <OGRE/Terrain/OgreTerrain.h>
#include <OGRE/Terrain/OgreTerrainGroup.h>
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>

namespace {

const int kSize = 33;
const float kWorldSize = 320.0f;

// Rises along x and, more gently, along the rows, so that a page read with its
// rows the wrong way round gives different heights.
float sampleHeight(int column, int row) {
    return 10.0f + 15.0f * column / float(kSize - 1) + 5.0f * row / float(kSize - 1);
}

class TerrainSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        WorldWindow& world = WorldWindow::get();
        ASSERT_TRUE(world.ready);
        m_scene = world.root->createSceneManager();
        char pattern[] = "/tmp/kb_terrain_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        WorldWindow::addTerrainMedia();
        writePage();
        // Locations are indexed when added, so the page must be there first.
        Ogre::ResourceGroupManager::getSingleton().addResourceLocation(m_dir, "FileSystem", "General");
    }

    void TearDown() override {
        m_physics.reset();
        if (m_loaderGroup)
            OGRE_DELETE m_loaderGroup;
        if (Ogre::TerrainGlobalOptions::getSingletonPtr())
            OGRE_DELETE Ogre::TerrainGlobalOptions::getSingletonPtr();
        WorldWindow::get().root->destroySceneManager(m_scene);
        Ogre::ResourceGroupManager::getSingleton().removeResourceLocation(m_dir, "General");
        std::system(("rm -rf " + m_dir).c_str());
    }

    // A page of known heights, saved the way the asset builder saves the airport's.
    void writePage() {
        if (!Ogre::TerrainGlobalOptions::getSingletonPtr())
            OGRE_NEW Ogre::TerrainGlobalOptions();
        Ogre::TerrainGroup group(m_scene, Ogre::Terrain::ALIGN_X_Z, kSize, kWorldSize);
        Ogre::Terrain::ImportData& import = group.getDefaultImportSettings();
        import.terrainSize = kSize;
        import.worldSize = kWorldSize;
        import.inputScale = 1.0f;
        import.minBatchSize = 17;
        import.maxBatchSize = 33;
        std::vector<float> heights(kSize * kSize);
        for (int row = 0; row < kSize; ++row)
            for (int column = 0; column < kSize; ++column)
                heights[row * kSize + column] = sampleHeight(column, row);
        group.defineTerrain(0, 0, heights.data());
        group.loadAllTerrains(true);
        group.getTerrain(0, 0)->save(m_dir + "/page_test.ogt");
        group.removeAllTerrains();
    }

    void loadScene(long pageX, long pageY) {
        const std::string path = m_dir + "/terrain.scene";
        std::ofstream(path) << "<scene><environment><colourAmbient r=\"0.4\" g=\"0.4\" b=\"0.4\"/></environment>"
                            << "<terrain worldSize=\"" << kWorldSize << "\" mapSize=\"" << kSize
                            << "\" colourmapEnabled=\"false\" colourMapTextureSize=\"256\""
                            << " tuningCompositeMapDistance=\"300\" tuningMaxPixelError=\"8\"><pages>"
                            << "<terrainPage name=\"page_test.ogt\" pageX=\"" << pageX << "\" pageY=\"" << pageY
                            << "\"/></pages></terrain></scene>";
        m_physics = std::make_unique<physics::PhysicsCore>();
        ASSERT_TRUE(m_physics->Init(m_scene));
        game::SceneLoader loader(path, m_scene);
        ASSERT_TRUE(loader.Init());
        loader.ParseScene();
        m_loaderGroup = loader.terrain_group();
        ASSERT_NE(m_loaderGroup, nullptr);
        ASSERT_EQ(loader.terrain_options(), Ogre::TerrainGlobalOptions::getSingletonPtr());
    }

    btRigidBody* heightField() const {
        const btCollisionObjectArray& objects =
            m_physics->world()->getBulletDynamicsWorld()->getCollisionObjectArray();
        for (int i = 0; i < objects.size(); ++i)
            if (objects[i]->getCollisionShape()->getShapeType() == TERRAIN_SHAPE_PROXYTYPE)
                return btRigidBody::upcast(objects[i]);
        return nullptr;
    }

    bool physicsHeight(const Ogre::Vector3& at, float& height) const {
        const btVector3 from(at.x, 1000.0f, at.z), to(at.x, -1000.0f, at.z);
        btCollisionWorld::ClosestRayResultCallback hit(from, to);
        m_physics->world()->getBulletDynamicsWorld()->rayTest(from, to, hit);
        height = hit.m_hitPointWorld.y();
        return hit.hasHit();
    }

    Ogre::SceneManager* m_scene = nullptr;
    std::string m_dir;
    std::unique_ptr<physics::PhysicsCore> m_physics;
    Ogre::TerrainGroup* m_loaderGroup = nullptr;
};

TEST_F(TerrainSceneTest, HeightFieldMatchesTheTerrainAtItsSamples) {
    loadScene(0, 0);
    Ogre::Terrain* terrain = m_loaderGroup->getTerrain(0, 0);
    ASSERT_NE(terrain, nullptr);
    ASSERT_TRUE(terrain->isLoaded());
    EXPECT_NEAR(terrain->getMinHeight(), 10.0f, 1e-3f);
    EXPECT_NEAR(terrain->getMaxHeight(), 30.0f, 1e-3f);
    EXPECT_EQ(m_scene->getAmbientLight(), Ogre::ColourValue(0.4f, 0.4f, 0.4f));
    EXPECT_FALSE(m_scene->hasLight("tstLight")); // the stand-in light is gone again

    btRigidBody* body = heightField();
    ASSERT_NE(body, nullptr);
    const btVector3& origin = body->getWorldTransform().getOrigin();
    EXPECT_FLOAT_EQ(origin.y(), 20.0f);
    EXPECT_FLOAT_EQ(origin.x(), terrain->getPosition().x);
    EXPECT_FLOAT_EQ(origin.z(), terrain->getPosition().z);
    EXPECT_FLOAT_EQ(body->getCollisionShape()->getLocalScaling().x(), kWorldSize / (kSize - 1));

    int checked = 0;
    for (long row = 0; row < kSize; row += 4) {
        for (long column = 0; column < kSize; column += 4) {
            Ogre::Vector3 sample;
            terrain->getPoint(column, row, &sample); // the page is centred on the origin
            // Edge samples are taken a hair inside, where a ray still meets the field.
            sample.x = Ogre::Math::Clamp(sample.x, -kWorldSize / 2 + 0.01f, kWorldSize / 2 - 0.01f);
            sample.z = Ogre::Math::Clamp(sample.z, -kWorldSize / 2 + 0.01f, kWorldSize / 2 - 0.01f);
            float height = 0.0f;
            ASSERT_TRUE(physicsHeight(sample, height)) << "column " << column << " row " << row;
            EXPECT_NEAR(height, terrain->getHeightAtWorldPosition(sample), 0.02f)
                << "column " << column << " row " << row;
            EXPECT_NEAR(height, sampleHeight(column, row), 0.02f) << "column " << column << " row " << row;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 81);
}

TEST_F(TerrainSceneTest, PageAwayFromTheOriginKeepsItsPlace) {
    loadScene(1, -2);
    Ogre::Terrain* terrain = m_loaderGroup->getTerrain(1, -2);
    ASSERT_NE(terrain, nullptr);
    const Ogre::Vector3 centre = terrain->getPosition();
    EXPECT_NEAR(std::abs(centre.x) + std::abs(centre.z), 3 * kWorldSize, 1e-3f);
    btRigidBody* body = heightField();
    ASSERT_NE(body, nullptr);
    EXPECT_FLOAT_EQ(body->getWorldTransform().getOrigin().x(), centre.x);
    EXPECT_FLOAT_EQ(body->getWorldTransform().getOrigin().z(), centre.z);
    Ogre::Vector3 corner;
    terrain->getPoint(kSize - 1, 1, &corner); // relative to the page's centre
    corner += centre;
    corner.x -= 0.01f;
    float height = 0.0f;
    ASSERT_TRUE(physicsHeight(corner, height));
    EXPECT_NEAR(height, terrain->getHeightAtWorldPosition(corner), 0.02f);
}

TEST_F(TerrainSceneTest, MissingPageIsSkippedWithoutABody) {
    const std::string path = m_dir + "/missing.scene";
    std::ofstream(path) << "<scene><terrain worldSize=\"320\" mapSize=\"33\"><pages>"
                           "<terrainPage name=\"page_none.ogt\" pageX=\"0\" pageY=\"0\"/></pages></terrain></scene>";
    m_physics = std::make_unique<physics::PhysicsCore>();
    ASSERT_TRUE(m_physics->Init(m_scene));
    game::SceneLoader loader(path, m_scene);
    ASSERT_TRUE(loader.Init());
    loader.ParseScene();
    m_loaderGroup = loader.terrain_group();
    EXPECT_EQ(heightField(), nullptr);
}

TEST_F(TerrainSceneTest, ActiveSkyBoxIsShownFromTheGameGroup) {
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    if (!groups.resourceGroupExists("GameCore"))
        groups.createResourceGroup("GameCore");
    if (!Ogre::MaterialManager::getSingleton().resourceExists("TestSky", "GameCore"))
        Ogre::MaterialManager::getSingleton().create("TestSky", "GameCore");
    const std::string path = m_dir + "/sky.scene";
    std::ofstream(path) << "<scene><environment><skyBox material=\"TestSky\" active=\"true\" distance=\"500\">"
                           "<rotation qw=\"1\"/></skyBox><skyDome material=\"TestSky\"/></environment></scene>";
    game::SceneLoader loader(path, m_scene);
    ASSERT_TRUE(loader.Init());
    loader.ParseScene();
    EXPECT_TRUE(m_scene->isSkyBoxEnabled());
    EXPECT_FALSE(m_scene->isSkyDomeEnabled());
    EXPECT_EQ(loader.terrain_group(), nullptr);
}

} // namespace
