#pragma once

#include "base/Export.h"
#include "base/Singleton.h"
#include "display/RenderProfile.h"

#include <OGRE/OgrePrerequisites.h>
#include <OGRE/OgreSharedPtr.h>
#include <OGRE/OgreVector.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Ogre {
class LogManager;
class RenderSystem;
class RenderWindow;
class Root;
class SceneManager;
} // namespace Ogre

namespace sound {
class Manager;
}

namespace display {

namespace cam {
class CameraManager;
}
class ShadowSplitLodStrategy;
class WindowCloseWatch;

// The one render service: starts Ogre without configuration files of its own,
// opens the render window "Main", draws frames and sets up shadows.
class DW_API Core : public base::Singleton<Core> {
public:
    Core();
    virtual ~Core();

    // Opens the window and creates the camera and sound managers.
    bool Init();
    // Draws one frame; seconds is the time since the last drawn frame.
    void OnDraw(double seconds);
    void ActivateRenderWindow(bool active);

    void AddResourceGroup(const std::string& group);
    void AddResourceFolder(const std::string& path, const std::string& group);
    void AddResourceZip(const std::string& path, const std::string& group);
    // An empty name initialises every group Ogre knows.
    bool InitResourceGroup(std::string group);

    // Both take effect at the next start.
    void SetFullscreen(bool fullscreen);
    void SetResolution(uint32_t width, uint32_t height);

    bool IsFullscreen() const;
    const std::vector<Ogre::Vector2>* resolutions() const;
    uint64_t window_handle() const;
    // True once the player closed the render window; the main loop should end then.
    bool IsWindowClosed() const;
    Ogre::RenderWindow* getRenderWindow() const;
    Ogre::SceneManager* getSceneManager() const;

    // The speed settings chosen for the renderer the window runs on.
    const RenderProfile& render_profile() const { return m_renderProfile; }

    void EnablePSSM();
    // The shadow-receiving variant "PSSMMaterial/<name>", built once. When the
    // receiver programs are missing the given material comes back unchanged.
    Ogre::MaterialPtr BuildPSSMMaterial(const Ogre::MaterialPtr& material);

    // Screen sizes of at least 1024 x 768 from "Video Mode" texts such as
    // "1280 x 1024" or "1024 x 768 @ 32-bit colour", in the given order.
    static std::vector<Ogre::Vector2> ParseVideoModes(const std::vector<std::string>& modes);

private:
    bool initOGRE();
    void chooseRenderProfile();
    void loadOptionalPlugin(const std::string& name);
    // Adds to a vertex-lit receiver one level per split it can start beyond.
    void addSplitLevels(Ogre::Material& receiver, const Ogre::Vector4& splits);

    uint64_t m_windowHandle;
    Ogre::Root* m_root;
    Ogre::RenderSystem* m_renderSystem;
    Ogre::RenderWindow* m_renderWindow;
    Ogre::SceneManager* m_sceneManager;
    cam::CameraManager* m_cameraManager;
    sound::Manager* m_soundManager;
    bool m_fullscreen;
    std::vector<Ogre::Vector2> m_resolutions;
    // Created before the root so that Ogre's log goes to the file only.
    Ogre::LogManager* m_logManager;
    // Notices the window manager closing the render window.
    WindowCloseWatch* m_windowWatch;
    bool m_windowClosed;
    RenderProfile m_renderProfile;
    // Registered with the root's level-of-detail strategies; outlives the root's materials.
    std::unique_ptr<ShadowSplitLodStrategy> m_shadowSplitLod;
};

} // namespace display

DW_SINGLETON_DECLARE(display::Core)
