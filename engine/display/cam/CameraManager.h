#pragma once

#include "base/Export.h"
#include "base/Singleton.h"
#include "event/IListener.h"

#include <OGRE/OgrePrerequisites.h>
#include <OGRE/OgreSharedPtr.h>

#include <cstdint>
#include <map>

namespace Ogre {
class PSSMShadowCameraSetup;
class Viewport;
} // namespace Ogre

namespace display {
namespace cam {

class BaseCamera;

// Keeps the scene's cameras by identifier, shows the current one in the
// window's only viewport and holds the parallel-split shadow camera setup.
class DW_API CameraManager : public event::IListener, public base::Singleton<CameraManager> {
public:
    // Distance up to which shadows are cast; the last shadow split ends here.
    static const float kShadowFarDistance;

    CameraManager();
    virtual ~CameraManager();

    const char* Name() override;
    bool HandleEvent(const event::IEvent& event) override;

    // Creates the default camera (identifier 1), the viewport and the shadow setup.
    bool Init();
    // Takes ownership unless the identifier is in use already.
    void AddCamera(unsigned int id, BaseCamera* camera);
    bool SwitchCamera(unsigned int id);
    void RemoveCamera(unsigned int id);
    BaseCamera* getCurrentCamera();
    void updateCamera(double seconds);
    Ogre::SharedPtr<Ogre::PSSMShadowCameraSetup> shadow_camera_setup() const;

    // Three splits between the near clip distance and kShadowFarDistance.
    static Ogre::SharedPtr<Ogre::PSSMShadowCameraSetup> CreateShadowCameraSetup();

private:
    BaseCamera* m_currentCamera;
    std::map<uint32_t, BaseCamera*> m_cameras;
    Ogre::Viewport* m_viewport;
    Ogre::SharedPtr<Ogre::PSSMShadowCameraSetup> m_shadowCameraSetup;
};

} // namespace cam
} // namespace display

DW_SINGLETON_DECLARE(display::cam::CameraManager)
