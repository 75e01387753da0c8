#pragma once

#include "window/world/WorldWindow.h"

#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>
#include <OISKeyboard.h>

#include <memory>
#include <string>
#include <vector>

namespace game {
class Vehicle;
}

namespace physics {
class PhysicsCore;
}

namespace vehicletest {

// The game's fixed step.
const double kStep = 1.0 / 60.0;

// One vehicle kind as the missions spawn it.
struct Kind {
    std::string name;  // the spawn type name
    std::string spawn; // the spawn node in the airport scene
};
const std::vector<Kind>& Kinds();
const std::vector<std::string>& Variants();

// The airport as the game builds it (resources, shadows, physics, scene),
// once for the whole program.
struct VehicleWorld {
    static VehicleWorld& get();

    // Constructs and initialises the vehicle on its spawn node.
    std::unique_ptr<game::Vehicle> Spawn(const Kind& kind, const std::string& variant);
    // One game iteration: the vehicle's update, then one physics step.
    void Step(game::Vehicle& vehicle, double seconds = kStep);
    // Steps `seconds` worth of iterations; returns the lowest "up" of the
    // chassis (and trailer) seen.
    float Run(game::Vehicle& vehicle, double seconds);
    // Brings every node's world transform up to date, as drawing a frame does.
    void SyncNodes();
    // Delivers a key press or release as the input handler does.
    static void Key(int code, bool pressed);

    bool ready = false;
    WorldWindow* window = nullptr;
    physics::PhysicsCore* physics = nullptr;
};

// World "up" component of a vehicle's chassis (1 upright, 0 on its side).
float Upright(const game::Vehicle& vehicle);
// The direction the vehicle's nose points in the world.
Ogre::Vector3 Heading(const game::Vehicle& vehicle);
// Distance between the two hitch points of a cart and its trailer; 0 otherwise.
float CouplingGap(const game::Vehicle& vehicle);

} // namespace vehicletest
