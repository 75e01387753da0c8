#include "game/CateringTruck.h"

#include <OGRE/OgreBone.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSkeletonInstance.h>

#include <algorithm>
#include <cmath>
#include <iostream>

namespace game {

const char* const CateringTruck::kConfigFile = "/catering_truck.xml";
const char* const CateringTruck::kChassisMesh = "cateringtruck.mesh";

namespace {
const unsigned short kVehicleType = 2;
const float kContainerTravel = 0.9f;
const float kDamping = 0.6f;
const char* const kContainerBone = "action_container";
} // namespace

CateringTruck::CateringTruck(Ogre::SceneNode* node, const std::string& variant)
    : Vehicle(node, kVehicleType), m_containerTop(0, kContainerTravel, 0), m_containerBone(nullptr),
      m_variant(variant) {
    Load(kConfigFolder + m_variant + kConfigFile);
}

CateringTruck::~CateringTruck() = default;

void CateringTruck::Init(const Ogre::Vector3& position, const Ogre::Quaternion& orientation) {
    BodyDesc desc;
    desc.chassisMesh = kChassisMesh;
    desc.frontWheelMesh = "catering_wheel.mesh";
    desc.backWheelMesh = "catering_wheel.mesh";
    desc.backWheelMeshFrom = 0;
    desc.bodyName = "carChassis";
    desc.damping = kDamping;
    desc.receivesShadows = true;
    desc.variantMaterial = m_variant == kUpgradedVariant ? "mat_vec_color11" : "";
    desc.variantIndex = 3;
    desc.requiredBones = {kContainerBone};
    if (!Build(desc, position, orientation))
        return;
    m_containerBone = m_chassisEntity->getSkeleton()->getBone(kContainerBone);
    m_containerBone->setManuallyControlled(true);
    m_containerTop += m_containerBone->getInitialPosition();
}

void CateringTruck::Update(double seconds) {
    Vehicle::Update(seconds);
    if (!m_containerBone)
        return;
    Ogre::Vector3 position = m_containerBone->getPosition();
    const float rest = m_containerBone->getInitialPosition().y;
    const float clamped = std::min(std::max(position.y, rest), m_containerTop.y);
    if (clamped != position.y) {
        position.y = clamped;
        m_containerBone->setPosition(position);
    }
}

void CateringTruck::SetContainerLevel(double level) {
    if (std::isnan(level)) {
        std::cerr << "CateringTruck: container level is not a number, lowering the container" << std::endl;
        level = 0.0;
    }
    level = std::min(std::max(level, 0.0), 1.0);
    if (!m_containerBone)
        return;
    Ogre::Vector3 position = m_containerBone->getInitialPosition();
    position.y += (m_containerTop.y - position.y) * static_cast<float>(level);
    m_containerBone->setPosition(position);
}

float CateringTruck::container_height() const {
    return m_containerBone ? m_containerBone->getPosition().y - m_containerBone->getInitialPosition().y : 0.0f;
}

} // namespace game
