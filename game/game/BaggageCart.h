#pragma once

#include "game/Vehicle.h"

#include <memory>
#include <string>

class btPoint2PointConstraint;

namespace game {

class BaggageCartTrailer;

// The baggage tractor, towing its trailer through a ball joint between the
// bones "connection_main" (cart) and "connection_cart" (trailer).
class BaggageCart : public Vehicle {
public:
    static const char* const kConfigFile;
    static const char* const kChassisMesh;
    // Where the trailer is built: this far behind the cart along -z.
    static const float kTrailerDistance;

    // `variant` is the game core's vehicle variant ("normal", "upgraded");
    // the trailer takes the same.
    BaggageCart(Ogre::SceneNode* node, const std::string& variant);
    // The coupling goes first, then the trailer, then the cart itself.
    virtual ~BaggageCart();

    void Init(const Ogre::Vector3& position, const Ogre::Quaternion& orientation) override;
    // The cart and its trailer listen to the keys together.
    void Activate(bool flag) override;
    // The trailer comes back with the cart, straight behind it.
    void Recover() override;

    BaggageCartTrailer* trailer() const { return m_trailer.get(); }
    btPoint2PointConstraint* coupling() const { return m_coupling.get(); }

private:
    std::unique_ptr<BaggageCartTrailer> m_trailer;
    std::unique_ptr<btPoint2PointConstraint> m_coupling;
    std::string m_variant;
};

} // namespace game
