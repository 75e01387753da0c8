#include <event/ApplicationStateEvent.h>
#include <event/DialogEvent.h>
#include <event/IListener.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <event/UIEvent.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Counts live events so the tests can see what the manager destroys.
struct CountedEvent : event::IEvent {
    static const base::StringHash kEventType;
    static int s_alive;
    explicit CountedEvent(int id) : id(id) { ++s_alive; }
    CountedEvent(const CountedEvent& o) : event::IEvent(o), id(o.id) { ++s_alive; }
    ~CountedEvent() override { --s_alive; }
    const base::StringHash& event_type() const override { return kEventType; }
    int id;
};
const base::StringHash CountedEvent::kEventType("counted_event");
int CountedEvent::s_alive = 0;

struct Recorder : event::IListener {
    Recorder(std::string name, std::vector<std::string>& log) : name(std::move(name)), log(log) {}
    const char* Name() override { return name.c_str(); }
    bool HandleEvent(const event::IEvent& ev) override {
        std::string entry = name;
        if (ev.event_type() == CountedEvent::kEventType)
            entry += ":" + std::to_string(static_cast<const CountedEvent&>(ev).id);
        log.push_back(entry);
        if (onEvent)
            onEvent();
        return consume;
    }
    std::string name;
    std::vector<std::string>& log;
    bool consume = false;
    std::function<void()> onEvent;
};

class EventManagerTest : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(CountedEvent::s_alive, 0) << "events leaked or destroyed twice"; }
    event::Manager manager;
    std::vector<std::string> log;
};

TEST_F(EventManagerTest, DeliversInRegistrationOrderUntilConsumed) {
    Recorder a("a", log), b("b", log), c("c", log);
    manager.AddListener(a, CountedEvent::kEventType);
    manager.AddListener(b, CountedEvent::kEventType);
    manager.AddListener(c, CountedEvent::kEventType);
    b.consume = true;
    EXPECT_TRUE(manager.Fire(CountedEvent(1)));
    EXPECT_EQ(log, (std::vector<std::string>{"a:1", "b:1"}));
}

TEST_F(EventManagerTest, DoubleRegistrationCountsOnce) {
    Recorder a("a", log);
    manager.AddListener(a, CountedEvent::kEventType);
    manager.AddListener(a, CountedEvent::kEventType);
    manager.Fire(CountedEvent(1));
    EXPECT_EQ(log.size(), 1u);
    EXPECT_TRUE(manager.RemoveListener(a, CountedEvent::kEventType));
    EXPECT_FALSE(manager.RemoveListener(a, CountedEvent::kEventType));
    manager.Fire(CountedEvent(2));
    EXPECT_EQ(log.size(), 1u);
}

TEST_F(EventManagerTest, EventsWithoutListenersAreDroppedAtOnce) {
    Recorder a("a", log);
    manager.AddListener(a, CountedEvent::kEventType);
    manager.RemoveListener(a, CountedEvent::kEventType);
    manager.QueueEvent(new CountedEvent(1));
    EXPECT_EQ(CountedEvent::s_alive, 0);
    manager.Fire(CountedEvent(2));
    manager.Tick();
    EXPECT_TRUE(log.empty());
}

TEST_F(EventManagerTest, QueuedEventsArriveNextTickInOrderAcrossTypes) {
    Recorder counted("counted", log), dialog("dialog", log);
    manager.AddListener(counted, CountedEvent::kEventType);
    manager.AddListener(dialog, event::DialogEvent::kEventType);
    manager.QueueEvent(new CountedEvent(1));
    manager.QueueEvent(new event::DialogEvent(base::StringHash("MainMenu")));
    manager.QueueEvent(new CountedEvent(2));
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(manager.Tick());
    EXPECT_EQ(log, (std::vector<std::string>{"counted:1", "dialog", "counted:2"}));
    EXPECT_TRUE(manager.Tick()); // both queues empty now
    EXPECT_EQ(log.size(), 3u);
}

TEST_F(EventManagerTest, EventQueuedDuringTickWaitsForTheNextTick) {
    Recorder a("a", log);
    bool queuedOnce = false;
    a.onEvent = [&] {
        if (!queuedOnce) {
            queuedOnce = true;
            manager.QueueEvent(new CountedEvent(2));
        }
    };
    manager.AddListener(a, CountedEvent::kEventType);
    manager.QueueEvent(new CountedEvent(1));
    manager.Tick();
    EXPECT_EQ(log, (std::vector<std::string>{"a:1"}));
    manager.Tick();
    EXPECT_EQ(log, (std::vector<std::string>{"a:1", "a:2"}));
}

TEST_F(EventManagerTest, AbortRemovesOnlyPendingEventsOfThatType) {
    Recorder counted("counted", log), ui("ui", log);
    manager.AddListener(counted, CountedEvent::kEventType);
    manager.AddListener(ui, event::UIEvent::kEventType);
    manager.QueueEvent(new CountedEvent(1));
    manager.QueueEvent(new event::UIEvent(event::UIEvent::TOGGLE_GUI));
    manager.QueueEvent(new CountedEvent(2));
    manager.QueueEvent(new event::UIEvent(event::UIEvent::TOGGLE_GUI));
    EXPECT_TRUE(manager.AbortEvent(CountedEvent::kEventType, true));
    EXPECT_EQ(CountedEvent::s_alive, 0);
    manager.Tick();
    EXPECT_EQ(log, (std::vector<std::string>{"ui", "ui"}));
}

TEST_F(EventManagerTest, RemovalsDuringDeliveryAreSafe) {
    Recorder a("a", log), b("b", log), c("c", log), d("d", log);
    for (Recorder* r : {&a, &b, &c, &d})
        manager.AddListener(*r, CountedEvent::kEventType);

    // a removes itself, b removes d (not reached yet): c still runs, d does not.
    a.onEvent = [&] { manager.RemoveListener(a, CountedEvent::kEventType); };
    b.onEvent = [&] { manager.RemoveListener(d, CountedEvent::kEventType); };
    manager.Fire(CountedEvent(1));
    EXPECT_EQ(log, (std::vector<std::string>{"a:1", "b:1", "c:1"}));

    // The last listeners of the type remove everything while the queue is delivered.
    log.clear();
    b.onEvent = [&] {
        manager.RemoveListener(b, CountedEvent::kEventType);
        manager.RemoveListener(c, CountedEvent::kEventType);
    };
    manager.QueueEvent(new CountedEvent(2));
    manager.QueueEvent(new CountedEvent(3));
    manager.Tick();
    EXPECT_EQ(log, (std::vector<std::string>{"b:2"}));
    // The type has no listener any more: new events are dropped.
    manager.QueueEvent(new CountedEvent(4));
    EXPECT_EQ(CountedEvent::s_alive, 0);
}

TEST_F(EventManagerTest, DestructorFreesPendingEvents) {
    Recorder a("a", log);
    {
        event::Manager local;
        local.AddListener(a, CountedEvent::kEventType);
        local.QueueEvent(new CountedEvent(1));
        EXPECT_EQ(CountedEvent::s_alive, 1);
    }
    EXPECT_TRUE(log.empty());
}

TEST(EngineEvents, CarryTheirValues) {
    event::KeyEvent key(event::KeyEvent::KEY_RELEASED, OIS::KC_ESCAPE);
    EXPECT_EQ(key.key(), OIS::KC_ESCAPE);
    EXPECT_EQ(key.event_type(), event::KeyEvent::kEventType);
    event::ApplicationStateEvent state(event::ApplicationStateEvent::PUSH_STATE, "GameState");
    EXPECT_EQ(state.type(), event::ApplicationStateEvent::PUSH_STATE);
    EXPECT_EQ(state.state(), "GameState");
    EXPECT_STREQ(event::ApplicationStateEvent::kEventType.string(), "application_state_event");
}

} // namespace
