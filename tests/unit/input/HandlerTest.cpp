// The input handler's event mapping, fed with OIS event objects directly.
#include <event/IListener.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <event/MouseEvent.h>
#include <input/Handler.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Recorded {
    bool isKey = false;
    int action = -1;
    int key = 0;
    int button = -99;
    event::MouseEvent::SMouseState state;
};

class Recorder : public event::IListener {
public:
    const char* Name() override { return "Recorder"; }
    bool HandleEvent(const event::IEvent& e) override {
        Recorded r;
        if (e.event_type() == event::KeyEvent::kEventType) {
            const auto& key = static_cast<const event::KeyEvent&>(e);
            r.isKey = true;
            r.action = key.key_event_type();
            r.key = key.key();
        } else if (e.event_type() == event::MouseEvent::kEventType) {
            const auto& mouse = static_cast<const event::MouseEvent&>(e);
            r.action = mouse.mouse_event();
            r.button = mouse.mouse_button();
            r.state = mouse.mouse_state();
        }
        seen.push_back(r);
        return false;
    }
    std::vector<Recorded> seen;
};

class HandlerMapping : public ::testing::Test {
protected:
    void SetUp() override {
        m_events.AddListener(m_recorder, event::KeyEvent::kEventType);
        m_events.AddListener(m_recorder, event::MouseEvent::kEventType);
    }
    void TearDown() override {
        m_events.RemoveListener(m_recorder, event::KeyEvent::kEventType);
        m_events.RemoveListener(m_recorder, event::MouseEvent::kEventType);
    }
    const std::vector<Recorded>& deliver() {
        m_recorder.seen.clear();
        m_events.Tick();
        return m_recorder.seen;
    }

    event::Manager m_events;
    Recorder m_recorder;
    input::Handler m_handler;
};

OIS::MouseState stateAt(int x, int y, int wheel, int dx, int dy, int dwheel) {
    OIS::MouseState state;
    state.width = 1024;
    state.height = 768;
    state.X.abs = x;
    state.Y.abs = y;
    state.Z.abs = wheel;
    state.X.rel = dx;
    state.Y.rel = dy;
    state.Z.rel = dwheel;
    return state;
}

TEST_F(HandlerMapping, KeysArePressedAndReleasedWithTheirCode) {
    EXPECT_TRUE(m_handler.keyPressed(OIS::KeyEvent(nullptr, OIS::KC_UP, 0)));
    EXPECT_TRUE(m_handler.keyReleased(OIS::KeyEvent(nullptr, OIS::KC_UP, 0)));
    EXPECT_TRUE(m_handler.keyPressed(OIS::KeyEvent(nullptr, OIS::KC_SPACE, ' ')));
    // Queued, not fired: nothing arrives before the manager's tick.
    EXPECT_TRUE(m_recorder.seen.empty());

    const auto& seen = deliver();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0].isKey);
    EXPECT_EQ(seen[0].action, event::KeyEvent::KEY_PRESSED);
    EXPECT_EQ(seen[0].key, 200);
    EXPECT_EQ(seen[1].action, event::KeyEvent::KEY_RELEASED);
    EXPECT_EQ(seen[1].key, 200);
    EXPECT_EQ(seen[2].action, event::KeyEvent::KEY_PRESSED);
    EXPECT_EQ(seen[2].key, 57);
}

TEST_F(HandlerMapping, EscapeArrivesOnlyOnRelease) {
    EXPECT_TRUE(m_handler.keyPressed(OIS::KeyEvent(nullptr, OIS::KC_ESCAPE, 27)));
    EXPECT_TRUE(m_handler.keyReleased(OIS::KeyEvent(nullptr, OIS::KC_ESCAPE, 27)));
    const auto& seen = deliver();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(seen[0].isKey);
    EXPECT_EQ(seen[0].action, event::KeyEvent::KEY_RELEASED);
    EXPECT_EQ(seen[0].key, 1);
}

TEST_F(HandlerMapping, LeftAndRightButtonsCarryTheMouseState) {
    const OIS::MouseState state = stateAt(120, 340, 240, -3, 4, 120);
    EXPECT_TRUE(m_handler.mousePressed(OIS::MouseEvent(nullptr, state), OIS::MB_Left));
    EXPECT_TRUE(m_handler.mouseReleased(OIS::MouseEvent(nullptr, state), OIS::MB_Left));
    EXPECT_TRUE(m_handler.mousePressed(OIS::MouseEvent(nullptr, state), OIS::MB_Right));
    EXPECT_TRUE(m_handler.mouseReleased(OIS::MouseEvent(nullptr, state), OIS::MB_Right));

    const auto& seen = deliver();
    ASSERT_EQ(seen.size(), 4u);
    const int actions[] = {event::MouseEvent::MOUSE_PRESSED, event::MouseEvent::MOUSE_RELEASED,
                           event::MouseEvent::MOUSE_PRESSED, event::MouseEvent::MOUSE_RELEASED};
    const int buttons[] = {event::MouseEvent::MOUSE_BUTTON_LEFT, event::MouseEvent::MOUSE_BUTTON_LEFT,
                           event::MouseEvent::MOUSE_BUTTON_RIGHT, event::MouseEvent::MOUSE_BUTTON_RIGHT};
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_FALSE(seen[i].isKey);
        EXPECT_EQ(seen[i].action, actions[i]) << i;
        EXPECT_EQ(seen[i].button, buttons[i]) << i;
        EXPECT_FLOAT_EQ(seen[i].state.abs_x, 120.0f);
        EXPECT_FLOAT_EQ(seen[i].state.abs_y, 340.0f);
        EXPECT_FLOAT_EQ(seen[i].state.abs_z, 240.0f);
        EXPECT_FLOAT_EQ(seen[i].state.rel_x, -3.0f);
        EXPECT_FLOAT_EQ(seen[i].state.rel_y, 4.0f);
        EXPECT_FLOAT_EQ(seen[i].state.rel_z, 120.0f);
    }
}

TEST_F(HandlerMapping, OtherButtonsQueueNothingButKeepDelivery) {
    const OIS::MouseState state = stateAt(1, 2, 0, 0, 0, 0);
    for (OIS::MouseButtonID id : {OIS::MB_Middle, OIS::MB_Button3, OIS::MB_Button4, OIS::MB_Button7}) {
        EXPECT_TRUE(m_handler.mousePressed(OIS::MouseEvent(nullptr, state), id));
        EXPECT_TRUE(m_handler.mouseReleased(OIS::MouseEvent(nullptr, state), id));
    }
    EXPECT_TRUE(deliver().empty());
}

TEST_F(HandlerMapping, MovingQueuesAMoveWithoutButton) {
    EXPECT_TRUE(m_handler.mouseMoved(OIS::MouseEvent(nullptr, stateAt(640, 480, -120, 10, -20, -120))));
    const auto& seen = deliver();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].action, event::MouseEvent::MOUSE_MOVED);
    EXPECT_EQ(seen[0].button, event::MouseEvent::MOUSE_BUTTON_NONE);
    EXPECT_FLOAT_EQ(seen[0].state.abs_x, 640.0f);
    EXPECT_FLOAT_EQ(seen[0].state.abs_y, 480.0f);
    EXPECT_FLOAT_EQ(seen[0].state.abs_z, -120.0f);
    EXPECT_FLOAT_EQ(seen[0].state.rel_x, 10.0f);
    EXPECT_FLOAT_EQ(seen[0].state.rel_y, -20.0f);
    EXPECT_FLOAT_EQ(seen[0].state.rel_z, -120.0f);
}

TEST_F(HandlerMapping, AbsolutePositionIsClippedToTheMouseArea) {
    OIS::MouseState state = stateAt(1500, -20, 0, 700, -40, 0);
    EXPECT_TRUE(m_handler.mouseMoved(OIS::MouseEvent(nullptr, state)));
    state = stateAt(-5, 900, 0, -1505, 920, 0);
    state.width = 800;
    state.height = 600;
    EXPECT_TRUE(m_handler.mousePressed(OIS::MouseEvent(nullptr, state), OIS::MB_Left));
    const auto& seen = deliver();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_FLOAT_EQ(seen[0].state.abs_x, 1024.0f);
    EXPECT_FLOAT_EQ(seen[0].state.abs_y, 0.0f);
    EXPECT_FLOAT_EQ(seen[0].state.rel_x, 700.0f);
    EXPECT_FLOAT_EQ(seen[0].state.rel_y, -40.0f);
    EXPECT_FLOAT_EQ(seen[1].state.abs_x, 0.0f);
    EXPECT_FLOAT_EQ(seen[1].state.abs_y, 600.0f);
    EXPECT_FLOAT_EQ(seen[1].state.rel_y, 920.0f);
}

TEST_F(HandlerMapping, DevicesAreOptionalBeforeInit) {
    EXPECT_EQ(input::Handler::getSingleton(), &m_handler);
    m_handler.Capture();
    m_handler.SetWindowSize(800, 600);
    EXPECT_TRUE(deliver().empty());
}

TEST(HandlerLifetime, SingletonAndNoEventManager) {
    {
        input::Handler handler;
        EXPECT_EQ(input::Handler::getSingleton(), &handler);
        // Without an event manager the events are dropped, not leaked or crashed on.
        EXPECT_TRUE(handler.keyPressed(OIS::KeyEvent(nullptr, OIS::KC_A, 'a')));
        EXPECT_TRUE(handler.mouseMoved(OIS::MouseEvent(nullptr, OIS::MouseState())));
    }
    EXPECT_EQ(input::Handler::getSingleton(), nullptr);
}

} // namespace
