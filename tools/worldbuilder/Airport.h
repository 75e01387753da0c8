#pragma once

#include "ModelLibrary.h"

#include <map>
#include <string>
#include <vector>

namespace worldbuilder {

/// A named place of gameplay in the scene: a trigger or spawn node.
struct Place {
  std::string name;
  Ogre::Vector3 position;
  Ogre::Quaternion orientation = Ogre::Quaternion::IDENTITY;
  Ogre::Vector3 size = Ogre::Vector3::UNIT_SCALE;
  std::string access;  // road node a vehicle comes from (service triggers)
};

struct StaticNode {
  std::string name;
  std::string mesh;
  Ogre::Vector3 position;
  Ogre::Quaternion orientation = Ogre::Quaternion::IDENTITY;
  Ogre::Vector3 scale = Ogre::Vector3::UNIT_SCALE;
  bool castShadows = true;
};

/// The airport layout read from its source: buildings, aircraft, the road
/// network of waypoints, the service triggers and the spawns. Writes the
/// scene file and builds the painted apron.
class Airport {
 public:
  bool Load(const std::string& path, const ModelLibrary& models);

  const std::vector<StaticNode>& statics() const { return m_statics; }
  const std::map<std::string, Place>& waypoints() const { return m_waypoints; }
  const std::map<std::string, Place>& services() const { return m_services; }
  const std::map<std::string, Place>& spawns() const { return m_spawns; }
  /// Road links between waypoints (both directions listed).
  const std::multimap<std::string, std::string>& links() const { return m_links; }
  /// The waypoint a spawn's vehicle leaves its depot through.
  std::string SpawnGate(const std::string& spawn) const;
  const std::string& terrainPage() const { return m_terrainPage; }
  float terrainWorldSize() const { return m_terrainWorldSize; }
  int terrainMapSize() const { return m_terrainMapSize; }
  Ogre::Vector2 apronMin() const { return m_apronMin; }
  Ogre::Vector2 apronMax() const { return m_apronMax; }

  std::string SceneXml() const;
  Model BuildApron() const;

 private:
  struct Bounds {
    Ogre::Vector2 min;
    Ogre::Vector2 max;
  };
  struct Road {
    std::vector<Ogre::Vector2> points;
    float width;
  };
  struct Stand {
    std::string name;
    std::string type;
    Ogre::Vector2 at;
    float yaw;
    bool gate;
    float length;
    float noseWheelZ;
  };

  // The tarmac's 20 m cells, less the areas the concrete and the roads cover.
  void Tarmac(Geometry& tarmac, const std::vector<Bounds>& covered) const;

  std::vector<StaticNode> m_statics;
  std::map<std::string, Place> m_waypoints;
  std::map<std::string, Place> m_services;
  std::map<std::string, Place> m_spawns;
  std::map<std::string, std::string> m_spawnGates;
  std::multimap<std::string, std::string> m_links;
  std::vector<Road> m_roads;
  std::vector<Stand> m_stands;
  std::vector<std::vector<Ogre::Vector2>> m_crossings;
  std::string m_terrainPage;
  float m_terrainWorldSize = 0;
  int m_terrainMapSize = 0;
  int m_compositeMapDistance = 2000;
  int m_maxPixelError = 3;
  Ogre::Vector3 m_ambient;
  std::string m_skyMaterial;
  float m_skyCurvature = 10, m_skyTiling = 1, m_skyDistance = 3000;
  std::string m_lightName;
  Ogre::Vector3 m_lightDirection, m_lightDiffuse, m_lightSpecular;
  Ogre::Vector2 m_apronMin, m_apronMax;
};

}  // namespace worldbuilder
