#include "game/Vehicle.h"

#include "display/Core.h"
#include "event/KeyEvent.h"
#include "event/Manager.h"
#include "game/VehicleConfig.h"
#include "game/VehicleConfigReader.h"
#include "input/Bindings.h"
#include "input/GamePad.h"
#include "physics/PhysicsCore.h"
#include "physics/bullet/BoxCollisionShape.h"
#include "physics/bullet/DynamicsWorld.h"
#include "physics/bullet/RaycastVehicle.h"
#include "physics/bullet/VehicleRayCaster.h"
#include "physics/bullet/VehicleTuning.h"
#include "physics/bullet/WheeledRigidBody.h"
#include "sound/Sound.h"

#include <OGRE/OgreBone.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreSkeletonInstance.h>
#include <OGRE/OgreSubEntity.h>
#include <btBulletDynamicsCommon.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <iostream>

namespace game {

const unsigned int Vehicle::kDefaultWheels = VehicleConfig::kDefaultWheels;
const unsigned int Vehicle::kDefaultPoweredWheels = 2;
const int Vehicle::kDefaultWeight = VehicleConfig::kDefaultWeight;
const float Vehicle::kDefaultMaxEngineForce = 1000.0f;
const float Vehicle::kDefaultSteeringIncrement = 0.01f;
const float Vehicle::kDefaultSteeringClamp = 0.8f;
const float Vehicle::kDefaultWheelFriction = 1e30f;
const float Vehicle::kDefaultFrictionSlip = 10.5f;
const float Vehicle::kDefaultSuspensionStiffness = 50.0f;
const float Vehicle::kDefaultSuspensionDamping = 5.0f;
const float Vehicle::kDefaultSuspensionCompression = 2.4f;
const float Vehicle::kDefaultSuspensionRestLength = 0.6f;
const float Vehicle::kDefaultSuspensionMaxTravelCm = 150.0f;
const float Vehicle::kDefaultRollInfluence = 0.01f;
const float Vehicle::kDefaultConnectionHeight = -1.0f;
const float Vehicle::kDefaultChassisShift = -1.0f;
const float Vehicle::kMinWheelRadius = 0.05f;
const char* const Vehicle::kConfigFolder = "../assets/config/";
const char* const Vehicle::kUpgradedVariant = "upgraded";

namespace {

const float kDriveLoopOffset = 5.9f;
const float kSlowdownLoopOffset = 3.9f;
const float kReverseForceFactor = -0.5f;
const float kBodyRestitution = 0.6f;
const float kBodyFriction = 0.6f;
const Ogre::uint32 kVehicleQueryFlags = 4;
const int kRightAxis = 0;
const int kUpAxis = 1;
const int kForwardAxis = 2;
const Ogre::Vector3 kWheelDirection(0, -1, 0);
const Ogre::Vector3 kWheelAxle(-1, 0, 0);
const char* const kCameraBone = "camera_wheel";
// A recovered vehicle is dropped from this far above where its box would rest.
const float kRecoverClearance = 0.3f;
const float kMinHeadingLength = 1e-4f;
Ogre::SceneManager* sceneManager() {
    display::Core* core = display::Core::getSingleton();
    return core ? core->getSceneManager() : nullptr;
}

} // namespace

Vehicle::Vehicle(Ogre::SceneNode* node, unsigned short type)
    : IObject(type), m_numWheels(kDefaultWheels), m_numPoweredWheels(kDefaultPoweredWheels),
      m_weight(kDefaultWeight), m_maxEngineForce(kDefaultMaxEngineForce),
      m_steeringIncrement(kDefaultSteeringIncrement), m_steeringClamp(kDefaultSteeringClamp),
      m_wheelFriction(kDefaultWheelFriction), m_suspensionStiffness(kDefaultSuspensionStiffness),
      m_suspensionDamping(kDefaultSuspensionDamping), m_suspensionCompression(kDefaultSuspensionCompression),
      m_rollInfluence(kDefaultRollInfluence), m_suspensionRestLength(kDefaultSuspensionRestLength),
      m_suspensionMaxTravelCm(kDefaultSuspensionMaxTravelCm), m_frictionSlip(kDefaultFrictionSlip),
      m_connectionHeight(0, kDefaultConnectionHeight, 0), m_chassisShift(0, kDefaultChassisShift, 0),
      m_chassisEntity(nullptr), m_engineForce(0), m_steering(0), m_steerLeft(false), m_steerRight(false),
      m_spawnNode(node), m_bodyNode(nullptr), m_chassisNode(nullptr), m_listening(false) {
    if (m_spawnNode)
        m_spawnNode->getUserObjectBindings().setUserAny(Ogre::Any(this));

    const std::string id = std::to_string(m_id);
    m_driveSound.reset(new sound::Sound(sound::kSoundEffect, "acceleration" + id, "drive.ogg", false, true, false));
    m_slowdownSound.reset(
        new sound::Sound(sound::kSoundEffect, "decceleration" + id, "slowdown.ogg", false, true, false));
    m_slowdownSound->SetLoopOffset(kSlowdownLoopOffset);
    m_driveSound->SetLoopOffset(kDriveLoopOffset);
}

Vehicle::~Vehicle() {
    if (m_listening) {
        if (event::Manager* events = event::Manager::getSingleton())
            events->RemoveListener(*this, event::KeyEvent::kEventType);
        m_listening = false;
    }
    m_driveSound.reset();
    m_slowdownSound.reset();
    DestroyBody();
    // The spawn node may carry another vehicle by now; only our own pointer goes.
    if (m_spawnNode) {
        const Ogre::Any& any = m_spawnNode->getUserObjectBindings().getUserAny();
        if (any.has_value() && any.type() == typeid(Vehicle*) && Ogre::any_cast<Vehicle*>(any) == this)
            m_spawnNode->getUserObjectBindings().setUserAny(Ogre::Any());
    }
}

void Vehicle::DestroyBody() {
    // The vehicle refers to the body, so it leaves the world first.
    m_raycastVehicle.reset();
    m_chassisBody.reset();
    m_rayCaster.reset();
    m_tuning.reset();

    if (m_chassisNode) {
        Ogre::SceneManager* scene = m_chassisNode->getCreator();
        // World transforms of the children are only current after a frame's update.
        m_bodyNode->_update(true, false);
        // Cameras mounted on the chassis survive it, back under the root.
        while (m_chassisNode->numChildren() > 0) {
            Ogre::Node* child = m_chassisNode->getChild(0);
            const Ogre::Vector3 position = child->_getDerivedPosition();
            const Ogre::Quaternion orientation = child->_getDerivedOrientation();
            m_chassisNode->removeChild(child);
            scene->getRootSceneNode()->addChild(child);
            child->setPosition(position);
            child->setOrientation(orientation);
        }
        m_chassisNode->detachAllObjects();
    }
    if (m_chassisEntity) {
        m_chassisEntity->detachFromParent();
        m_chassisEntity->_getManager()->destroyEntity(m_chassisEntity);
        m_chassisEntity = nullptr;
    }
    if (m_chassisNode) {
        m_chassisNode->getCreator()->destroySceneNode(m_chassisNode);
        m_chassisNode = nullptr;
    }
    if (m_bodyNode) {
        m_bodyNode->getCreator()->destroySceneNode(m_bodyNode);
        m_bodyNode = nullptr;
    }
    for (size_t i = 0; i < m_wheelNodes.size(); ++i) {
        if (m_wheelEntities[i]) {
            m_wheelEntities[i]->detachFromParent();
            m_wheelEntities[i]->_getManager()->destroyEntity(m_wheelEntities[i]);
        }
        if (m_wheelNodes[i])
            m_wheelNodes[i]->getCreator()->destroySceneNode(m_wheelNodes[i]);
    }
    m_wheelEntities.clear();
    m_wheelNodes.clear();
}

const char* Vehicle::Name() {
    return "Vehicle";
}

bool Vehicle::HandleEvent(const event::IEvent& event) {
    if (event.event_type() != event::KeyEvent::kEventType)
        return false;
    const event::KeyEvent& key = static_cast<const event::KeyEvent&>(event);
    const bool pressed = key.key_event_type() == event::KeyEvent::KEY_PRESSED;
    const int code = key.key();
    if (input::Bindings::Is(input::Bindings::kAccelerate, code, OIS::KC_UP)) {
        if (pressed) {
            m_engineForce = m_maxEngineForce;
            m_driveSound->play();
            m_slowdownSound->stop();
        } else {
            m_driveSound->stop();
            m_slowdownSound->play();
            m_engineForce = 0;
        }
    } else if (input::Bindings::Is(input::Bindings::kBrake, code, OIS::KC_DOWN)) {
        if (pressed) {
            m_engineForce = kReverseForceFactor * m_maxEngineForce;
            if (!m_slowdownSound->IsPlaying())
                m_slowdownSound->play();
        } else {
            m_engineForce = 0;
        }
    } else if (input::Bindings::Is(input::Bindings::kSteerLeft, code, OIS::KC_LEFT)) {
        m_steerLeft = pressed;
    } else if (input::Bindings::Is(input::Bindings::kSteerRight, code, OIS::KC_RIGHT)) {
        m_steerRight = pressed;
    }
    return false;
}

void Vehicle::Init(const Ogre::Vector3&, const Ogre::Quaternion&) {
    m_wheelEntities.assign(m_numWheels, nullptr);
    m_wheelNodes.assign(m_numWheels, nullptr);
}

namespace {
// The pad control bound to a driving action (its default without bindings).
float padValue(const input::GamePad& pad, int action, const char* defaultControl) {
    const input::Bindings* bindings = input::Bindings::getSingleton();
    return pad.Value(bindings ? bindings->PadOf(action) : std::string(defaultControl));
}
} // namespace

bool Vehicle::ApplyPad(float step) {
    const input::GamePad* pad = input::GamePad::getSingleton();
    if (!pad || !m_listening) {
        m_padThrottle = false;
        return false;
    }
    using input::Bindings;
    const float throttle = padValue(*pad, Bindings::kAccelerate, "righttrigger");
    const float brake = padValue(*pad, Bindings::kBrake, "lefttrigger");
    const float steer = padValue(*pad, Bindings::kSteerLeft, "leftx-") - padValue(*pad, Bindings::kSteerRight, "leftx+");
    if (throttle > 0.f || brake > 0.f) {
        m_engineForce = throttle > 0.f ? throttle * m_maxEngineForce : brake * kReverseForceFactor * m_maxEngineForce;
        m_padThrottle = true;
    } else if (m_padThrottle) {
        m_engineForce = 0;
        m_padThrottle = false;
    }
    if (steer != 0.f) {
        // The wheels follow the stick within the clamp, at the vehicle's own rate.
        const float target = steer * m_steeringClamp;
        m_steering = m_steering < target ? std::min(m_steering + step, target) : std::max(m_steering - step, target);
        return true;
    }
    return false;
}

void Vehicle::Update(double seconds) {
    const float step = m_steeringIncrement * static_cast<float>(seconds);
    if (ApplyPad(step)) {
        // The stick steers.
    } else if (m_steerLeft) {
        m_steering = std::min(m_steering + step, m_steeringClamp);
    } else if (m_steerRight) {
        m_steering = std::max(m_steering - step, -m_steeringClamp);
    } else if (m_steering > 0) {
        m_steering = std::max(m_steering - step, 0.0f);
    } else if (m_steering < 0) {
        m_steering = std::min(m_steering + step, 0.0f);
    }
    if (!m_raycastVehicle)
        return;
    for (unsigned int i = 0; i < m_numPoweredWheels; ++i) {
        m_raycastVehicle->applyEngineForce(m_engineForce, static_cast<int>(i));
        m_raycastVehicle->setSteeringValue(m_steering, static_cast<int>(i));
    }
}

void Vehicle::Reset() {
    m_engineForce = 0;
    m_steering = 0;
    m_steerLeft = false;
    m_steerRight = false;
    m_driveSound->stop();
    m_slowdownSound->stop();
}

void Vehicle::Recover() {
    if (!m_chassisBody)
        return;
    // The heading is the nose's direction on the ground; a vehicle standing on
    // its nose or tail takes it from its roof instead.
    Ogre::Vector3 nose = -GetDirection();
    nose.y = 0;
    if (nose.squaredLength() < kMinHeadingLength) {
        nose = GetUp();
        nose.y = 0;
    }
    const Ogre::Radian yaw = nose.squaredLength() < kMinHeadingLength
                                 ? Ogre::Radian(0)
                                 : Ogre::Math::ATan2(nose.x, nose.z);
    const Ogre::Vector3 lift(0, m_chassisEntity->getBoundingBox().getHalfSize().y + kRecoverClearance, 0);
    Place(GetPosition() + lift, Ogre::Quaternion(yaw, Ogre::Vector3::UNIT_Y));
}

void Vehicle::Place(const Ogre::Vector3& position, const Ogre::Quaternion& heading) {
    if (!m_chassisBody)
        return;
    btRigidBody* body = m_chassisBody->getBulletRigidBody();
    btTransform transform;
    transform.setIdentity();
    transform.setOrigin(btVector3(position.x, position.y, position.z));
    transform.setRotation(btQuaternion(heading.x, heading.y, heading.z, heading.w));
    body->setCenterOfMassTransform(transform);
    body->setInterpolationWorldTransform(transform);
    body->setLinearVelocity(btVector3(0, 0, 0));
    body->setAngularVelocity(btVector3(0, 0, 0));
    body->setInterpolationLinearVelocity(btVector3(0, 0, 0));
    body->setInterpolationAngularVelocity(btVector3(0, 0, 0));
    body->clearForces();
    if (btRaycastVehicle* bullet = m_raycastVehicle ? m_raycastVehicle->getBulletVehicle() : nullptr)
        bullet->resetSuspension();
    // The node and wheels follow now, not only after the next step.
    m_chassisBody->setPose(transform);
}

void Vehicle::Activate(bool flag) {
    event::Manager* events = event::Manager::getSingleton();
    if (flag) {
        if (!m_listening && events)
            m_listening = events->AddListener(*this, event::KeyEvent::kEventType);
        return;
    }
    if (m_listening && events)
        events->RemoveListener(*this, event::KeyEvent::kEventType);
    m_listening = false;
    Reset();
}

bool Vehicle::AttachCamera(Ogre::SceneNode* cameraNode) {
    if (!cameraNode || !m_chassisNode)
        return false;
    Ogre::Vector3 position;
    if (!BonePosition(m_chassisEntity, kCameraBone, position)) {
        std::cerr << "Vehicle: chassis has no bone \"" << kCameraBone << "\", camera not mounted" << std::endl;
        return false;
    }
    if (cameraNode->getParent())
        cameraNode->getParent()->removeChild(cameraNode);
    m_chassisNode->addChild(cameraNode);
    Ogre::Bone* bone = m_chassisEntity->getSkeleton()->getBone(kCameraBone);
    cameraNode->setPosition(bone->getPosition());
    cameraNode->setOrientation(bone->getOrientation());
    return true;
}

bool Vehicle::Load(const std::string& fileName) {
    VehicleConfig config;
    config.numWheels = m_numWheels;
    config.numPoweredWheels = m_numPoweredWheels;
    config.weight = m_weight;
    config.maxEngineForce = m_maxEngineForce;
    config.steeringIncrement = m_steeringIncrement;
    config.steeringClamp = m_steeringClamp;
    config.wheelFriction = m_wheelFriction;
    config.frictionSlip = m_frictionSlip;
    config.suspensionStiffness = m_suspensionStiffness;
    config.suspensionDamping = m_suspensionDamping;
    config.suspensionCompression = m_suspensionCompression;
    config.suspensionRestLength = m_suspensionRestLength;
    config.suspensionMaxTravelCm = m_suspensionMaxTravelCm;
    config.rollInfluence = m_rollInfluence;
    config.connectionHeight = m_connectionHeight.y;
    config.chassisShift = m_chassisShift.y;
    // An unreadable file keeps the current values; the reader said so.
    if (!VehicleConfigReader::Read(fileName, config))
        return true;

    m_numWheels = static_cast<unsigned int>(config.numWheels);
    m_numPoweredWheels = static_cast<unsigned int>(config.numPoweredWheels);
    m_weight = static_cast<int>(config.weight);
    m_maxEngineForce = config.maxEngineForce;
    m_steeringIncrement = config.steeringIncrement;
    m_steeringClamp = config.steeringClamp;
    m_wheelFriction = config.wheelFriction;
    m_frictionSlip = config.frictionSlip;
    m_suspensionStiffness = config.suspensionStiffness;
    m_suspensionDamping = config.suspensionDamping;
    m_suspensionCompression = config.suspensionCompression;
    m_suspensionRestLength = config.suspensionRestLength;
    m_suspensionMaxTravelCm = config.suspensionMaxTravelCm;
    m_rollInfluence = config.rollInfluence;
    m_connectionHeight = Ogre::Vector3(0, config.connectionHeight, 0);
    m_chassisShift = Ogre::Vector3(0, config.chassisShift, 0);
    return true;
}

Ogre::Vector3 Vehicle::GetPosition() const {
    if (!m_chassisBody || !m_chassisBody->getSceneNode())
        return Ogre::Vector3::ZERO;
    return m_chassisBody->getSteppedPosition();
}

Ogre::Vector3 Vehicle::GetDirection() const {
    if (!m_chassisBody || !m_chassisBody->getSceneNode())
        return Ogre::Vector3::NEGATIVE_UNIT_Z;
    return m_chassisBody->getSteppedOrientation() * Ogre::Vector3::NEGATIVE_UNIT_Z;
}

Ogre::Vector3 Vehicle::GetUp() const {
    if (!m_chassisBody || !m_chassisBody->getSceneNode())
        return Ogre::Vector3::UNIT_Y;
    return m_chassisBody->getSteppedOrientation() * Ogre::Vector3::UNIT_Y;
}

Ogre::Vector3 Vehicle::GetVelocity() const {
    return m_chassisBody ? m_chassisBody->getLinearVelocity() : Ogre::Vector3::ZERO;
}

Ogre::Entity* Vehicle::wheel_entity(unsigned int index) const {
    return index < m_wheelEntities.size() ? m_wheelEntities[index] : nullptr;
}

Ogre::SceneNode* Vehicle::wheel_node(unsigned int index) const {
    return index < m_wheelNodes.size() ? m_wheelNodes[index] : nullptr;
}

bool Vehicle::BonePosition(Ogre::Entity* entity, const std::string& bone, Ogre::Vector3& position) {
    if (!entity || !entity->hasSkeleton() || !entity->getSkeleton()->hasBone(bone))
        return false;
    position = entity->getSkeleton()->getBone(bone)->getPosition();
    return true;
}

std::string Vehicle::WheelBoneName(unsigned int index, unsigned int poweredWheels) {
    const bool front = index < poweredWheels;
    const unsigned int number = front ? index / 2 + 1 : (index - poweredWheels) / 2 + 1;
    return std::string("wheel_") + (front ? "front." : "back.") + ((index % 2) ? "L." : "R.") +
           std::to_string(number);
}

bool Vehicle::Build(const BodyDesc& desc, const Ogre::Vector3& position, const Ogre::Quaternion& orientation) {
    Ogre::SceneManager* scene = sceneManager();
    physics::PhysicsCore* physicsCore = physics::PhysicsCore::getSingleton();
    OgreBulletDynamics::DynamicsWorld* world = physicsCore ? physicsCore->world() : nullptr;
    if (!scene || !world) {
        std::cerr << "Vehicle: no scene or physics world to build \"" << desc.chassisMesh << "\" in" << std::endl;
        return false;
    }
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    for (const std::string* mesh : {&desc.chassisMesh, &desc.frontWheelMesh, &desc.backWheelMesh}) {
        if (!groups.resourceExistsInAnyGroup(*mesh)) {
            std::cerr << "Vehicle: mesh \"" << *mesh << "\" not found, nothing spawned" << std::endl;
            return false;
        }
    }

    // 1. The chassis, with the variant's material and shadow-receiving materials.
    Ogre::Entity* chassis = nullptr;
    try {
        chassis = scene->createEntity(desc.chassisMesh);
    } catch (const Ogre::Exception& error) {
        std::cerr << "Vehicle: mesh \"" << desc.chassisMesh << "\" did not load (" << error.getDescription()
                  << "), nothing spawned" << std::endl;
        return false;
    }
    if (!chassis->hasSkeleton()) {
        std::cerr << "Vehicle: mesh \"" << desc.chassisMesh << "\" has no skeleton, nothing spawned" << std::endl;
        scene->destroyEntity(chassis);
        return false;
    }
    for (const std::string& bone : desc.requiredBones) {
        if (!chassis->getSkeleton()->hasBone(bone)) {
            std::cerr << "Vehicle: mesh \"" << desc.chassisMesh << "\" has no bone \"" << bone
                      << "\", nothing spawned" << std::endl;
            scene->destroyEntity(chassis);
            return false;
        }
    }
    // Wheels come from the bones the mesh has: as many front bones as powered
    // wheels, then back bones.
    Ogre::SkeletonInstance* skeleton = chassis->getSkeleton();
    auto bones = [skeleton](const char* kind) {
        unsigned int count = 0;
        while (skeleton->hasBone(std::string("wheel_") + kind + ((count % 2) ? "L." : "R.") +
                                 std::to_string(count / 2 + 1)))
            ++count;
        return count;
    };
    const unsigned int frontBones = bones("front.");
    const unsigned int backBones = bones("back.");
    if (m_numPoweredWheels > frontBones) {
        std::cerr << "Vehicle: \"" << desc.chassisMesh << "\" has " << frontBones << " front wheel bones, using "
                  << frontBones << " of " << m_numPoweredWheels << " powered wheels" << std::endl;
        m_numPoweredWheels = frontBones;
    }
    if (m_numWheels > m_numPoweredWheels + backBones) {
        std::cerr << "Vehicle: \"" << desc.chassisMesh << "\" has bones for " << m_numPoweredWheels + backBones
                  << " wheels, using them instead of " << m_numWheels << std::endl;
        m_numWheels = m_numPoweredWheels + backBones;
    }
    if (m_numPoweredWheels > m_numWheels)
        m_numPoweredWheels = m_numWheels;
    if (m_numWheels == 0) {
        std::cerr << "Vehicle: \"" << desc.chassisMesh << "\" has no wheel bones, nothing spawned" << std::endl;
        scene->destroyEntity(chassis);
        return false;
    }

    display::Core* core = display::Core::getSingleton();
    if (!desc.variantMaterial.empty() && desc.variantIndex >= chassis->getNumSubEntities())
        std::cerr << "Vehicle: \"" << desc.chassisMesh << "\" has no sub-entity " << desc.variantIndex
                  << " for material \"" << desc.variantMaterial << "\"" << std::endl;
    for (unsigned int i = 0; i < chassis->getNumSubEntities(); ++i) {
        Ogre::SubEntity* sub = chassis->getSubEntity(i);
        Ogre::MaterialPtr material = sub->getMaterial();
        if (!desc.variantMaterial.empty() && i == desc.variantIndex) {
            Ogre::MaterialPtr variant = Ogre::MaterialManager::getSingleton().getByName(
                desc.variantMaterial, Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME);
            if (variant)
                material = variant;
            else
                std::cerr << "Vehicle: material \"" << desc.variantMaterial << "\" not found, sub-entity " << i
                          << " keeps its own" << std::endl;
        }
        if (desc.receivesShadows && core && material)
            material = core->BuildPSSMMaterial(material);
        if (material && material != sub->getMaterial())
            sub->setMaterial(material);
    }

    // 2. The wheel arrays.
    Vehicle::Init(position, orientation);

    // 3. Body node and chassis node.
    m_chassisEntity = chassis;
    m_bodyNode = scene->getRootSceneNode()->createChildSceneNode();
    m_chassisNode = m_bodyNode->createChildSceneNode();
    m_chassisNode->attachObject(chassis);
    m_chassisNode->setPosition(m_chassisShift);
    chassis->setQueryFlags(kVehicleQueryFlags);
    chassis->setCastShadows(true);

    // 4.-5. The box body; vehicles always start facing the world's forward axis.
    const Ogre::Vector3 half = chassis->getBoundingBox().getHalfSize();
    m_chassisBody.reset(new OgreBulletDynamics::WheeledRigidBody(desc.bodyName + std::to_string(m_id), world));
    m_chassisBody->setShape(m_bodyNode, new OgreBulletCollisions::BoxCollisionShape(half), kBodyRestitution,
                            kBodyFriction, static_cast<float>(static_cast<unsigned int>(m_weight)), position,
                            Ogre::Quaternion::IDENTITY);
    m_chassisBody->setDamping(desc.damping, desc.damping);
    m_chassisBody->getBulletRigidBody()->setActivationState(DISABLE_DEACTIVATION);

    // 6. Tuning, ray caster and the raycast vehicle.
    m_tuning.reset(new OgreBulletDynamics::VehicleTuning(m_suspensionStiffness, m_suspensionCompression,
                                                         m_suspensionDamping, m_suspensionMaxTravelCm,
                                                         m_frictionSlip));
    m_rayCaster.reset(new OgreBulletDynamics::VehicleRayCaster(world));
    m_raycastVehicle.reset(
        new OgreBulletDynamics::RaycastVehicle(m_chassisBody.get(), m_tuning.get(), m_rayCaster.get()));
    m_raycastVehicle->setCoordinateSystem(kRightAxis, kUpAxis, kForwardAxis);

    // 7. The wheels.
    for (unsigned int i = 0; i < m_numWheels; ++i) {
        const std::string& mesh = i < desc.backWheelMeshFrom ? desc.frontWheelMesh : desc.backWheelMesh;
        Ogre::Entity* wheel = scene->createEntity(mesh);
        wheel->setQueryFlags(kVehicleQueryFlags);
        wheel->setCastShadows(true);
        Ogre::SceneNode* node = scene->getRootSceneNode()->createChildSceneNode();
        node->attachObject(wheel);
        m_wheelEntities[i] = wheel;
        m_wheelNodes[i] = node;

        Ogre::Vector3 connection = Ogre::Vector3::ZERO;
        BonePosition(chassis, WheelBoneName(i, m_numPoweredWheels), connection);
        connection += m_connectionHeight;
        float radius = wheel->getBoundingBox().getSize().y * 0.5f;
        if (!(radius >= kMinWheelRadius)) {
            std::cerr << "Vehicle: wheel mesh \"" << mesh << "\" gives radius " << radius << ", using "
                      << kMinWheelRadius << std::endl;
            radius = kMinWheelRadius;
        }
        m_raycastVehicle->addWheel(node, connection, kWheelDirection, kWheelAxle, m_suspensionRestLength, radius,
                                   i < m_numPoweredWheels, m_wheelFriction, m_rollInfluence);
    }

    // Wheels stand where their rays meet the ground before the first step is drawn.
    btRaycastVehicle* bullet = m_raycastVehicle->getBulletVehicle();
    for (int i = 0; bullet && i < bullet->getNumWheels(); ++i) {
        bullet->updateWheelTransformsWS(bullet->getWheelInfo(i), false);
        bullet->rayCast(bullet->getWheelInfo(i));
    }
    m_raycastVehicle->updateWheels();
    return true;
}

} // namespace game
