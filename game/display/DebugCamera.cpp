#include "display/DebugCamera.h"

#include "event/KeyEvent.h"
#include "event/Manager.h"
#include "event/MouseEvent.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreSceneNode.h>

namespace display {
namespace cam {

const unsigned int DebugCamera::kCameraId = 2;
const float DebugCamera::kDefaultSpeed = 50.0f;
const float DebugCamera::kTurnRate = -0.15f;

namespace {
const Ogre::Degree kFieldOfView(45.0f);
const Ogre::Vector3 kStartPosition(0, 30, 250);
// The camera sits at its anchor's origin looking down -z: its direction,
// right and up in the anchor's space.
const Ogre::Vector3 kDirection = Ogre::Vector3::NEGATIVE_UNIT_Z;
const Ogre::Vector3 kRight = Ogre::Vector3::UNIT_X;
const Ogre::Vector3 kUp = Ogre::Vector3::UNIT_Y;
} // namespace

DebugCamera::DebugCamera(unsigned int id)
    : BaseCamera(id, nullptr), m_speed(kDefaultSpeed), m_forward(false), m_backward(false), m_left(false),
      m_right(false), m_up(false), m_down(false), m_listening(false) {}

DebugCamera::~DebugCamera() {
    Subscribe(false);
}

void DebugCamera::Subscribe(bool subscribe) {
    event::Manager* events = event::Manager::getSingleton();
    if (!events || subscribe == m_listening)
        return;
    if (subscribe) {
        events->AddListener(*this, event::KeyEvent::kEventType);
        events->AddListener(*this, event::MouseEvent::kEventType);
    } else {
        events->RemoveListener(*this, event::KeyEvent::kEventType);
        events->RemoveListener(*this, event::MouseEvent::kEventType);
    }
    m_listening = subscribe;
}

void DebugCamera::InitCamera() {
    BaseCamera::InitCamera();
    if (m_camera)
        m_camera->setFOVy(kFieldOfView);
    if (m_anchor)
        m_anchor->setPosition(kStartPosition);
}

void DebugCamera::Activate(bool active) {
    Subscribe(active);
    if (!active)
        m_forward = m_backward = m_left = m_right = m_up = m_down = false;
}

const char* DebugCamera::Name() {
    return "DebugCamera";
}

bool DebugCamera::HandleEvent(const event::IEvent& event) {
    if (event.event_type() == event::MouseEvent::kEventType) {
        if (!m_anchor)
            return false;
        const event::MouseEvent::SMouseState& state = static_cast<const event::MouseEvent&>(event).mouse_state();
        m_anchor->yaw(Ogre::Degree(state.rel_x * kTurnRate), Ogre::Node::TS_LOCAL);
        m_anchor->pitch(Ogre::Degree(state.rel_y * kTurnRate), Ogre::Node::TS_LOCAL);
        return false;
    }
    if (event.event_type() != event::KeyEvent::kEventType)
        return false;
    const event::KeyEvent& key = static_cast<const event::KeyEvent&>(event);
    const bool pressed = key.key_event_type() == event::KeyEvent::KEY_PRESSED;
    switch (key.key()) {
    case OIS::KC_1:
        if (pressed && m_camera)
            m_camera->setPolygonMode(Ogre::PM_SOLID);
        break;
    case OIS::KC_2:
        if (pressed && m_camera)
            m_camera->setPolygonMode(Ogre::PM_WIREFRAME);
        break;
    case OIS::KC_3:
        if (pressed && m_camera)
            m_camera->setPolygonMode(Ogre::PM_POINTS);
        break;
    case OIS::KC_W:
        m_forward = pressed;
        break;
    case OIS::KC_S:
        m_backward = pressed;
        break;
    case OIS::KC_A:
        m_left = pressed;
        break;
    case OIS::KC_D:
        m_right = pressed;
        break;
    case OIS::KC_PGUP:
        m_up = pressed;
        break;
    case OIS::KC_PGDOWN:
        m_down = pressed;
        break;
    default:
        break;
    }
    return false;
}

void DebugCamera::UpdateCamera(double seconds) {
    if (!m_anchor)
        return;
    const float distance = m_speed * static_cast<float>(seconds);
    const std::pair<bool, Ogre::Vector3> moves[] = {{m_forward, kDirection}, {m_backward, -kDirection},
                                                    {m_left, -kRight},       {m_right, kRight},
                                                    {m_up, kUp},             {m_down, -kUp}};
    for (const auto& move : moves)
        if (move.first)
            m_anchor->translate(move.second * distance, Ogre::Node::TS_LOCAL);
}

} // namespace cam
} // namespace display
