// Every mesh, skeleton, bone, sub-entity and material the game names, loaded
// through the rendering engine from the generated archives.
#include "WorldAssetFixture.h"

namespace worldassets {
namespace {

struct Chassis {
  const char* mesh;
  const char* config;
  int variantIndex;  // -1: the trailer keeps its materials
  const char* variantMaterial;
  std::vector<std::string> extraBones;
};

const std::vector<Chassis> kChassis = {
    {"cateringtruck.mesh", "catering_truck.xml", 3, "mat_vec_color11", {"action_container"}},
    {"fueltruck.mesh", "fueltruck.xml", 0, "mat_vec_tank10", {}},
    {"baggage_car.mesh", "baggage_cart.xml", 4, "mat_vec_color22", {"connection_main"}},
    {"baggage_cart_back.mesh", "baggage_cart_trailer.xml", -1, "", {"connection_cart"}},
};

class MeshInventoryTest : public WorldAssetFixture {};

TEST_F(MeshInventoryTest, ChassisMeshesCarryEveryNamedBone) {
  for (const auto& c : kChassis) {
    SCOPED_TRACE(c.mesh);
    Ogre::Entity* e = scene()->createEntity(c.mesh);
    ASSERT_TRUE(e->hasSkeleton());
    Ogre::SkeletonInstance* skeleton = e->getSkeleton();
    for (const char* bone : {"camera_main", "camera_hood", "camera_wheel", "camera_side"})
      EXPECT_TRUE(skeleton->hasBone(bone)) << bone;
    for (const auto& bone : c.extraBones) EXPECT_TRUE(skeleton->hasBone(bone)) << bone;
    // Wheel bones as derived from both variants' wheel counts.
    for (const char* variant : {"normal", "upgraded"}) {
      auto keys = ReadConfig(kAssets + "/config/" + variant + "/" + c.config);
      int wheels = std::atoi(keys["num_wheels"].c_str());
      int powered = std::atoi(keys["num_powered_wheels"].c_str());
      EXPECT_GT(wheels, 0) << variant;
      for (int i = 0; i < wheels; ++i) EXPECT_TRUE(skeleton->hasBone(WheelBone(i, powered))) << WheelBone(i, powered);
    }
    scene()->destroyEntity(e);
  }
}

TEST_F(MeshInventoryTest, CameraBonesSitAroundAndLookAtTheVehicle) {
  for (const auto& c : kChassis) {
    SCOPED_TRACE(c.mesh);
    Ogre::Entity* e = scene()->createEntity(c.mesh);
    Ogre::AxisAlignedBox box = e->getBoundingBox();
    Ogre::Bone* main = e->getSkeleton()->getBone("camera_main");
    // Behind (vehicles face +z) and above, looking forward toward the vehicle.
    EXPECT_LT(main->getPosition().z, box.getMinimum().z);
    EXPECT_GT(main->getPosition().y, box.getMaximum().y);
    Ogre::Vector3 view = main->getOrientation() * Ogre::Vector3::NEGATIVE_UNIT_Z;
    EXPECT_GT(view.z, 0.7f);
    Ogre::Vector3 side = e->getSkeleton()->getBone("camera_side")->getPosition();
    EXPECT_GT(std::fabs(side.x), box.getHalfSize().x * 2);
    scene()->destroyEntity(e);
  }
}

TEST_F(MeshInventoryTest, RecolouredSubEntitiesAndUpgradeMaterialsExist) {
  for (const auto& c : kChassis) {
    if (c.variantIndex < 0) continue;
    SCOPED_TRACE(c.mesh);
    Ogre::Entity* e = scene()->createEntity(c.mesh);
    ASSERT_GT(e->getNumSubEntities(), unsigned(c.variantIndex));
    Ogre::MaterialPtr upgrade = Ogre::MaterialManager::getSingleton().getByName(c.variantMaterial);
    ASSERT_TRUE(upgrade) << c.variantMaterial;
    EXPECT_NE(e->getSubEntity(unsigned(c.variantIndex))->getMaterialName(), c.variantMaterial);
    for (unsigned i = 0; i < e->getNumSubEntities(); ++i) {
      Ogre::MaterialPtr m = e->getSubEntity(i)->getMaterial();
      ASSERT_TRUE(m);
      EXPECT_NE(m->getName(), "BaseWhite") << "sub-entity " << i << " has no material of its own";
      // Shadow receivers put their maps behind exactly one surface texture.
      EXPECT_EQ(m->getTechnique(0)->getPass(0)->getNumTextureUnitStates(), 1u) << m->getName();
    }
    scene()->destroyEntity(e);
  }
}

TEST_F(MeshInventoryTest, ContainerRisesWithItsBone) {
  Ogre::Entity* truck = scene()->createEntity("cateringtruck.mesh");
  Ogre::Bone* container = truck->getSkeleton()->getBone("action_container");
  Ogre::Vector3 rest = container->_getDerivedPosition();
  container->setManuallyControlled(true);
  container->setPosition(container->getPosition() + Ogre::Vector3(0, 0.9f, 0));
  truck->getSkeleton()->_updateTransforms();
  float rise = container->_getDerivedPosition().y - rest.y;
  // The container reaches an aircraft door sill, several metres up.
  EXPECT_GT(rise, 3.0f);
  EXPECT_LT(rise, 5.0f);
  scene()->destroyEntity(truck);
}

TEST_F(MeshInventoryTest, WheelsMarkersArrowAndPreviewsLoad) {
  for (const char* mesh : {"catering_wheel.mesh", "fueltruck_wheel.mesh", "baggagewheel_front.mesh",
                           "baggagewheel_back.mesh", "waypoint.mesh", "parkarea.mesh", "arrow.mesh", "mini_fuel_A.mesh",
                           "mini_fuel_B.mesh", "mini_cat_A.mesh", "mini_cat_B.mesh", "mini_bag_A.mesh",
                           "mini_bag_B.mesh"}) {
    SCOPED_TRACE(mesh);
    Ogre::Entity* e = scene()->createEntity(mesh);
    EXPECT_GT(e->getNumSubEntities(), 0u);
    EXPECT_FALSE(e->getBoundingBox().isNull());
    for (unsigned i = 0; i < e->getNumSubEntities(); ++i)
      EXPECT_TRUE(Ogre::MaterialManager::getSingleton().resourceExists(e->getSubEntity(i)->getMaterialName(), "GameCore"))
          << e->getSubEntity(i)->getMaterialName();
    scene()->destroyEntity(e);
  }
  // A wheel's radius is half its height; the vehicles rely on it.
  Ogre::Entity* wheel = scene()->createEntity("catering_wheel.mesh");
  EXPECT_NEAR(wheel->getBoundingBox().getSize().y, 1.0f, 0.01f);
  scene()->destroyEntity(wheel);
  // The arrow points along +z, the way the vehicles face: its tip reaches
  // further than its tail.
  Ogre::Entity* arrow = scene()->createEntity("arrow.mesh");
  EXPECT_GT(arrow->getBoundingBox().getMaximum().z, -arrow->getBoundingBox().getMinimum().z);
  scene()->destroyEntity(arrow);
}

TEST_F(MeshInventoryTest, PreviewsDifferOnlyInTheUpgradedColour) {
  Ogre::MeshPtr a = Ogre::MeshManager::getSingleton().load("mini_cat_A.mesh", "GameCore");
  Ogre::MeshPtr b = Ogre::MeshManager::getSingleton().load("mini_cat_B.mesh", "GameCore");
  auto materials = [](const Ogre::MeshPtr& m) {
    std::set<std::string> names;
    for (unsigned i = 0; i < m->getNumSubMeshes(); ++i) names.insert(m->getSubMesh(i)->getMaterialName());
    return names;
  };
  EXPECT_EQ(materials(a).count("mat_vec_color11"), 0u);
  EXPECT_EQ(materials(b).count("mat_vec_color11"), 1u);
  EXPECT_EQ(a->getBounds().getSize(), b->getBounds().getSize());
}

TEST_F(MeshInventoryTest, ShadowMaterialsAndProgramsCompile) {
  ASSERT_TRUE(Ogre::MaterialManager::getSingleton().getByName("Ogre/shadow/depth/caster"));
  auto& programs = Ogre::GpuProgramManager::getSingleton();
  for (const char* name : {"Ogre/shadow/receiver/depth/pssm3/vp", "Ogre/shadow/receiver/depth/pssm3/fp",
                           "Ogre/shadow/receiver/depth/pssm3/vertexlit/vp",
                           "Ogre/shadow/receiver/depth/pssm3/vertexlit/fp", "Ogre/shadow/depth/caster/vp",
                           "Ogre/shadow/depth/caster/fp"}) {
    SCOPED_TRACE(name);
    Ogre::GpuProgramPtr p = programs.getByName(name, "GameCore");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->getLanguage(), "glsl");
    p->load();
    EXPECT_FALSE(p->hasCompileError());
  }
  // Both receivers read their textures from the same units.
  for (const char* name : {"Ogre/shadow/receiver/depth/pssm3/fp", "Ogre/shadow/receiver/depth/pssm3/vertexlit/fp"}) {
    SCOPED_TRACE(name);
    Ogre::GpuProgramPtr fp = programs.getByName(name, "GameCore");
    ASSERT_TRUE(fp);
    Ogre::GpuProgramParametersSharedPtr params = fp->createParameters();
    for (const char* constant : {"pssmSplitPoints", "shadowMap0", "shadowMap1", "shadowMap2", "diffuseMap"})
      EXPECT_TRUE(params->_findNamedConstantDefinition(constant) != nullptr) << constant;
    // Samplers: the surface texture on unit 0, the three shadow maps on 1 to 3.
    std::vector<int> units;
    for (const char* sampler : {"diffuseMap", "shadowMap0", "shadowMap1", "shadowMap2"}) {
      const Ogre::GpuConstantDefinition* def = params->_findNamedConstantDefinition(sampler);
      ASSERT_NE(def, nullptr);
      units.push_back(*params->getIntPointer(def->physicalIndex));
    }
    EXPECT_EQ(units, (std::vector<int>{0, 1, 2, 3}));
  }
}

}  // namespace
}  // namespace worldassets
