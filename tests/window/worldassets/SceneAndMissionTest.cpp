// The airport scene and the missions: format, places, and what the missions
// ask of the player.
#include "WorldAssetFixture.h"

#include <OGRE/Terrain/OgreTerrain.h>
#include <OGRE/Terrain/OgreTerrainGroup.h>

#include <set>

#include <set>

namespace worldassets {
namespace {

struct Node {
  Ogre::Vector3 position;
  Ogre::Vector3 scale;
  std::string mesh;
};

class SceneAndMissionTest : public WorldAssetFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_scene.LoadFile(kAssets + "/level/airport_scene.scene"));
    const TiXmlElement* nodes = m_scene.RootElement()->FirstChildElement("nodes");
    ASSERT_NE(nodes, nullptr);
    for (const TiXmlElement* n = nodes->FirstChildElement(); n; n = n->NextSiblingElement()) {
      Node node;
      const TiXmlElement* p = n->FirstChildElement("position");
      const TiXmlElement* s = n->FirstChildElement("scale");
      double x = 0, y = 0, z = 0;
      if (p) {
        p->QueryDoubleAttribute("x", &x);
        p->QueryDoubleAttribute("y", &y);
        p->QueryDoubleAttribute("z", &z);
      }
      node.position = Ogre::Vector3(Ogre::Real(x), Ogre::Real(y), Ogre::Real(z));
      x = y = z = 1;
      if (s) {
        s->QueryDoubleAttribute("x", &x);
        s->QueryDoubleAttribute("y", &y);
        s->QueryDoubleAttribute("z", &z);
      }
      node.scale = Ogre::Vector3(Ogre::Real(x), Ogre::Real(y), Ogre::Real(z));
      if (const TiXmlElement* e = n->FirstChildElement("entity")) node.mesh = e->Attribute("meshFile");
      std::string name = n->Attribute("name") ? n->Attribute("name") : "";
      EXPECT_EQ(m_nodes.count(name), 0u) << "node name twice: " << name;
      m_nodes[name] = node;
    }
  }

  static std::vector<std::string> MissionFiles() {
    std::vector<std::string> files;
    for (int n = 1; n <= 25; ++n) files.push_back("mission" + std::to_string(n) + ".xml");
    files.push_back("mission-1.xml");
    return files;
  }

  TiXmlDocument m_scene;
  std::map<std::string, Node> m_nodes;
};

TEST_F(SceneAndMissionTest, EnvironmentSkyAndOneShadowCastingSun) {
  const TiXmlElement* env = m_scene.RootElement()->FirstChildElement("environment");
  ASSERT_NE(env, nullptr);
  EXPECT_NE(env->FirstChildElement("colourAmbient"), nullptr);
  const TiXmlElement* dome = env->FirstChildElement("skyDome");
  const TiXmlElement* box = env->FirstChildElement("skyBox");
  bool active = (dome && std::string(dome->Attribute("active")) == "true") ||
                (box && std::string(box->Attribute("active")) == "true");
  EXPECT_TRUE(active);
  if (dome) {
    EXPECT_TRUE(Ogre::MaterialManager::getSingleton().getByName(dome->Attribute("material")));
  }
  const TiXmlElement* light = m_scene.RootElement()->FirstChildElement("light");
  ASSERT_NE(light, nullptr);
  EXPECT_STREQ(light->Attribute("type"), "directional");
  EXPECT_STREQ(light->Attribute("castShadows"), "true");
  ASSERT_NE(light->FirstChildElement("directionVector"), nullptr);
  double y = 0;
  light->FirstChildElement("directionVector")->QueryDoubleAttribute("y", &y);
  EXPECT_LT(y, -0.3);  // the sun shines down
}

TEST_F(SceneAndMissionTest, EveryStaticNodeMeshLoads) {
  int statics = 0;
  for (const auto& n : m_nodes) {
    if (n.first.find("spawn") != std::string::npos || n.first.find("trigger") != std::string::npos) {
      EXPECT_TRUE(n.second.mesh.empty()) << n.first;
      continue;
    }
    SCOPED_TRACE(n.first);
    ASSERT_FALSE(n.second.mesh.empty());
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().load(n.second.mesh, "GameCore");
    EXPECT_GT(mesh->getNumSubMeshes(), 0u);
    ++statics;
  }
  EXPECT_GT(statics, 20);
}

TEST_F(SceneAndMissionTest, ApronHasTheBuildingsAndAircraftOfAnAirport) {
  for (const char* name : {"apron", "terminal", "tower", "hangar_building", "catering_depot", "fuel_depot",
                           "baggage_depot", "aircraft_hangar"})
    EXPECT_EQ(m_nodes.count(name), 1u) << name;
  std::set<float> lengths;
  for (const char* stand : {"A1", "A2", "A3", "A4", "B1", "B2"}) {
    std::string aircraft = std::string("aircraft_") + stand;
    ASSERT_EQ(m_nodes.count(aircraft), 1u) << aircraft;
    EXPECT_EQ(m_nodes.count(std::string("jetbridge_") + stand), 1u) << stand;
    Ogre::MeshPtr mesh = Ogre::MeshManager::getSingleton().load(m_nodes[aircraft].mesh, "GameCore");
    lengths.insert(std::round(mesh->getBounds().getSize().z));
  }
  // Narrow-bodies at the A gates, wide-bodies at the B gates.
  ASSERT_EQ(lengths.size(), 2u);
  EXPECT_GT(*lengths.rbegin(), *lengths.begin() * 1.4f);
}

TEST_F(SceneAndMissionTest, TerrainPageLoadsThroughTheTerrainComponent) {
  const TiXmlElement* terrain = m_scene.RootElement()->FirstChildElement("terrain");
  ASSERT_NE(terrain, nullptr);
  int mapSize = 0;
  double worldSize = 0;
  terrain->QueryIntAttribute("mapSize", &mapSize);
  terrain->QueryDoubleAttribute("worldSize", &worldSize);
  ASSERT_GT(mapSize, 1);
  const TiXmlElement* page = terrain->FirstChildElement()->FirstChildElement("terrainPage");
  ASSERT_NE(page, nullptr);
  std::string file = page->Attribute("name");
  EXPECT_EQ(file.rfind("page_", 0), 0u);
  EXPECT_EQ(file.substr(file.size() - 4), ".ogt");

  auto* options = new Ogre::TerrainGlobalOptions();
  auto* group = new Ogre::TerrainGroup(scene(), Ogre::Terrain::ALIGN_X_Z, Ogre::uint16(mapSize), Ogre::Real(worldSize));
  group->setFilenameConvention("page_", "ogt");
  group->setResourceGroup("General");
  group->defineTerrain(0, 0, file);
  group->loadAllTerrains(true);
  Ogre::Terrain* t = group->getTerrain(0, 0);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->getSize(), Ogre::uint16(mapSize));
  // Flat just below the tarmac at the apron, hills further out.
  EXPECT_NEAR(t->getHeightAtWorldPosition(Ogre::Vector3(0, 0, 50)), -0.25f, 0.05f);
  EXPECT_GT(t->getMaxHeight(), 5.0f);
  delete group;
  delete options;
}

TEST_F(SceneAndMissionTest, SpawnsStandInTheDepotsAboveTheGround) {
  const std::map<std::string, std::string> kVehicle = {
      {"spawn_catering", "cateringtruck.mesh"}, {"spawn_fuel", "fueltruck.mesh"}, {"spawn_baggage", "baggage_car.mesh"}};
  for (const auto& sv : kVehicle) {
    const char* spawn = sv.first.c_str();
    ASSERT_EQ(m_nodes.count(spawn), 1u) << spawn;
    const Node& n = m_nodes[spawn];
    // Bodies start centred on their box: at or a little above their resting height.
    float rest = Ogre::MeshManager::getSingleton().load(sv.second, "GameCore")->getBounds().getCenter().y;
    EXPECT_GE(n.position.y, rest) << spawn;
    EXPECT_LT(n.position.y, rest + 1.0f) << spawn;
    EXPECT_LT(n.position.z, -20.0f) << spawn;  // south of the apron road, in the depot yards
  }
}

TEST_F(SceneAndMissionTest, TriggerBoxesFitTheirUse) {
  int services = 0, waypoints = 0;
  for (const auto& n : m_nodes) {
    if (n.first.find("trigger") == std::string::npos) continue;
    SCOPED_TRACE(n.first);
    EXPECT_GT(n.second.scale.x, 2.0f);
    EXPECT_GT(n.second.scale.z, 2.0f);
    EXPECT_NEAR(n.second.position.y, n.second.scale.y * 0.5f, 0.01f);  // the box stands on the ground
    if (n.first.find("_wp_") != std::string::npos) {
      ++waypoints;
    } else {
      ++services;
      // Room to park the largest vehicle's footprint in one direction.
      EXPECT_GE(std::max(n.second.scale.x, n.second.scale.z), 4.5f);
    }
  }
  EXPECT_GE(services, 6 * 4 + 1);
  EXPECT_GE(waypoints, 20);
}

TEST_F(SceneAndMissionTest, MissionsNameExistingPlacesAndHaveSteps) {
  const std::map<std::string, std::string> kGameVehicle = {{"CateringState", "CateringTruck"},
                                                           {"PumpState", "FuelTruck"},
                                                           {"BaggageState", "BaggageCart"},
                                                           {"RepairState", ""}};
  for (const auto& file : MissionFiles()) {
    SCOPED_TRACE(file);
    TiXmlDocument doc(kAssets + "/level/mission/" + file);
    ASSERT_TRUE(doc.LoadFile());
    int steps = 0, spawns = 0;
    std::string vehicle;
    bool parked = false;
    for (const TiXmlElement* e = doc.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement()) {
      std::string tag = e->Value();
      if (tag == "spawn") {
        ++spawns;
        EXPECT_STREQ(e->Attribute("type"), "vehicle");
        std::string v = e->Attribute("vehicle");
        EXPECT_TRUE(v == "CateringTruck" || v == "FuelTruck" || v == "BaggageCart") << v;
        if (vehicle.empty()) vehicle = v;
        std::string name = e->Attribute("name");
        EXPECT_NE(name.find("spawn"), std::string::npos) << name;
        EXPECT_EQ(m_nodes.count(name), 1u) << "no scene node " << name;
      } else if (tag == "trigger") {
        ++steps;
        std::string type = e->Attribute("type");
        EXPECT_TRUE(type == "waypoint" || type == "mini_game") << type;
        double time = 0;
        EXPECT_EQ(e->QueryDoubleAttribute("time", &time), TIXML_SUCCESS);
        EXPECT_GT(time, 0);
        std::string name = e->Attribute("name");
        EXPECT_NE(name.find("trigger"), std::string::npos) << name;
        EXPECT_EQ(m_nodes.count(name), 1u) << "no scene node " << name;
        parked = type == "mini_game";
      } else if (tag == "mini_game") {
        ++steps;
        std::string game = e->Attribute("game");
        ASSERT_EQ(kGameVehicle.count(game), 1u) << game;
        EXPECT_TRUE(parked) << game << " without a parking place before it";
        const std::string& needed = kGameVehicle.at(game);
        if (!needed.empty()) {
          EXPECT_EQ(vehicle, needed) << game;
        }
        parked = false;
      }
    }
    EXPECT_GE(steps, 1);
    EXPECT_GE(spawns, 1);
  }
}

TEST_F(SceneAndMissionTest, TimeLimitsAreAchievableAndTighten) {
  // Top speed of each normal vehicle where its engine force meets the chassis damping.
  auto topSpeed = [](const char* file, float damping) {
    auto k = ReadConfig(kAssets + "/config/normal/" + file);
    return std::atof(k["max_engine_force"].c_str()) * std::atof(k["num_powered_wheels"].c_str()) /
           (std::atof(k["weight"].c_str()) * -std::log(1.0 - damping));
  };
  const std::map<std::string, double> kTop = {{"CateringTruck", topSpeed("catering_truck.xml", 0.6f)},
                                              {"FuelTruck", topSpeed("fueltruck.xml", 0.8f)},
                                              {"BaggageCart", topSpeed("baggage_cart.xml", 0.6f)}};
  const double kLongLeg = 30.0;
  double firstSlack = 0, lastSlack = 0;
  size_t firstSteps = 0, lastSteps = 0;
  for (int n = 1; n <= 25; ++n) {
    SCOPED_TRACE(n);
    TiXmlDocument doc(kAssets + "/level/mission/mission" + std::to_string(n) + ".xml");
    ASSERT_TRUE(doc.LoadFile());
    std::string vehicle = doc.RootElement()->FirstChildElement("spawn")->Attribute("vehicle");
    ASSERT_EQ(kTop.count(vehicle), 1u);
    double cruise = kTop.at(vehicle) * 0.75;
    Ogre::Vector3 here = Ogre::Vector3::ZERO;
    double distance = 0, time = 0;
    size_t steps = 0;
    std::multiset<std::string> visits;
    for (const TiXmlElement* e = doc.RootElement()->FirstChildElement("trigger"); e;
         e = e->NextSiblingElement("trigger"))
      visits.insert(e->Attribute("name"));
    bool afterGame = false;
    for (const TiXmlElement* e = doc.RootElement()->FirstChildElement(); e; e = e->NextSiblingElement()) {
      std::string tag = e->Value();
      if (tag == "spawn" && here == Ogre::Vector3::ZERO) here = m_nodes[e->Attribute("name")].position;
      if (tag == "mini_game") afterGame = true;
      if (tag != "trigger") continue;
      // The tightening shows on long plain legs: a short hop is ruled by the
      // fixed seconds per step, leaving a parking zone carries a turn-round
      // allowance and a revisited trigger has its longest time on every visit.
      const bool plain = !afterGame && visits.count(e->Attribute("name")) == 1;
      afterGame = false;
      Ogre::Vector3 next = m_nodes[e->Attribute("name")].position;
      double leg = here.distance(next), limit = 0;
      e->QueryDoubleAttribute("time", &limit);
      // Straight-line legs at three quarters of the vehicle's top speed, plus
      // a few seconds to start, turn and park, fit the limit.
      EXPECT_GE(limit, leg / cruise + 4.0) << e->Attribute("name");
      here = next;
      ++steps;
      if (!plain || leg < kLongLeg) continue;
      distance += leg;
      time += limit;
    }
    double slack = time / std::max(1.0, distance);
    if (n <= 5) {
      firstSlack += slack;
      firstSteps += steps;
    }
    if (n >= 21) {
      lastSlack += slack;
      lastSteps += steps;
    }
  }
  EXPECT_GT(lastSteps, firstSteps * 2);  // longer routes, more waypoints
  EXPECT_LT(lastSlack, firstSlack);      // less time per metre
}

}  // namespace
}  // namespace worldassets
