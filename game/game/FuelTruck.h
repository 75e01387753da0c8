#pragma once

#include "game/Vehicle.h"

#include <string>

namespace game {

// The fuel truck: a plain vehicle with its own meshes and values.
class FuelTruck : public Vehicle {
public:
    static const char* const kConfigFile;
    static const char* const kChassisMesh;

    // `variant` is the game core's vehicle variant ("normal", "upgraded").
    FuelTruck(Ogre::SceneNode* node, const std::string& variant);
    virtual ~FuelTruck();

    void Init(const Ogre::Vector3& position, const Ogre::Quaternion& orientation) override;

private:
    std::string m_variant;
};

} // namespace game
