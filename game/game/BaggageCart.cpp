#include "game/BaggageCart.h"

#include "game/BaggageCartTrailer.h"
#include "physics/PhysicsCore.h"
#include "physics/bullet/DynamicsWorld.h"
#include "physics/bullet/WheeledRigidBody.h"

#include <OGRE/OgreBone.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreSkeletonInstance.h>
#include <btBulletDynamicsCommon.h>

#include <iostream>

namespace game {

const char* const BaggageCart::kConfigFile = "/baggage_cart.xml";
const char* const BaggageCart::kChassisMesh = "baggage_car.mesh";
const float BaggageCart::kTrailerDistance = 5.0f;

namespace {
const unsigned short kVehicleType = 2;
const float kDamping = 0.6f;
const float kCouplingTau = 1.0f;
const float kCouplingDamping = 1.0f;
const unsigned int kFrontWheelMeshes = 4;
const char* const kCartHitch = "connection_main";
const char* const kTrailerHitch = "connection_cart";

btDiscreteDynamicsWorld* bulletWorld() {
    physics::PhysicsCore* core = physics::PhysicsCore::getSingleton();
    return core && core->world() ? core->world()->getBulletDynamicsWorld() : nullptr;
}
} // namespace

BaggageCart::BaggageCart(Ogre::SceneNode* node, const std::string& variant)
    : Vehicle(node, kVehicleType), m_variant(variant) {
    Load(kConfigFolder + m_variant + kConfigFile);
}

BaggageCart::~BaggageCart() {
    if (m_coupling) {
        if (btDiscreteDynamicsWorld* world = bulletWorld())
            world->removeConstraint(m_coupling.get());
        m_coupling.reset();
    }
    m_trailer.reset();
}

void BaggageCart::Init(const Ogre::Vector3& position, const Ogre::Quaternion& orientation) {
    BodyDesc desc;
    desc.chassisMesh = kChassisMesh;
    desc.frontWheelMesh = "baggagewheel_front.mesh";
    desc.backWheelMesh = "baggagewheel_back.mesh";
    desc.backWheelMeshFrom = kFrontWheelMeshes;
    desc.bodyName = "carChassis";
    desc.damping = kDamping;
    desc.receivesShadows = true;
    desc.variantMaterial = m_variant == kUpgradedVariant ? "mat_vec_color22" : "";
    desc.variantIndex = 4;
    desc.requiredBones = {kCartHitch};
    if (!Build(desc, position, orientation))
        return;

    m_trailer.reset(new BaggageCartTrailer(m_chassisBody->getSceneNode(), m_variant));
    m_trailer->Init(position - Ogre::Vector3(0, 0, kTrailerDistance), orientation);
    m_trailer->Activate(false);
    btDiscreteDynamicsWorld* world = bulletWorld();
    if (!m_trailer->ready() || !world) {
        std::cerr << "BaggageCart: the trailer could not be built, the cart drives alone" << std::endl;
        m_trailer.reset();
        return;
    }
    Ogre::Vector3 cartPivot, trailerPivot;
    BonePosition(m_chassisEntity, kCartHitch, cartPivot);
    BonePosition(m_trailer->chassis_entity(), kTrailerHitch, trailerPivot);
    m_coupling.reset(new btPoint2PointConstraint(*m_chassisBody->getBulletRigidBody(),
                                                 *m_trailer->chassis_body()->getBulletRigidBody(),
                                                 btVector3(cartPivot.x, cartPivot.y, cartPivot.z),
                                                 btVector3(trailerPivot.x, trailerPivot.y, trailerPivot.z)));
    m_coupling->m_setting.m_tau = kCouplingTau;
    m_coupling->m_setting.m_damping = kCouplingDamping;
    world->addConstraint(m_coupling.get(), false);
}

void BaggageCart::Recover() {
    Vehicle::Recover();
    if (!m_trailer || !m_chassisBody)
        return;
    // Where Init put it: kTrailerDistance behind, in the cart's frame.
    const Ogre::Quaternion heading = m_chassisBody->getSteppedOrientation();
    m_trailer->Place(GetPosition() + heading * Ogre::Vector3(0, 0, -kTrailerDistance), heading);
}

void BaggageCart::Activate(bool flag) {
    Vehicle::Activate(flag);
    if (m_trailer)
        m_trailer->Activate(flag);
}

} // namespace game
