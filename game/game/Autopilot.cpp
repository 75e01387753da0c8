#include "game/Autopilot.h"

#include "application/GameState.h"
#include "application/Main.h"
#include "event/MissionEndedEvent.h"
#include "game/BaggageCart.h"
#include "game/GameCore.h"
#include "game/MiniGameTrigger.h"
#include "game/MissionData.h"
#include "minigames/BaggageState.h"
#include "minigames/CateringState.h"
#include "minigames/PumpState.h"
#include "minigames/RepairState.h"

#include <event/KeyEvent.h>

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSceneNode.h>
#include <event/Manager.h>
#include <game/Trigger.h>
#include <game/Vehicle.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>


namespace game {

const double Autopilot::kCruiseSpeed = 11.0;
const double Autopilot::kTurnSpeed = 3.0;
const double Autopilot::kReverseSpeed = 2.5;
const double Autopilot::kParkBraking = 1.2;
const double Autopilot::kParkDistance = 0.3;
const double Autopilot::kParkSpeed = 0.15;
const double Autopilot::kStuckSeconds = 2.0;
const int Autopilot::kMaxManoeuvres = 4;
const int Autopilot::kMaxRecoveries = 3;

namespace {

const double kPi = 3.14159265358979323846;
// Steering wanted per radian of heading error.
const double kSteerGain = 2.0;
// Between these heading errors the vehicle slows from cruising to turning speed.
const double kGentleTurn = 0.1;
const double kSharpTurn = 0.5;
// Steering is limited above this speed (m/s), in proportion.
const double kFullLockSpeed = 4.5;
// Speed this close to a waypoint (m, m/s).
const double kApproachDistance = 12.0;
const double kApproachSpeed = 4.5;
// A target this far behind and this close is reached backwards.
const double kReverseAngle = 1.9;
const double kReverseDistance = 9.0;
// The vehicles turn on about this radius at full lock (m); a turn back ends this far outside it.
const double kTurnRadius = 7.5;
const double kTurnMargin = 1.5;
const double kWaypointReach = 4.0;
// A zone's centre this little inside the circle is met by braking short of it, not by backing round.
const double kParkReach = 1.0;
// Backing round ends once the target lies within this heading error.
const double kTurnedAngle = 1.5;
// Going on to a reached waypoint's centre ends this close to it (m) or after this long (s).
const double kCarryOnReach = 3.0;
const double kCarryOnSeconds = 6.0;
// Below this speed (m/s) a vehicle pushing against something counts as not moving.
const double kStandstill = 0.3;
const double kSpeedBand = 0.3;
// The chassis' up axis below this height counts as lying on its side or roof.
const double kUpright = 0.5;
const double kUpsideDownSeconds = 1.0;
const double kManoeuvreSeconds = 3.0;
// Headway: the distance must shrink by this much (m) within kNoProgressSeconds.
const double kHeadway = 1.0;
const double kNoProgressSeconds = 12.0;
// Parking that comes no closer for this long is confirmed as it stands.
const double kParkPatience = 15.0;
const double kConfirmRepeat = 0.5;
// Waiting for the game to start, and the most game time one mission may take.
const double kStartSeconds = 30.0;
const double kMaxGameSeconds = 1800.0;

void queueKey(event::KeyEvent::EKeyEventType type, OIS::KeyCode key) {
    if (event::Manager* events = event::Manager::getSingleton())
        events->QueueEvent(new event::KeyEvent(type, key));
}

} // namespace

Autopilot::Autopilot() {
    if (event::Manager* events = event::Manager::getSingleton())
        events->AddListener(*this, event::MissionEndedEvent::kEventType);
}

Autopilot::~Autopilot() {
    if (event::Manager* events = event::Manager::getSingleton())
        events->RemoveListener(*this, event::MissionEndedEvent::kEventType);
}

bool Autopilot::HandleEvent(const event::IEvent& event) {
    if (event.event_type() != event::MissionEndedEvent::kEventType)
        return false;
    const auto& ended = static_cast<const event::MissionEndedEvent&>(event);
    m_ended = true;
    m_score = ended.score();
    m_mission = ended.mission();
    GameCore* core = GameCore::getSingleton();
    const Vehicle* vehicle = core ? core->current_vehicle() : nullptr;
    if (vehicle && vehicle->chassis_entity() && vehicle->chassis_entity()->getParentSceneNode())
        m_endPose = FormatPosition(vehicle->chassis_entity()->getParentSceneNode()->_getDerivedPosition());
    return false;
}

std::string Autopilot::FormatPosition(const Ogre::Vector3& position) {
    char text[96];
    std::snprintf(text, sizeof(text), "%.4f %.4f %.4f", position.x, position.y, position.z);
    return text;
}

std::string Autopilot::Summary() const {
    char line[256];
    const int mission = m_mission;
    switch (m_outcome) {
    case kCompleted:
        std::snprintf(line, sizeof(line), "mission %d completed: score %u, least time left %.1f s at step %zu", mission,
                      m_score, m_leastTimeLeft, m_leastTimeStep);
        break;
    case kRunning:
        std::snprintf(line, sizeof(line), "mission %d not finished: the game was closed at step %zu", mission,
                      m_step + 1);
        break;
    default:
        std::snprintf(line, sizeof(line), "mission %d failed: %s", mission, m_reason.c_str());
        break;
    }
    return line;
}

void Autopilot::Fail(EOutcome outcome, const std::string& reason) {
    ReleaseAll();
    m_outcome = outcome;
    m_reason = reason;
}

void Autopilot::Trace(const std::string& what, const Vehicle* vehicle) const {
    if (!m_trace)
        return;
    char line[256];
    const Ogre::Vector3 at = vehicle ? vehicle->GetPosition() : Ogre::Vector3::ZERO;
    std::snprintf(line, sizeof(line), "autopilot %7.2f s step %zu at (%.1f, %.1f, %.1f): ", m_gameTime, m_step + 1,
                  at.x, at.y, at.z);
    std::cerr << line << what << std::endl;
}

void Autopilot::Update(double seconds) {
    if (m_outcome != kRunning)
        return;
    application::Main* app = application::Main::getSingleton();
    application::IApplicationState* state = app ? app->CurrentState() : nullptr;
    GameCore* core = GameCore::getSingleton();
    MissionData* mission = core ? core->mission_data() : nullptr;
    if (m_mission < 0 && core)
        m_mission = core->mission_number();
    if (state != m_state) {
        // From driving to a mini-game and back every key starts released.
        ReleaseAll();
        m_state = state;
    }

    if (dynamic_cast<application::GameState*>(state)) {
        if (!m_started) {
            if (!mission || !mission->IsPlayable()) {
                Fail(kLoadFailed, "the mission failed to load");
                return;
            }
            m_started = true;
            m_mission = mission->mission_number();
            m_maxRecoveries = kMaxRecoveries * static_cast<int>(mission->steps().size());
            m_step = mission->current_step();
            m_leastTimeLeft = mission->remaining_time();
            RestartHeadway();
        }
        m_gameTime += seconds;
        if (m_ended) {
            ReleaseAll();
            m_outcome = kCompleted;
            return;
        }
        TrackStep(*mission);
        const size_t step = mission->current_step();
        if (step >= mission->steps().size() || mission->steps()[step].kind != MissionData::kReachTrigger) {
            ReleaseAll();
            return;
        }
        if (!(mission->remaining_time() > 0.0)) {
            Fail(kTimeUp, "time ran out at step " + std::to_string(step + 1));
            return;
        }
        Vehicle* vehicle = core->current_vehicle();
        if (!vehicle) {
            Fail(kLoadFailed, "the mission has no vehicle");
            return;
        }
        Drive(*vehicle, *mission, seconds);
    } else if (auto* catering = dynamic_cast<application::CateringState*>(state)) {
        m_gameTime += seconds;
        PlayCatering(*catering);
    } else if (auto* repair = dynamic_cast<application::RepairState*>(state)) {
        m_gameTime += seconds;
        PlayRepair(*repair);
    } else if (dynamic_cast<application::BaggageState*>(state)) {
        m_gameTime += seconds;
        PlayBaggage();
    } else if (auto* pump = dynamic_cast<application::PumpState*>(state)) {
        m_gameTime += seconds;
        PlayPump(*pump);
    } else if (m_started) {
        // Back at a menu without the mission's end.
        Fail(kLoadFailed, "the game left the mission at step " + std::to_string(m_step + 1));
        return;
    } else {
        m_gameTime += seconds;
        if (m_gameTime > kStartSeconds)
            Fail(kLoadFailed, "the mission did not start");
        return;
    }
    if (m_gameTime > kMaxGameSeconds && m_outcome == kRunning)
        Fail(kGaveUp, "not finished after " + std::to_string(static_cast<int>(kMaxGameSeconds)) +
                          " s of game time, at step " + std::to_string(m_step + 1));
}

void Autopilot::TrackStep(const MissionData& mission) {
    const size_t current = mission.current_step();
    if (current != m_step) {
        const auto& steps = mission.steps();
        if (m_step < steps.size() && steps[m_step].kind == MissionData::kReachTrigger) {
            MissionData::TriggerInfo info;
            const double limit = mission.GetTriggerInfo(steps[m_step].name, info) ? info.time : 0.0;
            const double share = limit > 0.0 ? m_lastRemaining / limit : 1.0;
            if (m_leastTimeStep == 0 || m_lastRemaining < m_leastTimeLeft) {
                m_leastTimeLeft = m_lastRemaining;
                m_leastTimeStep = m_step + 1;
            }
            m_leastShare = std::min(m_leastShare, share);
        }
        ReleaseAll();
        // A waypoint right after a mini-game: finish the way onto its road first.
        m_carryOn = false;
        if (m_step >= 1 && m_step < steps.size() && steps[m_step - 1].kind == MissionData::kPlayMiniGame &&
            steps[m_step].kind == MissionData::kReachTrigger) {
            if (Trigger* reached = mission.trigger(steps[m_step].name)) {
                m_carryOn = true;
                m_carryOnPoint = reached->GetPosition();
                m_carryOnTime = 0.0;
            }
        }
        char note[160];
        std::snprintf(note, sizeof(note), "done with %.1f s left; next: %s", m_lastRemaining,
                      current < mission.steps().size() ? mission.steps()[current].name.c_str() : "the end");
        if (GameCore* core = GameCore::getSingleton())
            Trace(note, core->current_vehicle());
        m_step = current;
        RestartHeadway();
        m_stuckTime = 0.0;
        m_manoeuvreTime = 0.0;
        m_manoeuvres = 0;
        m_turningBack = false;
        m_confirmWait = 0.0;
        m_parkedTime = 0.0;
    }
    m_lastRemaining = mission.remaining_time();
}

void Autopilot::Drive(Vehicle& vehicle, const MissionData& mission, double seconds) {
    const MissionData::Step& step = mission.steps()[mission.current_step()];
    const bool parkingStep = dynamic_cast<const MiniGameTrigger*>(mission.trigger(step.name)) != nullptr;

    Ogre::Vector3 nose = -vehicle.GetDirection();
    nose.y = 0;
    nose.normalise();
    // Out of a parking zone the waypoint's box is touched from the stand; the
    // road lies at its centre, so the vehicle goes there before it turns.
    Ogre::Vector3 target = mission.GetTargetPosition();
    bool parking = parkingStep;
    if (m_carryOn) {
        m_carryOnTime += seconds;
        Ogre::Vector3 left = m_carryOnPoint - vehicle.GetPosition();
        left.y = 0;
        if (left.length() < kCarryOnReach || m_carryOnTime > kCarryOnSeconds) {
            // Headway now counts toward the step's own target.
            m_carryOn = false;
            RestartHeadway();
        } else {
            target = m_carryOnPoint;
            parking = false;
        }
    }
    Ogre::Vector3 toTarget = target - vehicle.GetPosition();
    toTarget.y = 0;
    const double distance = toTarget.length();
    const double speed = vehicle.GetVelocity().dotProduct(nose);
    // Positive when the target lies to the left.
    const double angle = std::atan2(nose.z * toTarget.x - nose.x * toTarget.z, nose.dotProduct(toTarget));

    // On its side or roof: the player's way out is the reset key.
    if (vehicle.GetUp().y < kUpright) {
        m_upsideDownTime += seconds;
        if (m_upsideDownTime > kUpsideDownSeconds) {
            m_upsideDownTime = 0.0;
            PressReset(vehicle, "overturned");
        }
        return;
    }
    m_upsideDownTime = 0.0;
    if (m_trace >= 2 && std::fmod(m_gameTime, 0.25) < seconds) {
        char state[192];
        std::snprintf(state, sizeof(state),
                      "speed %.1f, steering %.2f, target (%.1f, %.1f) at %.1f m, %.2f rad%s%s%s", speed,
                      vehicle.steering(), target.x, target.z, distance, angle, m_held.count(OIS::KC_UP) ? ", Up" : "",
                      m_held.count(OIS::KC_DOWN) ? ", Down" : "", m_turningBack ? ", backing round" : "");
        Trace(state, &vehicle);
    }

    // Headway toward the target; without it, back off, then reset, then give up.
    if (distance < m_bestDistance - kHeadway || (parking && distance < kHeadway)) {
        m_bestDistance = std::min(m_bestDistance, distance);
        m_noProgressTime = 0.0;
    } else {
        m_noProgressTime += seconds;
    }
    if (m_noProgressTime > kNoProgressSeconds) {
        m_noProgressTime = 0.0;
        m_bestDistance = distance;
        PressReset(vehicle, "stuck");
        return;
    }
    if (Unstick(vehicle, speed, angle, seconds))
        return;

    if (parking && distance < kHeadway * 3.0)
        m_parkedTime += seconds;
    if (parking && ((distance < kParkDistance && std::abs(speed) < kParkSpeed) || m_parkedTime > kParkPatience)) {
        Pedals(false, false);
        Steer(vehicle, 0.0);
        if (m_confirmWait <= 0.0) {
            Tap(OIS::KC_SPACE);
            Trace("confirms parking at " + std::to_string(distance) + " m", &vehicle);
            m_confirmWait = kConfirmRepeat;
        }
        m_confirmWait -= seconds;
        return;
    }

    // Speed that still stops at the zone's centre.
    const double stopping = parking ? std::sqrt(2.0 * kParkBraking * std::max(0.0, distance - 0.5 * kParkDistance))
                                    : kCruiseSpeed;
    // A trailer jackknifes when pushed: towing, the vehicle only turns forward.
    const auto* cart = dynamic_cast<const BaggageCart*>(&vehicle);
    const bool towing = cart && cart->trailer();
    if (towing) {
        m_turningBack = false;
    } else if (std::abs(angle) > kReverseAngle && distance < kReverseDistance) {
        const double tailAngle = angle > 0.0 ? angle - kPi : angle + kPi;
        Steer(vehicle, -kSteerGain * tailAngle);
        Throttle(speed, -std::min(kReverseSpeed, stopping));
        return;
    }
    // A target inside the turning circle cannot be reached going forward:
    // back up on the opposite lock, which swings the nose toward it.
    const double ahead = nose.dotProduct(toTarget);
    const double aside = std::abs(nose.z * toTarget.x - nose.x * toTarget.z);
    const double offCircle = std::hypot(aside - kTurnRadius, ahead) - kTurnRadius;
    // A waypoint counts as reached at its box's edge, a parking zone near its centre.
    // A target far behind is turned to the same way: backing out of a stand
    // goes where the vehicle came from, clear of the aircraft.
    if (towing)
        m_turningBack = false;
    else if (offCircle < (parking ? -kParkReach : -kWaypointReach) || std::abs(angle) > kReverseAngle)
        m_turningBack = true;
    else if (offCircle > kTurnMargin && std::abs(angle) < kTurnedAngle)
        m_turningBack = false;
    if (m_turningBack) {
        Steer(vehicle, angle > 0.0 ? -vehicle.steering_clamp() : vehicle.steering_clamp());
        Throttle(speed, -kTurnSpeed);
        return;
    }
    // Full lock only at low speed: a tall truck rolls over in a sharp turn at speed.
    const double lock = std::min(1.0, kFullLockSpeed / std::max(std::abs(speed), 0.1));
    Steer(vehicle, std::clamp(kSteerGain * angle, -lock * vehicle.steering_clamp(), lock * vehicle.steering_clamp()));
    // Slow for turns, and before a waypoint, whose next target may lie round a corner.
    const double turn = std::clamp((std::abs(angle) - kGentleTurn) / (kSharpTurn - kGentleTurn), 0.0, 1.0);
    double wanted = kCruiseSpeed + (kTurnSpeed - kCruiseSpeed) * turn;
    if (!parking && distance < kApproachDistance)
        wanted = std::min(wanted, kApproachSpeed);
    Throttle(speed, std::min(wanted, stopping));
}

void Autopilot::RestartHeadway() {
    m_bestDistance = 1e9;
    m_noProgressTime = 0.0;
}

bool Autopilot::Unstick(Vehicle& vehicle, double speed, double angle, double seconds) {
    if (m_manoeuvreTime > 0.0) {
        m_manoeuvreTime -= seconds;
        Steer(vehicle, m_manoeuvreSteering);
        const bool going = m_manoeuvreTime > 0.0;
        Pedals(going && !m_manoeuvreBackward, going && m_manoeuvreBackward);
        return true;
    }
    const bool forward = m_held.count(OIS::KC_UP) != 0;
    const bool backward = m_held.count(OIS::KC_DOWN) != 0 && speed < kStandstill;
    if ((forward || backward) && std::abs(speed) < kStandstill)
        m_stuckTime += seconds;
    else
        m_stuckTime = 0.0;
    if (m_stuckTime < kStuckSeconds)
        return false;
    m_stuckTime = 0.0;
    if (++m_manoeuvres > kMaxManoeuvres) {
        m_manoeuvres = 0;
        PressReset(vehicle, "stuck");
        return true;
    }
    // Away from whatever holds it: the other way, turning the nose toward the target.
    m_manoeuvreBackward = forward;
    m_manoeuvreSteering = (forward ? -1.0 : 1.0) * (angle > 0.0 ? 1.0 : -1.0) * vehicle.steering_clamp();
    m_manoeuvreTime = kManoeuvreSeconds;
    Trace(forward ? "stuck, backs off" : "stuck, pulls forward", &vehicle);
    return true;
}

void Autopilot::PressReset(const Vehicle& vehicle, const std::string& state) {
    if (++m_recoveries > m_maxRecoveries) {
        Fail(kStuck, "the vehicle is " + state + " at step " + std::to_string(m_step + 1));
        return;
    }
    ReleaseAll();
    Tap(OIS::KC_R);
    Trace(state + ", reset", &vehicle);
}

void Autopilot::Steer(const Vehicle& vehicle, double wanted) {
    const double limit = vehicle.steering_clamp();
    wanted = std::clamp(wanted, -limit, limit);
    // Within one pass's steering change of the wanted angle the wheels stay.
    const double tolerance = vehicle.steering_increment() / 60.0;
    const double now = vehicle.steering();
    Hold(OIS::KC_LEFT, wanted > now + tolerance);
    Hold(OIS::KC_RIGHT, wanted < now - tolerance);
}

void Autopilot::Throttle(double speed, double wanted) {
    Pedals(speed < wanted - kSpeedBand, speed > wanted + kSpeedBand);
}

void Autopilot::Pedals(bool up, bool down) {
    // Letting go of either arrow cuts the engine, so the releases go first.
    if (!up)
        Hold(OIS::KC_UP, false);
    if (!down)
        Hold(OIS::KC_DOWN, false);
    Hold(OIS::KC_UP, up);
    Hold(OIS::KC_DOWN, down);
}

void Autopilot::PlayCatering(const application::CateringState& game) {
    using application::CateringState;
    const double value = game.value();
    switch (game.phase()) {
    case CateringState::kRaise: {
        // Stop a quarter into the door zone; each pass lifts it by a sixtieth of the lift speed.
        const double aim = CateringState::kZoneLow + 0.25 * (CateringState::kZoneHigh - CateringState::kZoneLow);
        Pedals(value < aim, value >= CateringState::kZoneHigh);
        if (value > CateringState::kZoneLow && value < CateringState::kZoneHigh)
            Tap(OIS::KC_SPACE);
        break;
    }
    case CateringState::kLoad:
        Pedals(false, false);
        Tap(m_lastTap == OIS::KC_LEFT ? OIS::KC_RIGHT : OIS::KC_LEFT);
        break;
    default:
        Pedals(false, true);
        break;
    }
}

void Autopilot::PlayRepair(const application::RepairState& game) {
    using application::RepairState;
    // A margin inside the green zone: the needle moves on before the key lands.
    const double margin = 0.1 * (RepairState::kZoneHigh - RepairState::kZoneLow);
    const double value = game.value();
    if (value > RepairState::kZoneLow + margin && value < RepairState::kZoneHigh - margin)
        Tap(OIS::KC_SPACE);
}

void Autopilot::PlayBaggage() {
    Tap(m_lastTap == OIS::KC_LEFT ? OIS::KC_RIGHT : OIS::KC_LEFT);
}

void Autopilot::PlayPump(const application::PumpState& game) {
    using application::PumpState;
    // Released, the level runs down at kLevelRate and still pumps
    // flow * level² / (2 * rate) on the way: let go once that reaches the target.
    const double level = game.level();
    const double coming = PumpState::kFlow * level * level / (2.0 * PumpState::kLevelRate);
    Hold(OIS::KC_UP, game.amount() + coming < PumpState::kTarget + 2.0);
}

void Autopilot::Hold(OIS::KeyCode key, bool held) {
    const bool isHeld = m_held.count(key) != 0;
    if (held == isHeld)
        return;
    if (held)
        m_held.insert(key);
    else
        m_held.erase(key);
    queueKey(held ? event::KeyEvent::KEY_PRESSED : event::KeyEvent::KEY_RELEASED, key);
}

void Autopilot::Tap(OIS::KeyCode key) {
    Hold(key, false);
    queueKey(event::KeyEvent::KEY_PRESSED, key);
    queueKey(event::KeyEvent::KEY_RELEASED, key);
    m_lastTap = key;
}

void Autopilot::ReleaseAll() {
    while (!m_held.empty())
        Hold(*m_held.begin(), false);
}

} // namespace game
