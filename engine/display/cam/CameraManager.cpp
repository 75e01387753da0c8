#include "display/cam/CameraManager.h"

#include "display/Core.h"
#include "display/cam/BaseCamera.h"
#include "event/KeyEvent.h"
#include "event/Manager.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreRenderWindow.h>
#include <OGRE/OgreShadowCameraSetupPSSM.h>
#include <OGRE/OgreViewport.h>

DW_SINGLETON_DEFINE(display::cam::CameraManager)

namespace display {
namespace cam {

const float CameraManager::kShadowFarDistance = 600.0f;

namespace {
const unsigned int kDefaultCameraId = 1;
const unsigned int kShadowSplitCount = 3;
const float kSplitLambda = 0.85f;
const float kSplitPadding = 2.0f;
// Near splits get a stronger warp than far ones.
const float kOptimalAdjustFactors[kShadowSplitCount] = {5.0f, 1.0f, 0.5f};
} // namespace

CameraManager::CameraManager() : m_currentCamera(nullptr), m_viewport(nullptr) {}

CameraManager::~CameraManager() {
    for (auto& entry : m_cameras)
        delete entry.second;
    m_cameras.clear();
    m_currentCamera = nullptr;
    if (event::Manager* events = event::Manager::getSingleton())
        events->RemoveListener(*this, event::KeyEvent::kEventType);
    m_shadowCameraSetup.reset();
}

const char* CameraManager::Name() {
    return "CameraManager";
}

bool CameraManager::HandleEvent(const event::IEvent&) {
    return false;
}

bool CameraManager::Init() {
    if (event::Manager* events = event::Manager::getSingleton())
        events->AddListener(*this, event::KeyEvent::kEventType);

    BaseCamera* camera = new BaseCamera(kDefaultCameraId, nullptr);
    camera->InitCamera();

    Core* core = Core::getSingleton();
    Ogre::RenderWindow* window = core ? core->getRenderWindow() : nullptr;
    if (window && camera->camera()) {
        m_viewport = window->addViewport(camera->camera(), 0, 0.0f, 0.0f, 1.0f, 1.0f);
        m_viewport->setAutoUpdated(true);
        m_viewport->setBackgroundColour(Ogre::ColourValue(1.0f, 0.4f, 0.3f, 1.0f));
    }

    m_currentCamera = camera;
    AddCamera(kDefaultCameraId, camera);

    m_shadowCameraSetup = CreateShadowCameraSetup();
    return true;
}

Ogre::SharedPtr<Ogre::PSSMShadowCameraSetup> CameraManager::CreateShadowCameraSetup() {
    Ogre::SharedPtr<Ogre::PSSMShadowCameraSetup> setup(new Ogre::PSSMShadowCameraSetup());
    setup->setSplitPadding(kSplitPadding);
    setup->calculateSplitPoints(kShadowSplitCount, BaseCamera::kNearClip, kShadowFarDistance,
                                kSplitLambda);
    for (unsigned int i = 0; i < kShadowSplitCount; ++i)
        setup->setOptimalAdjustFactor(i, kOptimalAdjustFactors[i]);
    return setup;
}

void CameraManager::AddCamera(unsigned int id, BaseCamera* camera) {
    if (!camera)
        return;
    if (m_viewport && camera->camera()) {
        camera->camera()->setAspectRatio(static_cast<float>(m_viewport->getActualWidth()) /
                                         static_cast<float>(m_viewport->getActualHeight()));
    }
    m_cameras.emplace(id, camera);
}

bool CameraManager::SwitchCamera(unsigned int id) {
    auto it = m_cameras.find(id);
    if (it == m_cameras.end() || it->second == m_currentCamera)
        return false;
    if (m_currentCamera)
        m_currentCamera->Activate(false);
    m_currentCamera = it->second;
    m_currentCamera->Activate(true);
    if (m_viewport)
        m_viewport->setCamera(m_currentCamera->camera());
    return true;
}

void CameraManager::RemoveCamera(unsigned int id) {
    auto it = m_cameras.find(id);
    if (it == m_cameras.end() || it->second == m_currentCamera)
        return;
    delete it->second;
    m_cameras.erase(it);
}

BaseCamera* CameraManager::getCurrentCamera() {
    return m_currentCamera;
}

void CameraManager::updateCamera(double seconds) {
    if (m_currentCamera)
        m_currentCamera->UpdateCamera(seconds);
}

Ogre::SharedPtr<Ogre::PSSMShadowCameraSetup> CameraManager::shadow_camera_setup() const {
    return m_shadowCameraSetup;
}

} // namespace cam
} // namespace display
