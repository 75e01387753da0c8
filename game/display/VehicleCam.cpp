#include "display/VehicleCam.h"

#include "event/KeyEvent.h"
#include "event/Manager.h"
#include "game/GameControls.h"
#include "game/Vehicle.h"

#include <OGRE/OgreBone.h>
#include <OGRE/OgreEntity.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreSkeletonInstance.h>

#include <iostream>

namespace display {
namespace cam {

const unsigned int VehicleCam::kCameraId = 3;
const unsigned int VehicleCam::kNumViews = 4;

// Tells the camera when its anchor leaves the chassis it was mounted on.
class VehicleCam::AnchorWatch : public Ogre::Node::Listener {
public:
    explicit AnchorWatch(VehicleCam& camera) : m_camera(camera) {}
    void nodeDetached(const Ogre::Node*) override { m_camera.AnchorDetached(); }

private:
    VehicleCam& m_camera;
};

VehicleCam::VehicleCam(unsigned int id)
    : BaseCamera(id, nullptr), m_vehicle(nullptr), m_viewIndex(0),
      m_viewNames({"camera_main", "camera_hood", "camera_wheel", "camera_side"}),
      m_watch(new AnchorWatch(*this)), m_listening(false), m_moving(false) {}

VehicleCam::~VehicleCam() {
    Subscribe(false);
    // The anchor is destroyed by the base; its detaching must not call back here.
    if (m_anchor && m_anchor->getListener() == m_watch.get())
        m_anchor->setListener(nullptr);
    m_viewNames.clear();
}

void VehicleCam::Subscribe(bool subscribe) {
    event::Manager* events = event::Manager::getSingleton();
    if (!events || subscribe == m_listening)
        return;
    if (subscribe)
        events->AddListener(*this, event::KeyEvent::kEventType);
    else
        events->RemoveListener(*this, event::KeyEvent::kEventType);
    m_listening = subscribe;
}

void VehicleCam::Activate(bool active) {
    Subscribe(active);
}

const char* VehicleCam::Name() {
    return "VehicleCam";
}

bool VehicleCam::HandleEvent(const event::IEvent& event) {
    if (event.event_type() != event::KeyEvent::kEventType)
        return false;
    const event::KeyEvent& key = static_cast<const event::KeyEvent&>(event);
    if (key.key_event_type() != event::KeyEvent::KEY_PRESSED)
        return false;
    using game::GameControls;
    const int code = key.key();
    if (GameControls::Is(GameControls::kCameraMain, code, OIS::KC_1))
        SelectView(0);
    else if (GameControls::Is(GameControls::kCameraHood, code, OIS::KC_2))
        SelectView(1);
    else if (GameControls::Is(GameControls::kCameraWheel, code, OIS::KC_3))
        SelectView(2);
    else if (GameControls::Is(GameControls::kCameraSide, code, OIS::KC_4))
        SelectView(3);
    else if (GameControls::Is(GameControls::kCameraNext, code, OIS::KC_C))
        NextView();
    return false;
}

void VehicleCam::AttachToVehicle(game::Vehicle* vehicle) {
    Ogre::Entity* chassis = vehicle ? vehicle->chassis_entity() : nullptr;
    if (vehicle && !(chassis && chassis->getParentSceneNode())) {
        std::cerr << "VehicleCam: vehicle " << vehicle->id() << " has no chassis to ride on" << std::endl;
        vehicle = nullptr;
        chassis = nullptr;
    }
    m_vehicle = vehicle;
    Mount(chassis);
}

void VehicleCam::AttachToChassis(Ogre::Entity* chassis) {
    m_vehicle = nullptr;
    Mount(chassis && chassis->getParentSceneNode() ? chassis : nullptr);
}

void VehicleCam::Mount(Ogre::Entity* chassis) {
    m_chassis = chassis;
    m_viewIndex = 0;
    if (!m_anchor)
        return;
    Ogre::SceneNode* chassisNode = chassis ? chassis->getParentSceneNode() : nullptr;
    Ogre::SceneNode* parent = chassisNode ? chassisNode : m_anchor->getCreator()->getRootSceneNode();
    if (m_anchor->getParent() != parent) {
        // Without a vehicle the camera stays where it was, in world terms;
        // those are only current after the graph above it is updated.
        Ogre::Node* top = m_anchor;
        while (top->getParent() && top->getParent()->getParent())
            top = top->getParent();
        top->_update(true, false);
        const Ogre::Vector3 position = m_anchor->_getDerivedPosition();
        const Ogre::Quaternion orientation = m_anchor->_getDerivedOrientation();
        m_moving = true;
        if (m_anchor->getParent())
            m_anchor->getParent()->removeChild(m_anchor);
        parent->addChild(m_anchor);
        m_moving = false;
        if (!chassisNode) {
            m_anchor->setPosition(position);
            m_anchor->setOrientation(orientation);
        }
    }
    m_anchor->setListener(m_chassis ? m_watch.get() : nullptr);
    if (m_chassis)
        SelectView(0);
}

void VehicleCam::AnchorDetached() {
    if (m_moving || !m_chassis)
        return;
    // The chassis is going away with its vehicle: forget it.
    m_vehicle = nullptr;
    m_chassis = nullptr;
    m_viewIndex = 0;
}

void VehicleCam::SelectView(unsigned int index) {
    if (!m_chassis || !m_anchor || index >= m_viewNames.size())
        return;
    Ogre::Entity* chassis = m_chassis;
    const std::string& name = m_viewNames[index];
    if (!chassis || !chassis->hasSkeleton() || !chassis->getSkeleton()->hasBone(name)) {
        std::cerr << "VehicleCam: chassis has no bone \"" << name << "\", view unchanged" << std::endl;
        return;
    }
    Ogre::Bone* bone = chassis->getSkeleton()->getBone(name);
    m_anchor->setPosition(bone->getPosition());
    m_anchor->setOrientation(bone->getOrientation());
    m_viewIndex = index;
}

void VehicleCam::NextView() {
    SelectView((m_viewIndex + 1) % kNumViews);
}

} // namespace cam
} // namespace display
