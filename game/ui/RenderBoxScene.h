#pragma once

#include "ui/RenderBox.h"

#include <OGRE/OgreQuaternion.h>
#include <OGRE/OgreVector.h>

#include <string>

namespace Ogre {
class Entity;
class SceneManager;
class SceneNode;
}

namespace ui {

// A private Ogre scene (scene manager, light, camera, one model) drawn into a
// canvas. The camera is placed so that the whole model is in view; the model
// can turn slowly by itself.
class RenderBoxScene : public RenderBox {
public:
    static const int kTurnSpeed;

    RenderBoxScene() = default;
    // Frees the scene even when the owner did not release it.
    ~RenderBoxScene() override;

    // Binds the canvas, then builds the scene whose camera the canvas shows.
    void BindCanvas(MyGUI::Canvas* canvas) override;
    // Drops the model, the frame handler and the scene, then the canvas side.
    void Release() override;
    void OnCanvasUpdate(MyGUI::Canvas* canvas, MyGUI::Canvas::Event event) override;

    // Replaces the model. False, with one line on stderr, when the mesh cannot
    // be loaded: the box then stays empty.
    bool ShowMesh(const std::string& mesh, const Ogre::Vector3& position, const Ogre::Quaternion& orientation);
    void ClearScene();
    void UpdateCamera();
    // Turning by itself needs auto turn and the GUI's per-frame event.
    void SetFrameUpdates(bool on);

    bool auto_turn() const { return m_autoTurn; }
    void set_auto_turn(bool on) { m_autoTurn = on; }
    int turn_speed() const { return m_turnSpeed; }
    bool frame_updates() const { return m_frameUpdates; }

    Ogre::SceneManager* scene_manager() const { return m_sceneManager; }
    Ogre::SceneNode* model_node() const { return m_modelNode; }
    Ogre::SceneNode* camera_node() const { return m_cameraNode; }
    Ogre::Entity* entity() const { return m_entity; }

    // The per-frame handler; seconds is the GUI frame time.
    void frameEntered(float seconds);

private:
    void createScene();
    void stopFrameUpdates();
    std::string address() const;

    Ogre::SceneManager* m_sceneManager = nullptr;
    Ogre::SceneNode* m_modelNode = nullptr;
    Ogre::SceneNode* m_cameraNode = nullptr;
    Ogre::Entity* m_entity = nullptr;
    int m_turnSpeed = kTurnSpeed;
    bool m_autoTurn = false;
    bool m_frameUpdates = false;
};

} // namespace ui
