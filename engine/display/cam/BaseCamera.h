#pragma once

#include "base/Export.h"

#include <cstdint>

namespace Ogre {
class Camera;
class SceneNode;
} // namespace Ogre

namespace display {
namespace cam {

// Base of every camera: an Ogre camera on its own anchor node. Concrete
// cameras move and turn the anchor from UpdateCamera.
class DW_API BaseCamera {
public:
    static const float kNearClip;
    static const float kFarClip;

    // A null parent puts the anchor below the scene's root node.
    BaseCamera(unsigned int id, Ogre::SceneNode* parent);
    virtual ~BaseCamera();

    // Creates the camera and its anchor; call once before handing the camera to the manager.
    virtual void InitCamera();
    virtual void Activate(bool active);
    virtual void UpdateCamera(double seconds);

    unsigned int camera_id() const { return m_cameraId; }
    Ogre::Camera* camera() const { return m_camera; }
    Ogre::SceneNode* camera_anchor() const { return m_anchor; }

    BaseCamera(const BaseCamera&) = delete;
    BaseCamera& operator=(const BaseCamera&) = delete;

protected:
    uint32_t m_cameraId;
    Ogre::SceneNode* m_parent;
    Ogre::Camera* m_camera;
    Ogre::SceneNode* m_anchor;
};

} // namespace cam
} // namespace display
