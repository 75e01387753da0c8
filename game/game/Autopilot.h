#pragma once

#include <event/IListener.h>

#include <OGRE/OgreVector.h>
#include <OISKeyboard.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

namespace application {
class IApplicationState;
class BaggageState;
class CateringState;
class PumpState;
class RepairState;
} // namespace application

namespace game {

class MissionData;
class Vehicle;

// Plays the running mission with the player's keys: it steers toward each
// target, parks in the mini-game zones, confirms with Space and plays the
// mini-games. Everything it does goes through the event manager as key
// events, and it looks only at what the screen shows: the target, the
// vehicle's speed and pose, the parking precision and the mini-game panels.
class Autopilot : public event::IListener {
public:
    enum EOutcome : int32_t { kRunning = 0, kCompleted, kTimeUp, kStuck, kLoadFailed, kGaveUp };

    // Driving speeds in m/s and the braking the parking approach plans with, in m/s².
    static const double kCruiseSpeed;
    static const double kTurnSpeed;
    static const double kReverseSpeed;
    static const double kParkBraking;
    // Parked well enough to confirm: this close to the zone centre (m) and this slow (m/s).
    static const double kParkDistance;
    static const double kParkSpeed;
    // Seconds without headway before the autopilot backs off, and how often
    // it may back off or put the vehicle on its wheels before it gives up.
    static const double kStuckSeconds;
    static const int kMaxManoeuvres;
    static const int kMaxRecoveries;

    Autopilot();
    ~Autopilot() override;

    Autopilot(const Autopilot&) = delete;
    Autopilot& operator=(const Autopilot&) = delete;

    // One pass of the game loop of `seconds` game time; the keys it queues
    // reach the game at the next pass, as a keyboard's would.
    void Update(double seconds);

    const char* Name() override { return "Autopilot"; }
    bool HandleEvent(const event::IEvent& event) override;

    EOutcome outcome() const { return m_outcome; }
    bool IsFinished() const { return m_outcome != kRunning; }
    // The one line that tells how the run went.
    std::string Summary() const;

    int32_t mission() const { return m_mission; }
    uint32_t score() const { return m_score; }
    // Where the player's chassis stood as the mission ended ("x y z").
    const std::string& end_pose() const { return m_endPose; }
    // A position as the reports print it, to a tenth of a millimetre.
    static std::string FormatPosition(const Ogre::Vector3& position);
    // The least time left when a step's target was reached, and its step (1 = first).
    double least_time_left() const { return m_leastTimeLeft; }
    size_t least_time_step() const { return m_leastTimeStep; }
    // The smallest share of a step's time limit that was left.
    double least_share() const { return m_leastShare; }
    // Game seconds since the mission started.
    double game_time() const { return m_gameTime; }
    int recoveries() const { return m_recoveries; }
    // Level 1 writes each step, manoeuvre and reset to stderr, for tuning a
    // route; level 2 adds the driving state four times a second.
    void set_trace(int level) { m_trace = level; }

private:
    void Fail(EOutcome outcome, const std::string& reason);
    void Trace(const std::string& what, const Vehicle* vehicle) const;
    void TrackStep(const MissionData& mission);
    void Drive(Vehicle& vehicle, const MissionData& mission, double seconds);
    bool Unstick(Vehicle& vehicle, double speed, double angle, double seconds);
    // The player's reset key, until the mission's allowance of resets is used up.
    void PressReset(const Vehicle& vehicle, const std::string& state);
    void Steer(const Vehicle& vehicle, double wanted);
    void Throttle(double speed, double wanted);
    // Up and Down together, as a player moves between them.
    void Pedals(bool up, bool down);

    void PlayCatering(const application::CateringState& game);
    void PlayRepair(const application::RepairState& game);
    void PlayBaggage();
    void PlayPump(const application::PumpState& game);

    // A new target: the distance to it starts the headway count afresh.
    void RestartHeadway();

    void Hold(OIS::KeyCode key, bool held);
    void Tap(OIS::KeyCode key);
    void ReleaseAll();

    EOutcome m_outcome = kRunning;
    std::string m_reason;
    int32_t m_mission = -1;
    uint32_t m_score = 0;
    bool m_started = false;
    bool m_ended = false;
    std::string m_endPose;
    int m_trace = 0;
    double m_gameTime = 0.0;

    // The step being played and what the clock showed at the last pass.
    size_t m_step = 0;
    double m_lastRemaining = 0.0;
    double m_leastTimeLeft = 0.0;
    size_t m_leastTimeStep = 0;
    double m_leastShare = 1.0;

    // The state played at the last pass: keys are let go when it changes.
    const application::IApplicationState* m_state = nullptr;
    std::set<OIS::KeyCode> m_held;
    OIS::KeyCode m_lastTap = OIS::KC_UNASSIGNED;

    // Stuck handling: time without headway, a running manoeuvre, counts.
    double m_stuckTime = 0.0;
    double m_manoeuvreTime = 0.0;
    bool m_manoeuvreBackward = true;
    double m_manoeuvreSteering = 0.0;
    // After a mini-game: the first waypoint's centre, still to be driven to.
    bool m_carryOn = false;
    Ogre::Vector3 m_carryOnPoint = Ogre::Vector3::ZERO;
    double m_carryOnTime = 0.0;
    // Backing up to bring a target out of the turning circle.
    bool m_turningBack = false;
    double m_upsideDownTime = 0.0;
    double m_bestDistance = 0.0;
    double m_noProgressTime = 0.0;
    int m_manoeuvres = 0;
    int m_recoveries = 0;
    int m_maxRecoveries = 0;
    // Seconds since Space was pressed in a parking zone without the step moving on.
    double m_confirmWait = 0.0;
    double m_parkedTime = 0.0;
};

} // namespace game
