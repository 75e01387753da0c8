#include "ui/RenderBoxScene.h"

#include <MYGUI/MyGUI_Gui.h>
#include <OGRE/Ogre.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <sstream>

namespace ui {

const int RenderBoxScene::kTurnSpeed = 20;

namespace {
const Ogre::ColourValue kAmbient(0.8f, 0.8f, 0.8f, 1.f);
const Ogre::Vector3 kLightDirection(-1.f, -1.f, 0.5f);
const float kNearClip = 1.f;
// The model fills about 86 % of the view.
const float kFitDistance = 1.f / 0.86f;
const float kCameraRise = 0.1f;
const float kCameraBack = 1.2f;
} // namespace

RenderBoxScene::~RenderBoxScene() {
    RenderBoxScene::Release();
}

std::string RenderBoxScene::address() const {
    std::ostringstream text;
    text << std::hex << reinterpret_cast<std::uintptr_t>(this);
    return text.str();
}

void RenderBoxScene::BindCanvas(MyGUI::Canvas* canvas) {
    RenderBox::BindCanvas(canvas);
    if (RenderBox::canvas())
        createScene();
}

void RenderBoxScene::createScene() {
    if (m_sceneManager || !Ogre::Root::getSingletonPtr())
        return;
    const std::string prefix = address();
    m_sceneManager = Ogre::Root::getSingleton().createSceneManager(
        Ogre::DefaultSceneManagerFactory::FACTORY_TYPE_NAME, prefix + "_SceneManagerRenderBox");
    Ogre::SceneNode* root = m_sceneManager->getRootSceneNode();
    m_modelNode = root->createChildSceneNode(Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY);

    m_sceneManager->setAmbientLight(kAmbient);
    Ogre::Light* light = m_sceneManager->createLight(prefix + "_LightRenderBox");
    light->setType(Ogre::Light::LT_DIRECTIONAL);
    Ogre::SceneNode* lightNode = root->createChildSceneNode();
    lightNode->attachObject(light);
    lightNode->setDirection(kLightDirection.normalisedCopy(), Ogre::Node::TS_WORLD);

    Ogre::Camera* camera = m_sceneManager->createCamera(prefix + "_CameraRenderBox");
    camera->setNearClipDistance(kNearClip);
    m_cameraNode = root->createChildSceneNode(Ogre::Vector3::ZERO, Ogre::Quaternion::IDENTITY);
    m_cameraNode->attachObject(camera);
    MyGUI::Canvas* box = canvas();
    const int height = box->getHeight();
    camera->setAspectRatio(height == 0 ? 1.f : static_cast<float>(box->getWidth()) / static_cast<float>(height));
    SetCamera(camera);
}

void RenderBoxScene::Release() {
    ClearScene();
    stopFrameUpdates();
    // The viewport goes before the camera it shows.
    DetachViewport();
    if (m_sceneManager) {
        if (Ogre::Root* root = Ogre::Root::getSingletonPtr())
            root->destroySceneManager(m_sceneManager);
        m_sceneManager = nullptr;
        m_modelNode = nullptr;
        m_cameraNode = nullptr;
        SetCamera(nullptr);
    }
    RenderBox::Release();
}

void RenderBoxScene::OnCanvasUpdate(MyGUI::Canvas* canvas, MyGUI::Canvas::Event event) {
    RenderBox::OnCanvasUpdate(canvas, event);
    UpdateCamera();
}

bool RenderBoxScene::ShowMesh(const std::string& mesh, const Ogre::Vector3& position,
                              const Ogre::Quaternion& orientation) {
    ClearScene();
    if (!m_sceneManager || !m_modelNode)
        return false;
    try {
        m_entity = m_sceneManager->createEntity(address() + "_RenderBoxMesh_" + mesh, mesh,
                                                Ogre::ResourceGroupManager::AUTODETECT_RESOURCE_GROUP_NAME);
    } catch (const Ogre::Exception& e) {
        std::cerr << "RenderBox: cannot show mesh \"" << mesh << "\", the box stays empty ("
                  << e.getDescription() << ")" << std::endl;
        m_entity = nullptr;
        return false;
    }
    Ogre::SceneNode* node = m_modelNode->createChildSceneNode(position, orientation);
    node->attachObject(m_entity);
    UpdateCamera();
    return true;
}

void RenderBoxScene::ClearScene() {
    if (!m_sceneManager || !m_modelNode)
        return;
    m_modelNode->resetOrientation();
    m_sceneManager->destroyAllEntities();
    m_modelNode->removeAndDestroyAllChildren();
    m_entity = nullptr;
}

void RenderBoxScene::UpdateCamera() {
    MyGUI::Canvas* box = canvas();
    Ogre::Camera* view = camera();
    if (!box || box->getWidth() <= 1 || box->getHeight() <= 1 || !view || !m_entity || !m_cameraNode)
        return;
    const float aspect = static_cast<float>(box->getWidth()) / static_cast<float>(box->getHeight());
    view->setAspectRatio(aspect);

    Ogre::AxisAlignedBox bounds;
    const Ogre::Vector3 offset = m_entity->getParentSceneNode()->_getDerivedPosition();
    const Ogre::AxisAlignedBox& local = m_entity->getBoundingBox();
    if (local.isNull())
        return;
    bounds.merge(local.getMinimum() + offset);
    bounds.merge(local.getMaximum() + offset);
    if (bounds.isNull())
        return;

    const Ogre::Vector3 size = bounds.getSize();
    const float width = std::sqrt(size.x * size.x + size.z * size.z);
    const float across = width / aspect;
    const float height = size.y;
    const float distance = std::max(height, across) * kFitDistance;
    const Ogre::Vector3 centre = bounds.getCenter();
    m_cameraNode->setPosition(centre.x, centre.y + kCameraRise * height,
                              centre.z + 0.5f * size.z + kCameraBack * distance);
    m_cameraNode->lookAt(Ogre::Vector3(0.f, centre.y, 0.f), Ogre::Node::TS_WORLD, Ogre::Vector3::NEGATIVE_UNIT_Z);
}

void RenderBoxScene::SetFrameUpdates(bool on) {
    MyGUI::Gui* gui = MyGUI::Gui::getInstancePtr();
    if (!gui)
        return;
    if (on && !m_frameUpdates && m_autoTurn) {
        gui->eventFrameStart += MyGUI::newDelegate(this, &RenderBoxScene::frameEntered);
        m_frameUpdates = true;
    } else if (!on && m_frameUpdates && !m_autoTurn) {
        stopFrameUpdates();
    }
}

void RenderBoxScene::stopFrameUpdates() {
    // Always withdrawn here: a handler left behind would call a deleted box.
    if (!m_frameUpdates)
        return;
    if (MyGUI::Gui* gui = MyGUI::Gui::getInstancePtr())
        gui->eventFrameStart -= MyGUI::newDelegate(this, &RenderBoxScene::frameEntered);
    m_frameUpdates = false;
}

void RenderBoxScene::frameEntered(float seconds) {
    if (!m_autoTurn || !m_modelNode)
        return;
    m_modelNode->yaw(Ogre::Degree(static_cast<float>(m_turnSpeed) * seconds), Ogre::Node::TS_LOCAL);
}

} // namespace ui
