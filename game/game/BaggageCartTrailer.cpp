#include "game/BaggageCartTrailer.h"

#include "physics/bullet/RaycastVehicle.h"
#include "physics/bullet/WheeledRigidBody.h"

#include <btBulletDynamicsCommon.h>

namespace game {

const char* const BaggageCartTrailer::kConfigFile = "/baggage_cart_trailer.xml";
const char* const BaggageCartTrailer::kChassisMesh = "baggage_cart_back.mesh";

namespace {
const unsigned short kVehicleType = 2;
const float kDamping = 0.6f;
} // namespace

BaggageCartTrailer::BaggageCartTrailer(Ogre::SceneNode* node, const std::string& variant)
    : Vehicle(node, kVehicleType), m_variant(variant) {
    Load(kConfigFolder + m_variant + kConfigFile);
}

BaggageCartTrailer::~BaggageCartTrailer() = default;

void BaggageCartTrailer::Init(const Ogre::Vector3& position, const Ogre::Quaternion& orientation) {
    BodyDesc desc;
    desc.chassisMesh = kChassisMesh;
    desc.frontWheelMesh = "baggagewheel_back.mesh";
    desc.backWheelMesh = "baggagewheel_back.mesh";
    desc.backWheelMeshFrom = 0;
    desc.bodyName = "carChassistrailer";
    desc.damping = kDamping;
    // The trailer keeps its own materials.
    desc.receivesShadows = false;
    desc.variantIndex = 0;
    desc.requiredBones = {"connection_cart"};
    if (!Build(desc, position, orientation))
        return;
    // Mini-game triggers ignore bodies that carry a pointer.
    m_chassisBody->getBulletRigidBody()->setUserPointer(this);
    m_raycastVehicle->updateWheels();
}

} // namespace game
