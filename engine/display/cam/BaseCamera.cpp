#include "display/cam/BaseCamera.h"

#include "display/Core.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreStringConverter.h>

namespace display {
namespace cam {

const float BaseCamera::kNearClip = 1.0f;
const float BaseCamera::kFarClip = 15000.0f;

namespace {
Ogre::SceneManager* sceneManager() {
    Core* core = Core::getSingleton();
    return core ? core->getSceneManager() : nullptr;
}
} // namespace

BaseCamera::BaseCamera(unsigned int id, Ogre::SceneNode* parent)
    : m_cameraId(id), m_parent(parent), m_camera(nullptr), m_anchor(nullptr) {
    if (!m_parent) {
        Ogre::SceneManager* scene = sceneManager();
        if (scene)
            m_parent = scene->getRootSceneNode();
    }
}

BaseCamera::~BaseCamera() {
    Ogre::SceneManager* scene = sceneManager();
    if (!scene)
        return;
    if (m_anchor) {
        m_anchor->detachAllObjects();
        scene->destroySceneNode(m_anchor);
    }
    if (m_camera)
        scene->destroyCamera(m_camera);
}

void BaseCamera::InitCamera() {
    Ogre::SceneManager* scene = sceneManager();
    if (!scene || !m_parent)
        return;
    const Ogre::String name = "camera_" + Ogre::StringConverter::toString(m_cameraId);
    m_camera = scene->createCamera(name);
    m_anchor = m_parent->createChildSceneNode(name + "_node", Ogre::Vector3::ZERO,
                                              Ogre::Quaternion::IDENTITY);
    // A new camera sits at its node's origin with identity orientation, that is
    // looking down -z; position and direction belong to the anchor (the camera's
    // own setters are deprecated in Ogre 1.12).
    m_camera->setNearClipDistance(kNearClip);
    m_camera->setFarClipDistance(kFarClip);
    m_anchor->attachObject(m_camera);
}

void BaseCamera::Activate(bool) {}

void BaseCamera::UpdateCamera(double) {}

} // namespace cam
} // namespace display
