#pragma once

#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

#include <string>
#include <vector>

namespace game {

// Everything a scene file asks for, read from the file and nothing built yet:
// what SceneLoader then creates in the scene. Absent attributes already hold
// the file format's defaults; "has" flags tell which optional children exist.
struct SceneDescription {
    struct Sky {
        bool present = false;
        std::string material;
        float curvature = 10.0f; // sky dome only
        float tiling = 8.0f;     // sky dome only
        float distance = 3000.0f;
        bool drawFirst = true;
        bool active = false;
        Ogre::Quaternion orientation; // identity without a "rotation" child
    };

    struct Light {
        std::string name;
        std::string type;
        bool castShadows = true;
        bool visible = true;
        bool hasPosition = false;
        Ogre::Vector3 position{0.0f, 0.0f, 0.0f};
        // "normal", then "directionVector": the ones present, in that order.
        std::vector<Ogre::Vector3> directions;
        bool hasDiffuse = false;
        Ogre::ColourValue diffuse;
        bool hasSpecular = false;
        Ogre::ColourValue specular;
        bool hasAttenuation = false;
        float attenuationRange = 0.0f;
        float attenuationConstant = 0.0f;
        float attenuationLinear = 0.0f;
        float attenuationQuadratic = 0.0f;
        bool hasSpotRange = false;
        // In the rendering engine's current angle unit.
        float spotInner = 0.0f;
        float spotOuter = 0.0f;
        float spotFalloff = 1.0f;
    };

    struct SubEntity {
        std::string materialName;
        int index = -1;
    };

    struct Entity {
        std::string name;
        std::string meshFile;
        bool castShadows = false;
        std::vector<SubEntity> subEntities;
    };

    struct Node {
        std::string name;
        bool hasPosition = false;
        Ogre::Vector3 position{0.0f, 0.0f, 0.0f};
        bool hasRotation = false;
        Ogre::Quaternion rotation;
        bool hasScale = false;
        Ogre::Vector3 scale{1.0f, 1.0f, 1.0f};
        std::vector<Entity> entities;
    };

    struct TerrainPage {
        std::string name;
        long x = 0;
        long y = 0;
    };

    struct Terrain {
        float worldSize = 0.0f;
        int mapSize = 0;
        int compositeMapDistance = 0;
        int maxPixelError = 0;
        std::vector<TerrainPage> pages;
    };

    bool hasEnvironment = false;
    Sky skyBox;
    Sky skyDome;
    bool hasAmbient = false;
    Ogre::ColourValue ambient;

    bool hasLight = false;
    Light light;

    std::vector<Node> nodes;

    bool hasTerrain = false;
    Terrain terrain;
};

} // namespace game
