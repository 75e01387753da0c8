#pragma once

#include "base/Export.h"

#include <OGRE/OgreAxisAlignedBox.h>
#include <OGRE/OgreVector.h>

#include <string>
#include <vector>

class btBroadphaseInterface;
class btCollisionDispatcher;
class btConstraintSolver;
class btDefaultCollisionConfiguration;
class btDiscreteDynamicsWorld;
class btOverlappingPairCallback;

namespace Ogre {
class SceneManager;
}

namespace OgreBulletCollisions {
class DebugDrawer;
}

namespace OgreBulletDynamics {

class RaycastVehicle;
class RigidBody;

// A Bullet discrete dynamics world bound to an Ogre scene. It owns the Bullet
// objects it creates, and the bodies and vehicles made on it that are still
// alive when it goes.
class DW_API DynamicsWorld {
public:
    // Largest handle count a 16-bit sweep-and-prune broadphase can address.
    static const unsigned int kMax16BitHandles;

    DynamicsWorld(Ogre::SceneManager* sceneManager, const Ogre::AxisAlignedBox& bounds,
                  const Ogre::Vector3& gravity, bool use32BitBroadphase = true, unsigned int maxHandles = 16384);
    virtual ~DynamicsWorld();

    DynamicsWorld(const DynamicsWorld&) = delete;
    DynamicsWorld& operator=(const DynamicsWorld&) = delete;

    // Clears the debug lines, steps Bullet and returns the number of fixed steps taken.
    // Bullet keeps the time left over for the next call and hands each
    // body's motion state its transform interpolated to the elapsed time.
    int stepSimulation(float elapsedTime, int maxSubSteps = 1, float fixedTimestep = 1.0f / 60.0f);
    // The fixed step of the last stepSimulation.
    float getFixedStep() const { return m_fixedStep; }

    void setGravity(const Ogre::Vector3& gravity);
    Ogre::Vector3 getGravity() const;

    // Lets ghost objects keep their own lists of overlapping objects.
    void enableGhostObjects();

    // The world does not own the drawer.
    void setDebugDrawer(OgreBulletCollisions::DebugDrawer* drawer);
    OgreBulletCollisions::DebugDrawer* getDebugDrawer() const { return m_debugDrawer; }
    // Draws the shapes of the bodies whose debug display is on after each step.
    void setShowDebugShapes(bool show) { m_showDebugShapes = show; }
    bool getShowDebugShapes() const { return m_showDebugShapes; }

    // Called by the bodies and vehicles themselves: a body is registered when
    // made on the world and enters the simulation when it gets its shape.
    void registerRigidBody(RigidBody* body);
    void addRigidBody(RigidBody* body, short collisionGroup, short collisionMask);
    // Takes the body out of the simulation and out of the world's care.
    void removeRigidBody(RigidBody* body);
    void addVehicle(RaycastVehicle* vehicle);
    void removeVehicle(RaycastVehicle* vehicle);

    // The first body of that name, or null.
    RigidBody* findRigidBody(const std::string& name) const;
    const std::vector<RigidBody*>& getRigidBodies() const { return m_bodies; }

    Ogre::SceneManager* getSceneManager() const { return m_sceneManager; }
    btDiscreteDynamicsWorld* getBulletDynamicsWorld() const { return m_world; }
    btBroadphaseInterface* getBulletBroadphase() const { return m_broadphase; }
    unsigned int getMaxHandles() const { return m_maxHandles; }

private:
    void drawDebugShapes();

    Ogre::SceneManager* m_sceneManager;
    btDefaultCollisionConfiguration* m_collisionConfiguration;
    btCollisionDispatcher* m_dispatcher;
    btBroadphaseInterface* m_broadphase;
    btConstraintSolver* m_solver;
    btDiscreteDynamicsWorld* m_world;
    btOverlappingPairCallback* m_ghostPairCallback;
    OgreBulletCollisions::DebugDrawer* m_debugDrawer;
    bool m_showDebugShapes;
    unsigned int m_maxHandles;
    float m_fixedStep;
    std::vector<RigidBody*> m_bodies;
    std::vector<RaycastVehicle*> m_vehicles;
};

} // namespace OgreBulletDynamics
