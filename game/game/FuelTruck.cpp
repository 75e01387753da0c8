#include "game/FuelTruck.h"

namespace game {

const char* const FuelTruck::kConfigFile = "/fueltruck.xml";
const char* const FuelTruck::kChassisMesh = "fueltruck.mesh";

namespace {
const unsigned short kVehicleType = 2;
const float kDamping = 0.8f;
} // namespace

FuelTruck::FuelTruck(Ogre::SceneNode* node, const std::string& variant)
    : Vehicle(node, kVehicleType), m_variant(variant) {
    Load(kConfigFolder + m_variant + kConfigFile);
}

FuelTruck::~FuelTruck() = default;

void FuelTruck::Init(const Ogre::Vector3& position, const Ogre::Quaternion& orientation) {
    BodyDesc desc;
    desc.chassisMesh = kChassisMesh;
    desc.frontWheelMesh = "fueltruck_wheel.mesh";
    desc.backWheelMesh = "fueltruck_wheel.mesh";
    desc.backWheelMeshFrom = 0;
    desc.bodyName = "carChassis";
    desc.damping = kDamping;
    desc.receivesShadows = true;
    desc.variantMaterial = m_variant == kUpgradedVariant ? "mat_vec_tank10" : "";
    desc.variantIndex = 0;
    Build(desc, position, orientation);
}

} // namespace game
