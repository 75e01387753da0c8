#pragma once

#include "game/Vehicle.h"

#include <OGRE/OgreVector.h>

#include <string>

namespace Ogre {
class Bone;
}

namespace game {

// The catering truck: its container rides on the chassis bone
// "action_container" and can be raised 0.9 units above its rest height.
class CateringTruck : public Vehicle {
public:
    static const char* const kConfigFile;
    static const char* const kChassisMesh;

    // `variant` is the game core's vehicle variant ("normal", "upgraded"):
    // the configuration comes from ../assets/config/<variant>/catering_truck.xml.
    CateringTruck(Ogre::SceneNode* node, const std::string& variant);
    virtual ~CateringTruck();

    void Init(const Ogre::Vector3& position, const Ogre::Quaternion& orientation) override;
    // The base update, then the container is kept between rest and top.
    void Update(double seconds) override;

    // 0 rest height, 1 top; values outside are clamped (NaN counts as 0).
    void SetContainerLevel(double level);

    // Current container height above its rest height; 0 before Init.
    float container_height() const;
    Ogre::Bone* container_bone() const { return m_containerBone; }

private:
    Ogre::Vector3 m_containerTop;
    Ogre::Bone* m_containerBone;
    std::string m_variant;
};

} // namespace game
