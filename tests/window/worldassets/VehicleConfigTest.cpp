// Vehicle configurations of both variants: every key present and numeric, and
// the upgraded set faster than the normal one. How the vehicles drive with
// them is tested on the game's own vehicle classes (tests/window/vehicles).
#include "WorldAssetFixture.h"


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

}  // namespace
}  // namespace worldassets
