#include "unit/physics/HeadlessOgre.h"

#include "game/SceneLoader.h"
#include "physics/PhysicsCore.h"
#include "physics/bullet/DynamicsWorld.h"
#include "physics/bullet/RigidBody.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sys/stat.h>

namespace {

class SceneLoaderTest : public kbtest::OgreTest {
protected:
    void SetUp() override {
        kbtest::OgreTest::SetUp();
        m_core = std::make_unique<physics::PhysicsCore>();
        ASSERT_TRUE(m_core->Init(m_scene));
        kbtest::HeadlessOgre::boxMesh("crate.mesh", Ogre::Vector3(1.0f));
        if (!Ogre::MaterialManager::getSingleton().resourceExists("Painted"))
            Ogre::MaterialManager::getSingleton().create("Painted", "General");
        m_rootChildren = m_scene->getRootSceneNode()->numChildren(); // the debug drawer's node
    }
    void TearDown() override {
        m_core.reset();
        kbtest::OgreTest::TearDown();
        std::remove(m_path.c_str());
    }

    // Writes the scene text to a file and loads it into the test's scene.
    bool load(const std::string& text) {
        m_path = ::testing::TempDir() + "scene_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".scene";
        std::ofstream(m_path) << text;
        game::SceneLoader loader(m_path, m_scene);
        const bool ok = loader.Init();
        loader.ParseScene();
        return ok;
    }

    Ogre::Light* onlyLight() {
        const auto& lights = m_scene->getMovableObjects(Ogre::LightFactory::FACTORY_TYPE_NAME);
        return lights.size() == 1 ? static_cast<Ogre::Light*>(lights.begin()->second) : nullptr;
    }

    size_t bodies() const { return m_core->world()->getRigidBodies().size(); }

    std::unique_ptr<physics::PhysicsCore> m_core;
    std::string m_path;
    size_t m_rootChildren = 0;
};

TEST_F(SceneLoaderTest, DirectionVectorWinsOverNormal) {
    ASSERT_TRUE(load(R"(<scene><light name="sun" type="directional" castShadows="false">
        <directionVector x="0" y="-1" z="0"/><normal x="1" y="0" z="0"/>
        <colourDiffuse r="0.5" g="0.25" b="1"/></light></scene>)"));
    Ogre::Light* light = onlyLight();
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->getName(), "sun");
    EXPECT_EQ(light->getType(), Ogre::Light::LT_DIRECTIONAL);
    EXPECT_FALSE(light->getCastShadows());
    EXPECT_TRUE(light->isVisible());
    EXPECT_TRUE(light->getDerivedDirection().directionEquals(Ogre::Vector3::NEGATIVE_UNIT_Y, Ogre::Degree(0.01f)));
    EXPECT_EQ(light->getDiffuseColour(), Ogre::ColourValue(0.5f, 0.25f, 1.0f, 1.0f)); // alpha defaults to 1
    // The light has a node of its own; the scene's root stays put.
    EXPECT_EQ(m_scene->getRootSceneNode()->getOrientation(), Ogre::Quaternion::IDENTITY);
}

TEST_F(SceneLoaderTest, DirectionalLightIgnoresAttenuationAndRange) {
    ASSERT_TRUE(load(R"(<scene><light name="sun" type="directional">
        <lightAttenuation range="50" constant="1" linear="0.5" quadratic="0.1"/>
        <lightRange inner="10" outer="20" falloff="3"/></light></scene>)"));
    Ogre::Light* light = onlyLight();
    ASSERT_NE(light, nullptr);
    Ogre::Light reference;
    EXPECT_FLOAT_EQ(light->getAttenuationRange(), reference.getAttenuationRange());
    EXPECT_FLOAT_EQ(light->getAttenuationLinear(), reference.getAttenuationLinear());
    EXPECT_FLOAT_EQ(light->getSpotlightFalloff(), reference.getSpotlightFalloff());
}

TEST_F(SceneLoaderTest, SpotLightTakesAttenuationPositionAndRangeInDegrees) {
    ASSERT_TRUE(load(R"(<scene><light name="lamp" type="spot" visible="false" castShadows="yes">
        <position x="1" y="2" z="3"/><lightAttenuation range="50" linear="0.5"/>
        <lightRange inner="10" outer="20"/><colourSpecular r="1"/></light></scene>)"));
    Ogre::Light* light = onlyLight();
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->getType(), Ogre::Light::LT_SPOTLIGHT);
    EXPECT_FALSE(light->isVisible());
    EXPECT_FALSE(light->getCastShadows()); // only "true" is true
    EXPECT_TRUE(light->getDerivedPosition().positionEquals(Ogre::Vector3(1, 2, 3)));
    EXPECT_FLOAT_EQ(light->getAttenuationRange(), 50.0f);
    EXPECT_FLOAT_EQ(light->getAttenuationConstant(), 0.0f);
    EXPECT_FLOAT_EQ(light->getAttenuationLinear(), 0.5f);
    EXPECT_NEAR(light->getSpotlightInnerAngle().valueDegrees(), 10.0f, 1e-4f);
    EXPECT_NEAR(light->getSpotlightOuterAngle().valueDegrees(), 20.0f, 1e-4f);
    EXPECT_FLOAT_EQ(light->getSpotlightFalloff(), 1.0f);
    EXPECT_EQ(light->getSpecularColour(), Ogre::ColourValue(1, 0, 0, 1));
}

TEST_F(SceneLoaderTest, OnlyTheFirstLightCountsAndUnknownTypesStayPoint) {
    ASSERT_TRUE(load(R"(<scene><group><light name="first" type="torch"/></group>
        <nodes/><light name="second" type="directional"/></scene>)"));
    Ogre::Light* light = onlyLight();
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->getName(), "first");
    EXPECT_EQ(light->getType(), Ogre::Light::LT_POINT);
}

TEST_F(SceneLoaderTest, EnvironmentSetsAmbientAndInactiveSkyBoxHasNoEffect) {
    ASSERT_TRUE(load(R"(<scene><environment><skyBox material="NoSuchSky"/>
        <skyDome material="NoSuchSky" active="false"/><colourAmbient r="0.2" g="0.3" b="0.4"/>
        </environment></scene>)"));
    EXPECT_FALSE(m_scene->isSkyBoxEnabled());
    EXPECT_FALSE(m_scene->isSkyDomeEnabled());
    EXPECT_EQ(m_scene->getAmbientLight(), Ogre::ColourValue(0.2f, 0.3f, 0.4f, 1.0f));
}

TEST_F(SceneLoaderTest, NodesGetTransformsEntitiesAndStaticBodies) {
    ASSERT_TRUE(load(R"(<scene><nodes>
        <node name="hangar"><position x="5"/><rotation qw="0.7071068" qy="0.7071068"/>
          <scale x="2" y="1" z="3"/>
          <entity name="hangar_a" meshFile="crate.mesh" castShadows="true">
            <subentity index="0" materialName="Painted"/></entity>
          <entity name="hangar_b" meshFile="crate.mesh"><subentity materialName="Painted"/></entity>
          <node name="nested"><entity name="nested_e" meshFile="crate.mesh"/></node>
        </node>
        <anything><position x="1" y="2" z="3"/></anything>
        </nodes></scene>)"));
    Ogre::SceneNode* node = m_scene->getSceneNode("hangar");
    EXPECT_TRUE(node->getPosition().positionEquals(Ogre::Vector3(5, 0, 0)));
    EXPECT_TRUE(node->getScale().positionEquals(Ogre::Vector3(2, 1, 3)));
    EXPECT_TRUE(node->getOrientation().equals(Ogre::Quaternion(Ogre::Degree(90), Ogre::Vector3::UNIT_Y),
                                              Ogre::Degree(0.01f)));
    EXPECT_TRUE(node->getInitialPosition().positionEquals(Ogre::Vector3(5, 0, 0)));
    ASSERT_EQ(node->numAttachedObjects(), 2u);

    Ogre::Entity* a = m_scene->getEntity("hangar_a");
    Ogre::Entity* b = m_scene->getEntity("hangar_b");
    EXPECT_TRUE(a->getCastShadows());
    EXPECT_FALSE(b->getCastShadows());
    EXPECT_EQ(a->getSubEntity(0)->getMaterialName(), "Painted");
    EXPECT_EQ(b->getSubEntity(0)->getMaterialName(), "BaseWhite"); // no index: no change
    EXPECT_FALSE(m_scene->hasEntity("nested_e")); // nodes are not nested
    EXPECT_FALSE(m_scene->hasSceneNode("nested"));

    // Two entities of "hangar" became bodies; the unnamed node has none.
    EXPECT_EQ(bodies(), 2u);
    EXPECT_NE(m_core->world()->findRigidBody("hangar"), nullptr);
    ASSERT_EQ(m_scene->getRootSceneNode()->numChildren(), m_rootChildren + 2);
    Ogre::SceneNode* unnamed =
        static_cast<Ogre::SceneNode*>(m_scene->getRootSceneNode()->getChild(m_rootChildren + 1));
    EXPECT_TRUE(unnamed->getPosition().positionEquals(Ogre::Vector3(1, 2, 3)));
}

TEST_F(SceneLoaderTest, SpawnAndTriggerNodesGetNoEntityAndNoBody) {
    ASSERT_TRUE(load(R"(<scene><nodes>
        <node name="catering_spawn_1"><position x="10" y="1" z="-4"/>
          <entity name="spawn_marker" meshFile="crate.mesh"/></node>
        <node name="gate3_trigger"><position x="-3"/><scale x="4" y="2" z="6"/>
          <entity name="trigger_marker" meshFile="crate.mesh"/></node>
        <node name="Spawned_Trigger_caps"><entity name="caps" meshFile="crate.mesh"/></node>
        </nodes></scene>)"));
    Ogre::SceneNode* spawn = m_scene->getSceneNode("catering_spawn_1");
    EXPECT_TRUE(spawn->getPosition().positionEquals(Ogre::Vector3(10, 1, -4)));
    EXPECT_EQ(spawn->numAttachedObjects(), 0u);
    Ogre::SceneNode* trigger = m_scene->getSceneNode("gate3_trigger");
    EXPECT_TRUE(trigger->getScale().positionEquals(Ogre::Vector3(4, 2, 6)));
    EXPECT_EQ(trigger->numAttachedObjects(), 0u);
    EXPECT_FALSE(m_scene->hasEntity("spawn_marker"));
    EXPECT_FALSE(m_scene->hasEntity("trigger_marker"));
    // The search is case-sensitive: this one is an ordinary node.
    EXPECT_TRUE(m_scene->hasEntity("caps"));
    EXPECT_EQ(bodies(), 1u);
}

TEST_F(SceneLoaderTest, ValueDefaults) {
    ASSERT_TRUE(load(R"(<scene><environment><colourAmbient r="0.5"/></environment><nodes>
        <node name="only_x"><position x="7"/><scale x="2" y="2" z="2"/></node>
        <node name="zero_rotation"><rotation qx="1"/></node></nodes></scene>)"));
    EXPECT_EQ(m_scene->getAmbientLight(), Ogre::ColourValue(0.5f, 0.0f, 0.0f, 1.0f));
    EXPECT_TRUE(m_scene->getSceneNode("only_x")->getPosition().positionEquals(Ogre::Vector3(7, 0, 0)));
    const Ogre::Quaternion q = m_scene->getSceneNode("zero_rotation")->getOrientation();
    EXPECT_NEAR(std::abs(q.x), 1.0f, 1e-5f); // qw defaults to 0: a half turn about x
}

TEST_F(SceneLoaderTest, MissingFileLoadsNothingAndWritesNothing) {
    const std::string path = ::testing::TempDir() + "no_such_dir_kb/none.scene";
    game::SceneLoader loader(path, m_scene);
    EXPECT_FALSE(loader.Init());
    loader.ParseScene();
    struct stat info;
    EXPECT_NE(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(m_scene->getRootSceneNode()->numChildren(), m_rootChildren);
    EXPECT_EQ(loader.terrain_group(), nullptr);
    EXPECT_EQ(loader.terrain_options(), nullptr);
}

TEST_F(SceneLoaderTest, MalformedFileIsLeftAloneAndBuildsNothing) {
    const std::string text = "<scene><nodes><node name=\"half\"><position x=\"1\"/></nodes>";
    EXPECT_FALSE(load(text));
    EXPECT_FALSE(m_scene->hasSceneNode("half"));
    std::ifstream in(m_path);
    const std::string kept((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(kept, text);
}

TEST_F(SceneLoaderTest, BadElementsAreSkippedAndTheRestLoads) {
    ASSERT_TRUE(load(R"(<scene><nodes>
        <node name="twin"/><node name="twin"><entity name="lost" meshFile="crate.mesh"/></node>
        <node name="broken"><entity name="nomesh" meshFile="missing.mesh"/></node>
        <node name="fine"><entity name="fine_e" meshFile="crate.mesh">
          <subentity index="5" materialName="Painted"/><subentity index="0" materialName="Nope"/></entity></node>
        </nodes></scene>)"));
    EXPECT_TRUE(m_scene->hasSceneNode("broken"));
    EXPECT_FALSE(m_scene->hasEntity("nomesh"));
    EXPECT_FALSE(m_scene->hasEntity("lost"));
    ASSERT_TRUE(m_scene->hasEntity("fine_e"));
    EXPECT_EQ(m_scene->getEntity("fine_e")->getSubEntity(0)->getMaterialName(), "BaseWhite");
    EXPECT_EQ(bodies(), 1u);
}

TEST_F(SceneLoaderTest, CopiesShareTheDocumentAndScene) {
    m_path = ::testing::TempDir() + "scene_copy.scene";
    std::ofstream(m_path) << R"(<scene><nodes><node name="copied"/></nodes></scene>)";
    game::SceneLoader original(m_path, m_scene);
    ASSERT_TRUE(original.Init());
    game::SceneLoader copy(original);
    copy.ParseScene();
    EXPECT_TRUE(m_scene->hasSceneNode("copied"));
}

} // namespace
