#include "game/MiniGameTrigger.h"

#include "event/PerfectionEvent.h"
#include "event/ScoreEvent.h"
#include "event/TriggerEvent.h"
#include "game/GameControls.h"
#include "game/GameCore.h"
#include "game/TriggerMarker.h"
#include "ui/HUDPerfection.h"

#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <ui/Manager.h>

#include <BulletCollision/CollisionDispatch/btCollisionObject.h>
#include <BulletCollision/CollisionShapes/btCollisionShape.h>
#include <OGRE/OgreSceneNode.h>

#include <cmath>

namespace game {

const unsigned short MiniGameTrigger::kObjectType = 0;
const char* const MiniGameTrigger::kMesh = "parkarea.mesh";
const int32_t MiniGameTrigger::kMaxPerfection = 101;
const int32_t MiniGameTrigger::kBonusPerfection = 100;
const uint32_t MiniGameTrigger::kPointsPerPercent = 20;
const uint32_t MiniGameTrigger::kBonusPoints = 5000;

namespace {
// Bodies with a user pointer (the baggage trailer) are towed, not parked.
bool isTowed(const btCollisionObject* object) {
    return object && object->getUserPointer() != nullptr;
}
} // namespace

MiniGameTrigger::MiniGameTrigger(Ogre::SceneNode* node)
    : Trigger(node, kObjectType), m_name(node ? node->getName() : "") {
    m_marker = marker::Create(node, kMesh, false);
    marker::Bind(node, this);
}

MiniGameTrigger::~MiniGameTrigger() {
    // Normally the overlaps ended with the deactivation before; a trigger
    // deleted while a vehicle stands in it must still let go of the keys and
    // the display.
    Listen(false);
    CloseDisplay();
    marker::Destroy(m_marker);
    marker::Unbind(m_node, this);
}

void MiniGameTrigger::Activate(bool flag) {
    Trigger::Activate(flag);
    marker::Show(m_node, flag);
}

int32_t MiniGameTrigger::ComputePerfection(double dx, double dz, double hx, double hz) {
    const double footprint = hx * hx + hz * hz;
    if (!(footprint > 0.0) || !std::isfinite(footprint))
        return 0;
    const double value = kMaxPerfection - (dx * dx + dz * dz) * 100.0 / footprint;
    if (!(value > 0.0))
        return 0;
    return static_cast<int32_t>(value);
}

void MiniGameTrigger::OnEnter(btCollisionObject* object) {
    if (isTowed(object))
        return;
    Listen(true);
    m_perfection = 0;
    OpenDisplay();
}

void MiniGameTrigger::OnStay(btCollisionObject* object) {
    if (isTowed(object) || !object->getCollisionShape())
        return;
    btVector3 min, max;
    btTransform identity;
    identity.setIdentity();
    object->getCollisionShape()->getAabb(identity, min, max);
    const btVector3 half = (max - min) * 0.5f;
    const btVector3& body = object->getWorldTransform().getOrigin();
    const Ogre::Vector3 centre = GetPosition();
    m_perfection = ComputePerfection(centre.x - body.x(), centre.z - body.z(), half.x(), half.z());
    ShowPerfection();
}

void MiniGameTrigger::OnLeave(btCollisionObject* object) {
    if (isTowed(object))
        return;
    Listen(false);
    m_perfection = 0;
    CloseDisplay();
}

bool MiniGameTrigger::HandleEvent(const event::IEvent& event) {
    if (event.event_type() != event::KeyEvent::kEventType || !m_active)
        return false;
    const auto& key = static_cast<const event::KeyEvent&>(event);
    if (key.key_event_type() != event::KeyEvent::KEY_PRESSED || !GameControls::Is(GameControls::kConfirm, key.key(), OIS::KC_SPACE))
        return false;
    // Under a menu or a mini-game the parking is not being confirmed.
    const GameCore* core = GameCore::getSingleton();
    if (core && core->IsPaused())
        return false;

    if (event::Manager* events = event::Manager::getSingleton()) {
        events->QueueEvent(new event::TriggerEvent(this));
        events->QueueEvent(new event::PerfectionEvent(static_cast<float>(m_perfection)));
        events->QueueEvent(new event::ScoreEvent(static_cast<uint32_t>(m_perfection) * kPointsPerPercent,
                                                 event::ScoreEvent::kIncrement));
        if (m_perfection == kBonusPerfection)
            events->QueueEvent(new event::ScoreEvent(kBonusPoints, event::ScoreEvent::kIncrement));
    }
    Activate(false);
    return false;
}

void MiniGameTrigger::Listen(bool listen) {
    event::Manager* events = event::Manager::getSingleton();
    if (!events || listen == m_listening)
        return;
    if (listen)
        events->AddListener(*this, event::KeyEvent::kEventType);
    else
        events->RemoveListener(*this, event::KeyEvent::kEventType);
    m_listening = listen;
}

void MiniGameTrigger::OpenDisplay() {
    if (!m_display && ui::Manager::getSingleton())
        m_display = new ui::HUDPerfection();
}

ui::HUDPerfection* MiniGameTrigger::OpenedDisplay() const {
    // The display may have been closed by someone else (the UI's shutdown).
    ui::Manager* manager = ui::Manager::getSingleton();
    return m_display && manager && manager->GetDialog(ui::HUDPerfection::kDialogType) == m_display ? m_display
                                                                                                 : nullptr;
}

void MiniGameTrigger::ShowPerfection() {
    if (ui::HUDPerfection* display = OpenedDisplay())
        display->SetPerfection(static_cast<uint32_t>(m_perfection));
}

void MiniGameTrigger::CloseDisplay() {
    if (ui::HUDPerfection* display = OpenedDisplay())
        display->exitWindow();
    m_display = nullptr;
}

} // namespace game
