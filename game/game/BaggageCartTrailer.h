#pragma once

#include "game/Vehicle.h"

#include <string>

namespace game {

// The baggage cart's trailer: unpowered, towed through the cart's ball joint.
// Its Bullet body carries a pointer to it, so triggers can tell it apart.
class BaggageCartTrailer : public Vehicle {
public:
    static const char* const kConfigFile;
    static const char* const kChassisMesh;

    // `variant` is the game core's vehicle variant ("normal", "upgraded").
    BaggageCartTrailer(Ogre::SceneNode* node, const std::string& variant);
    virtual ~BaggageCartTrailer();

    void Init(const Ogre::Vector3& position, const Ogre::Quaternion& orientation) override;

private:
    std::string m_variant;
};

} // namespace game
