#pragma once

#include "base/Export.h"
#include "base/Singleton.h"

#include <OGRE/OgreVector.h>

#include <string>
#include <vector>

class btCollisionShape;
class btMotionState;
class btRigidBody;

namespace Ogre {
class Entity;
class SceneManager;
class SceneNode;
} // namespace Ogre

namespace OgreBulletCollisions {
class DebugDrawer;
}

namespace OgreBulletDynamics {
class DynamicsWorld;
}

namespace physics {

// The one physics world the game drives in: static scene meshes, terrain
// pages as height fields, and whatever vehicles and triggers add to it.
class DW_API PhysicsCore : public base::Singleton<PhysicsCore> {
public:
    PhysicsCore();
    virtual ~PhysicsCore();

    // Builds the world on the render core's scene manager (none without a render core).
    bool Init();
    // The same on a given scene manager, which may be null.
    bool Init(Ogre::SceneManager* sceneManager);

    OgreBulletDynamics::DynamicsWorld* world() const { return m_world; }

    // As many fixed steps of 1/60 s as the time calls for, at most a quarter
    // of a second's worth; the time left over waits for the next call, and
    // the scene nodes show the bodies interpolated to it.
    void Update(double seconds);

    // A static triangle-mesh body of the entity's mesh, scaled like the node.
    void AddStaticEntity(Ogre::Entity* entity, Ogre::SceneNode* node);

    // A static height field of width x depth samples, `scale` apart, whose
    // heights are world heights; centred on position in x and z. The buffer
    // must come from new[]: the core keeps it and frees it at its end.
    void AddTerrain(int width, int depth, float* heights, float minHeight, float maxHeight,
                    const Ogre::Vector3& position, float scale, std::string name);

private:
    struct TerrainBody {
        btRigidBody* body;
        btMotionState* motionState;
        btCollisionShape* shape;
        float* heights;
    };

    OgreBulletDynamics::DynamicsWorld* m_world;
    OgreBulletCollisions::DebugDrawer* m_debugDrawer;
    Ogre::Vector3 m_gravity;
    std::vector<TerrainBody> m_terrain;
};

} // namespace physics

DW_SINGLETON_DECLARE(physics::PhysicsCore)
