#include "MiniGameFixture.h"

#include <event/Manager.h>
#include <event/MiniGameEvent.h>
#include <event/ScoreEvent.h>

#include <cmath>

bool ResultLog::HandleEvent(const event::IEvent& event) {
    if (event.event_type() == event::ScoreEvent::kEventType) {
        scores.push_back(static_cast<const event::ScoreEvent&>(event).value());
        order.push_back("score");
    } else if (event.event_type() == event::MiniGameEvent::kEventType) {
        const auto& result = static_cast<const event::MiniGameEvent&>(event);
        EXPECT_EQ(result.first(), 0u);
        games.push_back(result.game());
        order.push_back("game");
    }
    return false;
}

uint64_t ResultLog::ScoreSum() const {
    uint64_t sum = 0;
    for (uint32_t score : scores)
        sum += score;
    return sum;
}

void MiniGameTest::SetUp() {
    m_world = &UiWorld::get();
    ASSERT_TRUE(m_world->ready);
    m_app = new application::Main();
    m_ground = new GroundState();
    m_app->AddState("GameState", m_ground);
    m_app->ChangeState("GameState");
    m_world->events->AddListener(m_results, event::ScoreEvent::kEventType);
    m_world->events->AddListener(m_results, event::MiniGameEvent::kEventType);
}

void MiniGameTest::TearDown() {
    Deliver();
    m_world->events->RemoveListener(m_results, event::ScoreEvent::kEventType);
    m_world->events->RemoveListener(m_results, event::MiniGameEvent::kEventType);
    delete m_app;
    m_app = nullptr;
    Settle();
}

void MiniGameTest::Push(const std::string& name, application::IApplicationState* state) {
    m_app->AddState(name, state);
    ASSERT_TRUE(m_app->PushState(name));
}

void MiniGameTest::Press(OIS::KeyCode key) {
    m_world->events->Fire(event::KeyEvent(event::KeyEvent::KEY_PRESSED, key));
}

void MiniGameTest::Release(OIS::KeyCode key) {
    m_world->events->Fire(event::KeyEvent(event::KeyEvent::KEY_RELEASED, key));
}

void MiniGameTest::Tap(OIS::KeyCode key) {
    Press(key);
    Release(key);
}

void MiniGameTest::Run(double seconds, double step) {
    const long steps = std::lround(seconds / step);
    for (long i = 0; i < steps; ++i)
        Step(step);
}

void MiniGameTest::Step(double seconds) {
    if (application::IApplicationState* state = m_app->CurrentState())
        state->Update(seconds);
}

void MiniGameTest::Deliver() {
    m_world->events->Tick();
    m_world->events->Tick();
}

bool MiniGameTest::IsCurrent(application::IApplicationState* state) const {
    return m_app->CurrentState() == state;
}

void MiniGameTest::Settle() {
    m_world->advance(1.0f, 10);
}
