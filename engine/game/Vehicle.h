#pragma once

#include "base/Export.h"
#include "event/IListener.h"
#include "game/IObject.h"

#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

#include <memory>
#include <string>
#include <vector>

namespace Ogre {
class Entity;
class SceneNode;
} // namespace Ogre

namespace OgreBulletDynamics {
class RaycastVehicle;
class VehicleRayCaster;
class VehicleTuning;
class WheeledRigidBody;
} // namespace OgreBulletDynamics

namespace sound {
class Sound;
}

namespace game {

// The drivable car: a raycast vehicle on a box chassis, driven by the arrow
// keys, with its driving values read from a configuration file. Concrete
// vehicles name their meshes and build the physics in Init through Build.
class DW_API Vehicle : public event::IListener, public IObject {
public:
    // Table defaults: a missing, empty or unreadable key keeps these.
    static const unsigned int kDefaultWheels;
    static const unsigned int kDefaultPoweredWheels;
    static const int kDefaultWeight;
    static const float kDefaultMaxEngineForce;
    static const float kDefaultSteeringIncrement;
    static const float kDefaultSteeringClamp;
    static const float kDefaultWheelFriction;
    static const float kDefaultFrictionSlip;
    static const float kDefaultSuspensionStiffness;
    static const float kDefaultSuspensionDamping;
    static const float kDefaultSuspensionCompression;
    static const float kDefaultSuspensionRestLength;
    static const float kDefaultSuspensionMaxTravelCm;
    static const float kDefaultRollInfluence;
    static const float kDefaultConnectionHeight;
    static const float kDefaultChassisShift;
    // Smallest wheel radius the ray cast can work with.
    static const float kMinWheelRadius;
    // Configuration files live in kConfigFolder + variant + file name.
    static const char* const kConfigFolder;
    // The variant whose vehicles wear their upgraded material.
    static const char* const kUpgradedVariant;

    Vehicle(Ogre::SceneNode* node, unsigned short type);
    virtual ~Vehicle();

    Vehicle(const Vehicle&) = delete;
    Vehicle& operator=(const Vehicle&) = delete;

    // event::IListener
    const char* Name() override;
    // Arrow keys only; never consumes the event.
    bool HandleEvent(const event::IEvent& event) override;
    // Allocates the wheel arrays; concrete vehicles call it first, then build.
    virtual void Init(const Ogre::Vector3& position, const Ogre::Quaternion& orientation);
    // Mounts a camera node on the chassis at the bone "camera_wheel".
    virtual bool AttachCamera(Ogre::SceneNode* cameraNode);
    // Stops the controls and both sounds.
    virtual void Reset();
    // Puts an overturned or wedged vehicle back on its wheels where it is,
    // nose along its present heading, at rest.
    virtual void Recover();
    // Sets the chassis upright at `position`, turned by `heading` about the
    // vertical, with no motion left.
    void Place(const Ogre::Vector3& position, const Ogre::Quaternion& heading);

    // game::IObject: starts or stops listening to the keys.
    void Activate(bool flag) override;
    // Steering toward the held key (or back to straight) and force on the powered wheels.
    void Update(double seconds) override;

    // Reads the configuration read-only; true also when the file is unreadable
    // (the values then stay as they were).
    bool Load(const std::string& fileName);

    // Where the last physics step left the chassis (the drawn chassis moves
    // smoothly between steps; game logic reads this).
    Ogre::Vector3 GetPosition() const;
    // The stepped orientation applied to (0, 0, -1).
    Ogre::Vector3 GetDirection() const;
    Ogre::Vector3 GetVelocity() const;
    // The chassis' up axis in the world; (0, 1, 0) while on its wheels on flat ground.
    Ogre::Vector3 GetUp() const;
    Ogre::Entity* chassis_entity() const { return m_chassisEntity; }

    // True once Init built the chassis, wheels and physics objects.
    bool ready() const { return m_raycastVehicle != nullptr; }
    unsigned int num_wheels() const { return m_numWheels; }
    unsigned int num_powered_wheels() const { return m_numPoweredWheels; }
    int weight() const { return m_weight; }
    float max_engine_force() const { return m_maxEngineForce; }
    float steering_increment() const { return m_steeringIncrement; }
    float steering_clamp() const { return m_steeringClamp; }
    float wheel_friction() const { return m_wheelFriction; }
    float suspension_stiffness() const { return m_suspensionStiffness; }
    float suspension_damping() const { return m_suspensionDamping; }
    float suspension_compression() const { return m_suspensionCompression; }
    float roll_influence() const { return m_rollInfluence; }
    float suspension_rest_length() const { return m_suspensionRestLength; }
    float suspension_max_travel_cm() const { return m_suspensionMaxTravelCm; }
    float friction_slip() const { return m_frictionSlip; }
    const Ogre::Vector3& connection_height() const { return m_connectionHeight; }
    const Ogre::Vector3& chassis_shift() const { return m_chassisShift; }
    float engine_force() const { return m_engineForce; }
    float steering() const { return m_steering; }
    OgreBulletDynamics::WheeledRigidBody* chassis_body() const { return m_chassisBody.get(); }
    OgreBulletDynamics::RaycastVehicle* raycast_vehicle() const { return m_raycastVehicle.get(); }
    Ogre::Entity* wheel_entity(unsigned int index) const;
    Ogre::SceneNode* wheel_node(unsigned int index) const;
    sound::Sound* drive_sound() const { return m_driveSound.get(); }
    sound::Sound* slowdown_sound() const { return m_slowdownSound.get(); }
    // The node the vehicle was spawned on; it points back here through its user value.
    Ogre::SceneNode* spawn_node() const { return m_spawnNode; }

protected:
    // What differs between the concrete vehicles' chassis and wheels.
    struct BodyDesc {
        std::string chassisMesh;
        std::string frontWheelMesh;
        std::string backWheelMesh;
        // Wheels from this index on take the back wheel mesh.
        unsigned int backWheelMeshFrom;
        std::string bodyName;
        float damping;
        // Chassis materials become their shadow-receiving variants.
        bool receivesShadows;
        // Empty: every sub-entity keeps its own material.
        std::string variantMaterial;
        unsigned int variantIndex;
        // Bones the concrete vehicle relies on besides the wheel bones.
        std::vector<std::string> requiredBones;
    };

    // The common build: chassis entity, base Init, body and chassis nodes,
    // box body at `position` (always identity orientation), tuning, ray
    // caster, raycast vehicle and wheels, placed before the first step.
    // A missing mesh, skeleton or bone builds nothing and says so; false then.
    bool Build(const BodyDesc& desc, const Ogre::Vector3& position, const Ogre::Quaternion& orientation);
    // Position of a bone of the entity's skeleton; false when there is none.
    static bool BonePosition(Ogre::Entity* entity, const std::string& bone, Ogre::Vector3& position);
    // Bone name of wheel i: wheel_front.R.1, wheel_front.L.1, wheel_back.R.1, ...
    static std::string WheelBoneName(unsigned int index, unsigned int poweredWheels);

    unsigned int m_numWheels;
    unsigned int m_numPoweredWheels;
    int m_weight;
    float m_maxEngineForce;
    float m_steeringIncrement;
    float m_steeringClamp;
    float m_wheelFriction;
    float m_suspensionStiffness;
    float m_suspensionDamping;
    float m_suspensionCompression;
    float m_rollInfluence;
    float m_suspensionRestLength;
    float m_suspensionMaxTravelCm;
    float m_frictionSlip;
    Ogre::Vector3 m_connectionHeight;
    Ogre::Vector3 m_chassisShift;
    std::unique_ptr<OgreBulletDynamics::WheeledRigidBody> m_chassisBody;
    std::unique_ptr<OgreBulletDynamics::VehicleTuning> m_tuning;
    std::unique_ptr<OgreBulletDynamics::VehicleRayCaster> m_rayCaster;
    std::unique_ptr<OgreBulletDynamics::RaycastVehicle> m_raycastVehicle;
    Ogre::Entity* m_chassisEntity;
    std::vector<Ogre::Entity*> m_wheelEntities;
    std::vector<Ogre::SceneNode*> m_wheelNodes;
    float m_engineForce;
    float m_steering;
    bool m_steerLeft;
    bool m_steerRight;
    // Whether the pad's analog controls drove in the last update: letting go
    // (or unplugging the pad) then stops the force they gave.
    bool m_padThrottle = false;

    // The pad's analog force and steering, over the keys while they are in
    // use; true when the stick steers this update.
    bool ApplyPad(float step);
    std::unique_ptr<sound::Sound> m_driveSound;
    std::unique_ptr<sound::Sound> m_slowdownSound;

private:
    // Undoes Build; safe on a partly built vehicle.
    void DestroyBody();

    Ogre::SceneNode* m_spawnNode;
    Ogre::SceneNode* m_bodyNode;
    Ogre::SceneNode* m_chassisNode;
    bool m_listening;
};

} // namespace game
