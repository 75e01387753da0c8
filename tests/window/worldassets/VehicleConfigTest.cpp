// Vehicle configurations of both variants, and how the vehicles drive with
// them under the game's physics: a raycast vehicle on flat ground stepped at
// 60 Hz, built from the chassis bounds and bones as the game builds it.
#include "WorldAssetFixture.h"

#include <btBulletDynamicsCommon.h>

namespace worldassets {
namespace {

const std::vector<std::string> kKeys = {
    "num_wheels",           "num_powered_wheels",     "max_engine_force",   "steering_increment",
    "steering_clamp",       "weight",                 "wheel_friction",     "friction_slip",
    "suspension_stiffness", "suspension_damping",     "suspension_compression", "suspension_rest_length",
    "suspension_max_travel_cm", "roll_influence",     "connection_height",  "chassis_shift"};

struct VehicleKind {
  const char* config;
  const char* chassis;
  const char* wheel;
  float damping;
};
const std::vector<VehicleKind> kVehicles = {{"catering_truck.xml", "cateringtruck.mesh", "catering_wheel.mesh", 0.6f},
                                            {"fueltruck.xml", "fueltruck.mesh", "fueltruck_wheel.mesh", 0.8f},
                                            {"baggage_cart.xml", "baggage_car.mesh", "baggagewheel_front.mesh", 0.6f}};

float Key(std::map<std::string, std::string>& keys, const std::string& key) {
  return float(std::atof(keys[key].c_str()));
}

class VehicleConfigTest : public WorldAssetFixture {};

TEST_F(VehicleConfigTest, BothVariantsHoldEveryKey) {
  for (const char* variant : {"normal", "upgraded"}) {
    for (const char* file : {"catering_truck.xml", "fueltruck.xml", "baggage_cart.xml", "baggage_cart_trailer.xml"}) {
      SCOPED_TRACE(std::string(variant) + "/" + file);
      auto keys = ReadConfig(kAssets + "/config/" + variant + "/" + file);
      ASSERT_FALSE(keys.empty());
      for (const auto& key : kKeys) {
        ASSERT_EQ(keys.count(key), 1u) << key;
        char* end = nullptr;
        std::strtod(keys[key].c_str(), &end);
        EXPECT_TRUE(!keys[key].empty() && end && *end == '\0') << key << " = '" << keys[key] << "'";
      }
    }
  }
}

TEST_F(VehicleConfigTest, UpgradedVehiclesAreFasterAndSteerMore) {
  for (const auto& v : kVehicles) {
    SCOPED_TRACE(v.config);
    auto normal = ReadConfig(kAssets + "/config/normal/" + v.config);
    auto upgraded = ReadConfig(kAssets + "/config/upgraded/" + v.config);
    // Top speed where the engine force balances the chassis damping.
    auto top = [&v](std::map<std::string, std::string>& k) {
      return Key(k, "max_engine_force") * Key(k, "num_powered_wheels") /
             (Key(k, "weight") * -std::log(1.0f - v.damping));
    };
    EXPECT_GT(top(upgraded), top(normal) * 1.2f);
    EXPECT_GE(Key(upgraded, "steering_clamp"), Key(normal, "steering_clamp"));
    EXPECT_GE(Key(upgraded, "steering_increment"), Key(normal, "steering_increment"));
    EXPECT_GT(top(normal), 6.5f);  // apron speed: above 23 km/h
    EXPECT_LT(top(upgraded), 14.0f);
  }
}

// The raycast vehicle as the game builds it from a configuration.
class Drive {
 public:
  Drive(const VehicleKind& kind, std::map<std::string, std::string> k, const std::string& trailerVariant = "")
      : m_broadphase(btVector3(-1e4, -1e4, -1e4), btVector3(1e4, 1e4, 1e4)),
        m_dispatcher(&m_config),
        m_world(&m_dispatcher, &m_broadphase, &m_solver, &m_config),
        m_ground(btVector3(0, 1, 0), 0) {
    m_world.setGravity(btVector3(0, -9.81f, 0));
    btRigidBody::btRigidBodyConstructionInfo groundInfo(0, nullptr, &m_ground);
    groundInfo.m_friction = 0.6f;
    groundInfo.m_restitution = 0.6f;
    m_groundBody = std::make_unique<btRigidBody>(groundInfo);
    m_world.addRigidBody(m_groundBody.get());

    Ogre::Entity* chassis = WorldAssetFixture::scene()->createEntity(kind.chassis);
    Ogre::Entity* wheel = WorldAssetFixture::scene()->createEntity(kind.wheel);
    Ogre::Vector3 half = chassis->getBoundingBox().getHalfSize();
    m_restHeight = chassis->getBoundingBox().getCenter().y;
    m_halfHeight = half.y;
    m_box = std::make_unique<btBoxShape>(btVector3(half.x, half.y, half.z));
    float mass = Key(k, "weight");
    btVector3 inertia;
    m_box->calculateLocalInertia(mass, inertia);
    btTransform start;
    start.setIdentity();
    start.setOrigin(btVector3(0, m_restHeight + 0.25f, 0));
    m_motion = std::make_unique<btDefaultMotionState>(start);
    btRigidBody::btRigidBodyConstructionInfo info(mass, m_motion.get(), m_box.get(), inertia);
    info.m_friction = 0.6f;
    info.m_restitution = 0.6f;
    m_body = std::make_unique<btRigidBody>(info);
    m_body->setDamping(kind.damping, kind.damping);
    m_body->setActivationState(DISABLE_DEACTIVATION);
    m_world.addRigidBody(m_body.get());

    m_tuning.m_suspensionStiffness = Key(k, "suspension_stiffness");
    m_tuning.m_suspensionCompression = Key(k, "suspension_compression");
    m_tuning.m_suspensionDamping = Key(k, "suspension_damping");
    m_tuning.m_maxSuspensionTravelCm = Key(k, "suspension_max_travel_cm");
    m_tuning.m_frictionSlip = Key(k, "friction_slip");
    m_caster = std::make_unique<btDefaultVehicleRaycaster>(&m_world);
    m_vehicle = std::make_unique<btRaycastVehicle>(m_tuning, m_body.get(), m_caster.get());
    m_vehicle->setCoordinateSystem(0, 1, 2);
    m_world.addAction(m_vehicle.get());
    m_wheels = int(Key(k, "num_wheels"));
    m_powered = int(Key(k, "num_powered_wheels"));
    m_force = Key(k, "max_engine_force");
    m_clamp = Key(k, "steering_clamp");
    float radius = wheel->getBoundingBox().getSize().y * 0.5f;
    for (int i = 0; i < m_wheels; ++i) {
      Ogre::Vector3 bone = chassis->getSkeleton()->getBone(WheelBone(i, m_powered))->getPosition();
      btVector3 connection(bone.x, bone.y + Key(k, "connection_height"), bone.z);
      btWheelInfo& w = m_vehicle->addWheel(connection, btVector3(0, -1, 0), btVector3(-1, 0, 0),
                                           Key(k, "suspension_rest_length"), radius, m_tuning, i < m_powered);
      w.m_frictionSlip = Key(k, "wheel_friction");
      w.m_rollInfluence = Key(k, "roll_influence");
    }
    if (!trailerVariant.empty()) AddTrailer(chassis, trailerVariant);
    WorldAssetFixture::scene()->destroyEntity(chassis);
    WorldAssetFixture::scene()->destroyEntity(wheel);
  }

  // The cart's trailer: built 5 units behind along -z and coupled with a ball
  // joint between the two hitch bones, as the cart does it.
  void AddTrailer(Ogre::Entity* cart, const std::string& variant) {
    auto k = ReadConfig(kAssets + "/config/" + variant + "/baggage_cart_trailer.xml");
    Ogre::Entity* chassis = WorldAssetFixture::scene()->createEntity("baggage_cart_back.mesh");
    Ogre::Entity* wheel = WorldAssetFixture::scene()->createEntity("baggagewheel_back.mesh");
    Ogre::Vector3 half = chassis->getBoundingBox().getHalfSize();
    m_trailerBox = std::make_unique<btBoxShape>(btVector3(half.x, half.y, half.z));
    float mass = Key(k, "weight");
    btVector3 inertia;
    m_trailerBox->calculateLocalInertia(mass, inertia);
    btTransform start = m_body->getWorldTransform();
    start.setOrigin(start.getOrigin() - btVector3(0, 0, 5));
    m_trailerMotion = std::make_unique<btDefaultMotionState>(start);
    btRigidBody::btRigidBodyConstructionInfo info(mass, m_trailerMotion.get(), m_trailerBox.get(), inertia);
    info.m_friction = 0.6f;
    info.m_restitution = 0.6f;
    m_trailer = std::make_unique<btRigidBody>(info);
    m_trailer->setDamping(0.6f, 0.6f);
    m_trailer->setActivationState(DISABLE_DEACTIVATION);
    m_world.addRigidBody(m_trailer.get());
    m_trailerTuning.m_suspensionStiffness = Key(k, "suspension_stiffness");
    m_trailerTuning.m_suspensionCompression = Key(k, "suspension_compression");
    m_trailerTuning.m_suspensionDamping = Key(k, "suspension_damping");
    m_trailerTuning.m_maxSuspensionTravelCm = Key(k, "suspension_max_travel_cm");
    m_trailerTuning.m_frictionSlip = Key(k, "friction_slip");
    m_trailerVehicle = std::make_unique<btRaycastVehicle>(m_trailerTuning, m_trailer.get(), m_caster.get());
    m_trailerVehicle->setCoordinateSystem(0, 1, 2);
    m_world.addAction(m_trailerVehicle.get());
    int wheels = int(Key(k, "num_wheels")), powered = int(Key(k, "num_powered_wheels"));
    float radius = wheel->getBoundingBox().getSize().y * 0.5f;
    for (int i = 0; i < wheels; ++i) {
      Ogre::Vector3 bone = chassis->getSkeleton()->getBone(WheelBone(i, powered))->getPosition();
      btWheelInfo& w = m_trailerVehicle->addWheel(btVector3(bone.x, bone.y + Key(k, "connection_height"), bone.z),
                                                  btVector3(0, -1, 0), btVector3(-1, 0, 0),
                                                  Key(k, "suspension_rest_length"), radius, m_trailerTuning, i < powered);
      w.m_frictionSlip = Key(k, "wheel_friction");
      w.m_rollInfluence = Key(k, "roll_influence");
    }
    Ogre::Vector3 a = cart->getSkeleton()->getBone("connection_main")->getPosition();
    Ogre::Vector3 b = chassis->getSkeleton()->getBone("connection_cart")->getPosition();
    m_pivotA = btVector3(a.x, a.y, a.z);
    m_pivotB = btVector3(b.x, b.y, b.z);
    m_coupling = std::make_unique<btPoint2PointConstraint>(*m_body, *m_trailer, m_pivotA, m_pivotB);
    m_coupling->m_setting.m_tau = 1.0f;
    m_coupling->m_setting.m_damping = 1.0f;
    m_world.addConstraint(m_coupling.get(), false);
    WorldAssetFixture::scene()->destroyEntity(chassis);
    WorldAssetFixture::scene()->destroyEntity(wheel);
  }

  float TrailerUp() const { return m_trailer ? float(m_trailer->getWorldTransform().getBasis().getColumn(1).y()) : 1; }
  float CouplingGap() const {
    if (!m_trailer) return 0;
    btVector3 pa = m_body->getWorldTransform() * m_pivotA, pb = m_trailer->getWorldTransform() * m_pivotB;
    return float((pa - pb).length());
  }
  float TrailerHeight() const { return m_trailer ? float(m_trailer->getWorldTransform().getOrigin().y()) : 0; }

  ~Drive() {
    if (m_trailer) {
      m_world.removeConstraint(m_coupling.get());
      m_world.removeAction(m_trailerVehicle.get());
      m_world.removeRigidBody(m_trailer.get());
    }
    m_world.removeAction(m_vehicle.get());
    m_world.removeRigidBody(m_body.get());
    m_world.removeRigidBody(m_groundBody.get());
  }

  /// Steps for `seconds` with the engine at `throttle` x maximum and the
  /// steering at `steer` x clamp; returns the lowest "up" component seen.
  float Run(float seconds, float throttle, float steer) {
    float lowestUp = 1;
    for (int s = 0; s < int(seconds * 60); ++s) {
      for (int i = 0; i < m_powered; ++i) {
        m_vehicle->applyEngineForce(m_force * throttle, i);
        m_vehicle->setSteeringValue(m_clamp * steer, i);
      }
      m_world.stepSimulation(1.0f / 60.0f, 1, 1.0f / 60.0f);
      btVector3 up = m_body->getWorldTransform().getBasis().getColumn(1);
      lowestUp = std::min(lowestUp, float(up.y()));
      lowestUp = std::min(lowestUp, TrailerUp());
      m_worstGap = std::max(m_worstGap, CouplingGap());
      for (int i = 0; i < m_wheels; ++i) {
        float skid = float(m_vehicle->getWheelInfo(i).m_skidInfo);
        m_skidSum += skid;
        ++m_skidCount;
        if (skid < m_lowestSkid) {
          m_lowestSkid = skid;
          m_worstWheel = i;
        }
      }
    }
    return lowestUp;
  }

  float Speed() const { return m_body->getLinearVelocity().length(); }
  float HorizontalSpeed() const {
    btVector3 v = m_body->getLinearVelocity();
    v.setY(0);
    return v.length();
  }
  std::string Velocity() const {
    const btVector3& v = m_body->getLinearVelocity();
    return std::to_string(v.x()) + " " + std::to_string(v.y()) + " " + std::to_string(v.z());
  }
  float Height() const { return m_body->getWorldTransform().getOrigin().y(); }
  float Forward() const { return m_body->getWorldTransform().getOrigin().z(); }
  float Side() const { return m_body->getWorldTransform().getOrigin().x(); }
  int worstWheel() const { return m_worstWheel; }
  float restHeight() const { return m_restHeight; }
  float halfHeight() const { return m_halfHeight; }
  float lowestSkid() const { return m_lowestSkid; }
  void ResetSkid() {
    m_lowestSkid = 1;
    m_skidSum = 0;
    m_skidCount = 0;
  }
  float meanSkid() const { return m_skidCount ? m_skidSum / float(m_skidCount) : 1.0f; }
  float force() const { return m_force; }
  int powered() const { return m_powered; }
  float mass() const { return 1.0f / m_body->getInvMass(); }

 private:
  btDefaultCollisionConfiguration m_config;
  btAxisSweep3 m_broadphase;
  btCollisionDispatcher m_dispatcher;
  btSequentialImpulseConstraintSolver m_solver;
  btDiscreteDynamicsWorld m_world;
  btStaticPlaneShape m_ground;
  std::unique_ptr<btRigidBody> m_groundBody;
  std::unique_ptr<btBoxShape> m_box;
  std::unique_ptr<btDefaultMotionState> m_motion;
  std::unique_ptr<btRigidBody> m_body;
  btRaycastVehicle::btVehicleTuning m_tuning;
  std::unique_ptr<btDefaultVehicleRaycaster> m_caster;
  std::unique_ptr<btRaycastVehicle> m_vehicle;
  int m_wheels = 0, m_powered = 0;
  float m_force = 0, m_clamp = 0, m_restHeight = 0, m_halfHeight = 0, m_lowestSkid = 1;
  int m_worstWheel = -1;
  float m_worstGap = 0;
  std::unique_ptr<btBoxShape> m_trailerBox;
  std::unique_ptr<btDefaultMotionState> m_trailerMotion;
  std::unique_ptr<btRigidBody> m_trailer;
  btRaycastVehicle::btVehicleTuning m_trailerTuning;
  std::unique_ptr<btRaycastVehicle> m_trailerVehicle;
  std::unique_ptr<btPoint2PointConstraint> m_coupling;
  btVector3 m_pivotA, m_pivotB;

 public:
  float worstGap() const { return m_worstGap; }
  float m_skidSum = 0;
  int m_skidCount = 0;
};

TEST_F(VehicleConfigTest, VehiclesRestOnTheirWheelsWhereTheMeshShowsThem) {
  for (const auto& v : kVehicles) {
    for (const char* variant : {"normal", "upgraded"}) {
      SCOPED_TRACE(std::string(v.config) + " " + variant);
      Drive drive(v, ReadConfig(kAssets + "/config/" + variant + "/" + v.config));
      drive.Run(2.0f, 0, 0);
      EXPECT_NEAR(drive.Height(), drive.restHeight(), 0.06f);
      EXPECT_GT(drive.Height() - drive.halfHeight(), 0.1f);  // the box clears the ground
      // At rest only the last step's suspension impulse against gravity remains.
      EXPECT_LT(drive.HorizontalSpeed(), 0.02f) << drive.Velocity();
      EXPECT_LT(drive.Speed(), 0.3f) << drive.Velocity();
    }
  }
}

TEST_F(VehicleConfigTest, FullThrottleGripsAndFullSteeringDoesNotTip) {
  for (const auto& v : kVehicles) {
    float topSpeed[2] = {0, 0};
    int index = 0;
    for (const char* variant : {"normal", "upgraded"}) {
      SCOPED_TRACE(std::string(v.config) + " " + variant);
      Drive drive(v, ReadConfig(kAssets + "/config/" + variant + "/" + v.config));
      drive.Run(1.5f, 0, 0);
      drive.ResetSkid();
      // Pulling away at full force: the driven wheels keep most of their grip
      // and the vehicle goes straight ahead instead of sliding about.
      float start = drive.Forward();
      drive.Run(1.0f, 1, 0);
      EXPECT_GT(drive.meanSkid(), 0.9f) << "lowest " << drive.lowestSkid() << " on wheel " << drive.worstWheel();
      // Distance after one second against what the force would give with full
      // grip under the chassis damping: x = a / k (1 - (1 - e^-k) / k).
      float a = drive.force() * float(drive.powered()) / drive.mass();
      float k = -std::log(1.0f - v.damping);
      float ideal = a / k * (1.0f - (1.0f - std::exp(-k)) / k);
      EXPECT_GT(drive.Forward() - start, 0.8f * ideal);  // positive force drives along +z
      EXPECT_LT(std::fabs(drive.Side()), 0.05f);
      float up = drive.Run(9.0f, 1, 0);
      EXPECT_GT(up, 0.95f);
      topSpeed[index++] = drive.Speed();
      EXPECT_GT(drive.Speed(), 6.0f);
      // Full lock at top speed, then the other way: the vehicle stays upright.
      EXPECT_GT(drive.Run(4.0f, 1, 1), 0.8f);
      EXPECT_GT(drive.Run(4.0f, 1, -1), 0.8f);
      EXPECT_GT(drive.Height(), drive.halfHeight());
    }
    EXPECT_GT(topSpeed[1], topSpeed[0] * 1.15f) << v.config;
  }
}

TEST_F(VehicleConfigTest, CartTowsItsTrailerThroughTurns) {
  for (const char* variant : {"normal", "upgraded"}) {
    SCOPED_TRACE(variant);
    Drive drive(kVehicles[2], ReadConfig(kAssets + "/config/" + variant + "/baggage_cart.xml"), variant);
    drive.Run(2.0f, 0, 0);
    // Both rest on their wheels with the hitch points together.
    EXPECT_LT(drive.CouplingGap(), 0.05f);
    EXPECT_GT(drive.TrailerHeight(), 0.5f);
    EXPECT_GT(drive.Run(8.0f, 1, 0), 0.95f);
    EXPECT_GT(drive.Speed(), 6.0f);
    EXPECT_GT(drive.Run(5.0f, 1, 1), 0.8f);
    EXPECT_GT(drive.Run(5.0f, 1, -1), 0.8f);
    EXPECT_GT(drive.Run(3.0f, -1, 0), 0.8f);  // reversing a little
    EXPECT_LT(drive.worstGap(), 0.3f);
  }
}

}  // namespace
}  // namespace worldassets
