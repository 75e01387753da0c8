#pragma once

#include "application/IApplicationState.h"

#include <event/IListener.h>

#include <memory>

namespace base {
class StringHash;
}
namespace game {
class GameCore;
class GhostRun;
class ReplayPlayer;
class RunRecorder;
} // namespace game
namespace sound {
class Sound;
}
namespace ui {
class HUDDirection;
class HUDScore;
class HUDSpeed;
class HUDTime;
class ReplayBar;
} // namespace ui

namespace application {

// The state in which the player drives: a mission or a free drive. Owns the
// game core and adds the sounds, the heads-up display and the keys for the
// next vehicle and the in-game menu.
class GameState : public IApplicationState, private event::IListener {
public:
    // Longer frames (loading, a stalled window) count as this much, so the
    // mission clock and the physics never take a leap.
    static const double kMaxFrameSeconds;

    GameState();
    virtual ~GameState();

    GameState(const GameState&) = delete;
    GameState& operator=(const GameState&) = delete;

    bool Init() override;
    void Enter() override;
    void Exit() override;
    bool Pause() override;
    void Resume() override;
    void Update(double seconds) override;

    const char* Name() override { return "GameState"; }
    bool HandleEvent(const event::IEvent& event) override;

    game::GameCore* game_core() const { return m_gameCore.get(); }
    sound::Sound* mood_sound() const { return m_moodSound.get(); }
    sound::Sound* music() const { return m_music.get(); }
    ui::HUDSpeed* hud_speed() const { return m_hudSpeed; }
    ui::HUDScore* hud_score() const { return m_hudScore; }
    ui::HUDTime* hud_time() const { return m_hudTime; }
    ui::HUDDirection* hud_direction() const { return m_hudDirection; }
    bool IsMissionEnded() const { return m_missionEnded; }
    // While a replay is watched: its player; null in a run.
    game::ReplayPlayer* replay_player() const { return m_player.get(); }
    ui::ReplayBar* replay_bar() const { return m_replayBar; }
    // The best run's ghost, null without one; the run being recorded.
    game::GhostRun* ghost() const { return m_ghost.get(); }
    game::RunRecorder* recorder() const { return m_recorder.get(); }
    // The mission clock: game time given to the core since the start.
    double mission_clock() const { return m_missionClock; }
    event::IListener& listener() { return *this; }

private:
    void OpenHUD(bool mission);
    void CloseHUD();
    void ListenForKeys(bool listen);
    void ListenForMissionEnd(bool listen);
    bool HandleKey(const event::IEvent& event);
    // A run: its recording and the best run's ghost.
    void BeginRun();
    // Watching the file the menus named; false when it cannot be played.
    bool BeginWatching(const std::string& path);
    void UpdateWatching(double seconds);
    bool HandleWatchingKey(const event::IEvent& event);
    void EndWatching();

    std::unique_ptr<game::GameCore> m_gameCore;
    // Open HUD displays; each closes itself, the state only forgets it.
    ui::HUDSpeed* m_hudSpeed = nullptr;
    ui::HUDScore* m_hudScore = nullptr;
    ui::HUDTime* m_hudTime = nullptr;
    ui::HUDDirection* m_hudDirection = nullptr;
    std::unique_ptr<sound::Sound> m_moodSound;
    std::unique_ptr<sound::Sound> m_music;

    std::unique_ptr<game::RunRecorder> m_recorder;
    std::unique_ptr<game::GhostRun> m_ghost;
    std::unique_ptr<game::ReplayPlayer> m_player;
    ui::ReplayBar* m_replayBar = nullptr;
    double m_missionClock = 0.0;

    bool m_missionEnded = false;
    bool m_keysListened = false;
    bool m_endListened = false;
};

} // namespace application
