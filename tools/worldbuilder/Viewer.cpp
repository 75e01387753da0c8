#include "Viewer.h"

#include "RenderContext.h"
#include "Xml.h"

#include <OGRE/Terrain/OgreTerrain.h>
#include <OGRE/Terrain/OgreTerrainGroup.h>
#include <OGRE/Terrain/OgreTerrainMaterialGeneratorA.h>

#include <cstdio>
#include <vector>
#include <xml/Reader.h>

namespace worldbuilder {
namespace {

Ogre::PSSMShadowCameraSetup* g_pssm = nullptr;

Ogre::MaterialPtr ShadowReceiving(const Ogre::MaterialPtr& material) {
  std::string name = "PSSMMaterial/" + material->getName();
  auto& mm = Ogre::MaterialManager::getSingleton();
  Ogre::MaterialPtr existing = mm.getByName(name);
  if (existing) return existing;
  Ogre::MaterialPtr clone = material->clone(name);
  Ogre::Technique* t = clone->getTechnique(0);
  t->setShadowCasterMaterial("Ogre/shadow/depth/caster");
  Ogre::Pass* p = t->getPass(0);
  p->setVertexProgram("Ogre/shadow/receiver/depth/pssm3/vp");
  p->setFragmentProgram("Ogre/shadow/receiver/depth/pssm3/fp");
  for (int i = 0; i < 3; ++i) {
    Ogre::TextureUnitState* u = p->createTextureUnitState();
    u->setName("shadow" + std::to_string(i));
    u->setContentType(Ogre::TextureUnitState::CONTENT_SHADOW);
    u->setTextureAddressingMode(Ogre::TextureUnitState::TAM_BORDER);
    u->setTextureBorderColour(Ogre::ColourValue::White);
  }
  const auto& splits = g_pssm->getSplitPoints();
  p->getFragmentProgramParameters()->setNamedConstant(
      "pssmSplitPoints", Ogre::Vector4(splits[0], splits[1], splits[2], splits[3]));
  return clone;
}

Ogre::Entity* Place(Ogre::SceneManager* scene, const std::string& mesh, const Ogre::Vector3& at, float yaw,
                    bool shadows) {
  Ogre::Entity* e = scene->createEntity(mesh);
  for (unsigned i = 0; i < e->getNumSubEntities(); ++i)
    e->getSubEntity(i)->setMaterial(shadows ? ShadowReceiving(e->getSubEntity(i)->getMaterial())
                                            : e->getSubEntity(i)->getMaterial());
  e->setCastShadows(true);
  Ogre::SceneNode* n = scene->getRootSceneNode()->createChildSceneNode(at);
  n->yaw(Ogre::Degree(yaw));
  n->attachObject(e);
  return e;
}

// A vehicle as the game shows it: chassis with its wheels on the wheel bones.
Ogre::Entity* PlaceVehicle(Ogre::SceneManager* scene, const std::string& chassis, const std::string& frontWheel,
                           const std::string& backWheel, int wheels, int powered, const Ogre::Vector3& at, float yaw) {
  Ogre::Entity* e = Place(scene, chassis, at, yaw, true);
  Ogre::SceneNode* node = e->getParentSceneNode();
  for (int i = 0; i < wheels; ++i) {
    bool front = i < powered;
    std::string bone = std::string("wheel_") + (front ? "front." : "back.") + ((i % 2) ? "L." : "R.") +
                       std::to_string(front ? i / 2 + 1 : (i - powered) / 2 + 1);
    Ogre::Entity* w = scene->createEntity(front ? frontWheel : backWheel);
    Ogre::SceneNode* wn = node->createChildSceneNode(e->getSkeleton()->getBone(bone)->getPosition());
    wn->attachObject(w);
  }
  return e;
}

}  // namespace

bool Viewer::Render(const std::string& png, const std::string& view) {
  RenderContext context(1280, 800, false);
  if (!context.ok()) return false;
  Ogre::SceneManager* scene = context.scene();
  auto& groups = Ogre::ResourceGroupManager::getSingleton();
  groups.createResourceGroup("GameCore", false);
  groups.addResourceLocation(m_assets + "/custom_textures", "FileSystem", "GameCore");
  groups.addResourceLocation(m_assets + "/assets.pip", "Zip", "GameCore", true);
  groups.addResourceLocation(m_assets + "/terrain.pip", "Zip", "General", true);
  Ogre::TextureManager::getSingleton().setDefaultNumMipmaps(5);
  groups.initialiseAllResourceGroups();

  Ogre::Camera* camera = scene->createCamera("view");
  camera->setNearClipDistance(1);
  camera->setFarClipDistance(5000);
  camera->setFOVy(Ogre::Degree(50));
  Ogre::SceneNode* camNode = scene->getRootSceneNode()->createChildSceneNode();
  camNode->attachObject(camera);
  Ogre::Viewport* vp = context.window()->addViewport(camera);
  camera->setAspectRatio(Ogre::Real(vp->getActualWidth()) / Ogre::Real(vp->getActualHeight()));

  // Parallel-split texture shadows as the game sets them up.
  scene->setShadowTechnique(Ogre::SHADOWTYPE_TEXTURE_ADDITIVE_INTEGRATED);
  scene->setShadowFarDistance(600);
  scene->setShadowTextureCountPerLightType(Ogre::Light::LT_DIRECTIONAL, 3);
  scene->setShadowTextureCount(3);
  scene->setShadowTextureConfig(0, 2048, 2048, Ogre::PF_DEPTH32F);
  scene->setShadowTextureConfig(1, 1024, 1024, Ogre::PF_DEPTH32F);
  scene->setShadowTextureConfig(2, 1024, 1024, Ogre::PF_DEPTH32F);
  scene->setShadowTextureSelfShadow(false);
  scene->setShadowCasterRenderBackFaces(false);
  scene->setShadowTextureCasterMaterial(Ogre::MaterialManager::getSingleton().getByName("Ogre/shadow/depth/caster"));
  g_pssm = new Ogre::PSSMShadowCameraSetup();
  g_pssm->calculateSplitPoints(3, 1, 600, 0.85f);
  g_pssm->setSplitPadding(2);
  g_pssm->setOptimalAdjustFactor(0, 5);
  g_pssm->setOptimalAdjustFactor(1, 1);
  g_pssm->setOptimalAdjustFactor(2, 0.5f);
  scene->setShadowCameraSetup(Ogre::ShadowCameraSetupPtr(g_pssm));
  scene->setShadowFarDistance(3000);

  TiXmlDocument doc(m_assets + "/level/airport_scene.scene");
  if (!xml::Reader::LoadFile(doc, doc.ValueStr())) {
    std::fprintf(stderr, "worldbuilder: cannot read the scene\n");
    return false;
  }
  const TiXmlElement* root = doc.RootElement();
  auto colour = [](const TiXmlElement* e) {
    return Ogre::ColourValue(Xml::Float(e, "r"), Xml::Float(e, "g"), Xml::Float(e, "b"), Xml::Float(e, "a", 1));
  };
  auto vec = [](const TiXmlElement* e) {
    return Ogre::Vector3(Xml::Float(e, "x"), Xml::Float(e, "y"), Xml::Float(e, "z"));
  };
  const TiXmlElement* env = root->FirstChildElement("environment");
  scene->setAmbientLight(colour(env->FirstChildElement("colourAmbient")));
  const TiXmlElement* dome = env->FirstChildElement("skyDome");
  scene->setSkyDome(true, Xml::Text(dome, "material"), Xml::Float(dome, "curvature"), Xml::Float(dome, "tiling"),
                    Xml::Float(dome, "distance"), true, Ogre::Quaternion::IDENTITY, 16, 16, -1, "GameCore");
  const TiXmlElement* le = root->FirstChildElement("light");
  Ogre::Light* sun = scene->createLight(Xml::Text(le, "name"));
  sun->setType(Ogre::Light::LT_DIRECTIONAL);
  sun->setCastShadows(true);
  Ogre::SceneNode* sunNode = scene->getRootSceneNode()->createChildSceneNode();
  sunNode->attachObject(sun);
  sunNode->setDirection(vec(le->FirstChildElement("directionVector")), Ogre::Node::TS_WORLD);
  sun->setDiffuseColour(colour(le->FirstChildElement("colourDiffuse")));
  sun->setSpecularColour(colour(le->FirstChildElement("colourSpecular")));

  bool showTriggers = view == "stand" || view == "hangar";
  for (const TiXmlElement* n = root->FirstChildElement("nodes")->FirstChildElement("node"); n;
       n = n->NextSiblingElement("node")) {
    std::string name = Xml::Text(n, "name");
    Ogre::SceneNode* node = scene->getRootSceneNode()->createChildSceneNode(name);
    node->setPosition(vec(n->FirstChildElement("position")));
    const TiXmlElement* r = n->FirstChildElement("rotation");
    node->setOrientation(Xml::Float(r, "qw"), Xml::Float(r, "qx"), Xml::Float(r, "qy"), Xml::Float(r, "qz"));
    node->setScale(vec(n->FirstChildElement("scale")));
    bool marker = name.find("trigger") != std::string::npos;
    if (marker || name.find("spawn") != std::string::npos) {
      if (marker && showTriggers) {
        Ogre::Entity* e = scene->createEntity(name, name.find("_wp_") != std::string::npos ? "waypoint.mesh"
                                                                                          : "parkarea.mesh");
        e->setCastShadows(false);
        node->attachObject(e);
      }
      continue;
    }
    const TiXmlElement* en = n->FirstChildElement("entity");
    Ogre::Entity* e = scene->createEntity(Xml::Text(en, "name"), Xml::Text(en, "meshFile"));
    e->setCastShadows(Xml::Text(en, "castShadows") == "true");
    for (unsigned i = 0; i < e->getNumSubEntities(); ++i)
      e->getSubEntity(i)->setMaterial(ShadowReceiving(e->getSubEntity(i)->getMaterial()));
    node->attachObject(e);
  }

  const TiXmlElement* te = root->FirstChildElement("terrain");
  Ogre::TerrainGlobalOptions* options = nullptr;
  Ogre::TerrainGroup* group = nullptr;
  if (te) {
  options = new Ogre::TerrainGlobalOptions();
  options->setMaxPixelError(Ogre::Real(Xml::Int(te, "tuningMaxPixelError")));
  // Compressed terrain vertices only decode in the terrain's own shaders; the
  // depth caster would draw them as garbage into the shadow maps.
  options->setUseVertexCompressionWhenAvailable(false);
  options->setCompositeMapDistance(Ogre::Real(Xml::Int(te, "tuningCompositeMapDistance")));
  options->setLightMapDirection(sun->getDerivedDirection());
  options->setCompositeMapAmbient(scene->getAmbientLight());
  options->setCompositeMapDiffuse(sun->getDiffuseColour());
  group = new Ogre::TerrainGroup(scene, Ogre::Terrain::ALIGN_X_Z, Ogre::uint16(Xml::Int(te, "mapSize")),
                                 Xml::Float(te, "worldSize"));
  group->setFilenameConvention("page_", "ogt");
  group->setOrigin(Ogre::Vector3::ZERO);
  auto* profile = static_cast<Ogre::TerrainMaterialGeneratorA::SM2Profile*>(
      options->getDefaultMaterialGenerator()->getActiveProfile());
  profile->setReceiveDynamicShadowsEnabled(true);
  profile->setReceiveDynamicShadowsDepth(true);
  profile->setReceiveDynamicShadowsPSSM(g_pssm);
  const TiXmlElement* page = te->FirstChildElement()->FirstChildElement("terrainPage");
  group->defineTerrain(Xml::Int(page, "pageX"), Xml::Int(page, "pageY"), Xml::Text(page, "name"));
  group->loadAllTerrains(true);
  group->freeTemporaryResources();
  }

  Ogre::Vector3 eye, target;
  if (view == "vehicle") {
    // The catering truck on the stand road, seen from its main camera bone.
    Ogre::Vector3 at(-95, 0, 40);
    Ogre::Entity* truck = PlaceVehicle(scene, "cateringtruck.mesh", "catering_wheel.mesh", "catering_wheel.mesh", 4, 2,
                                       at, 0);
    Ogre::Bone* bone = truck->getSkeleton()->getBone("camera_main");
    camNode->setPosition(at + bone->getPosition());
    camNode->setOrientation(bone->getOrientation());
    camera->setFOVy(Ogre::Degree(55));
  } else if (view == "vehicles" || view.compare(0, 8, "closeup-") == 0) {
    Ogre::Entity* cat = PlaceVehicle(scene, "cateringtruck.mesh", "catering_wheel.mesh", "catering_wheel.mesh", 4, 2,
                                     Ogre::Vector3(-140, 0, 20), 30);
    Ogre::Bone* lift = cat->getSkeleton()->getBone("action_container");
    lift->setManuallyControlled(true);
    // Raised in the line-up, at rest in the close-ups.
    lift->setPosition(0, view == "vehicles" ? 0.9f : 0.0f, 0);
    PlaceVehicle(scene, "fueltruck.mesh", "fueltruck_wheel.mesh", "fueltruck_wheel.mesh", 4, 2,
                 Ogre::Vector3(-128, 0, 20), 30);
    PlaceVehicle(scene, "baggage_car.mesh", "baggagewheel_front.mesh", "baggagewheel_front.mesh", 4, 2,
                 Ogre::Vector3(-117, 0, 22), 30);
    PlaceVehicle(scene, "baggage_cart_back.mesh", "baggagewheel_back.mesh", "baggagewheel_back.mesh", 2, 0,
                 Ogre::Vector3(-117 - 2.5f, 0, 22 - 4.33f), 30);
    eye = Ogre::Vector3(-115, 7, 42);
    target = Ogre::Vector3(-128, 2, 18);
    // closeup-<catering|fuel|cart|trailer>-<front|rear>: one vehicle of the
    // line from a corner, near enough to judge its details.
    const std::vector<std::pair<std::string, Ogre::Vector3>> centres = {
        {"catering", {-140, 2.0f, 20}}, {"fuel", {-128, 2.0f, 20}}, {"cart", {-117, 1.0f, 22}},
        {"trailer", {-119.5f, 0.8f, 17.67f}}};
    for (const auto& c : centres) {
      if (view.find("-" + c.first + "-") == std::string::npos) continue;
      const bool rear = view.find("-rear") != std::string::npos;
      const float reach = c.first == "cart" || c.first == "trailer" ? 6.0f : 13.0f;
      // The line faces 30 degrees left of +z; look from 40 degrees off its nose or tail.
      const Ogre::Radian a = Ogre::Degree(rear ? 30.0f + 180.0f - 40.0f : 30.0f + 40.0f);
      target = c.second;
      eye = target + Ogre::Vector3(Ogre::Math::Sin(a) * reach, reach * 0.35f, Ogre::Math::Cos(a) * reach);
    }
  } else if (view == "stand") {
    eye = Ogre::Vector3(-20, 35, 30);
    target = Ogre::Vector3(-45, 0, 100);
  } else if (view == "hangar") {
    eye = Ogre::Vector3(-160, 45, 20);
    target = Ogre::Vector3(-230, 0, 90);
  } else {
    eye = Ogre::Vector3(-40, 190, -200);
    target = Ogre::Vector3(-20, 0, 60);
  }
  if (view != "vehicle") {
    camNode->setFixedYawAxis(true);
    camNode->setPosition(eye);
    camNode->lookAt(target, Ogre::Node::TS_WORLD);
  }
  for (int i = 0; i < 4; ++i) context.root()->renderOneFrame();
  Ogre::RenderWindow* window = context.window();
  Ogre::Image shot(Ogre::PF_BYTE_RGB, window->getWidth(), window->getHeight());
  window->copyContentsToMemory(shot.getPixelBox(), shot.getPixelBox());
  shot.save(png);
  std::printf("worldbuilder: wrote %s (%s)\n", png.c_str(), view.c_str());
  delete group;
  delete options;
  return true;
}

}  // namespace worldbuilder
