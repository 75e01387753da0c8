#pragma once

#include <string>

namespace Ogre {
class Camera;
class RenderWindow;
class Root;
class SceneManager;
class SceneNode;
} // namespace Ogre

// The rendering setting the world tests run in: the game's settings store,
// event manager and render core with its window. Started on first use, shut
// down after the last test.
struct WorldWindow {
    static WorldWindow& get();

    // Draws one frame (and lets the window system's messages through).
    void render();
    // Writes the window's current content to a PNG file.
    bool screenshot(const std::string& path);
    // The rendering engine's shader helpers that terrain building needs; the
    // scene loader registers them itself, tests that build terrain call this.
    static void addTerrainMedia();

    bool ready = false;
    Ogre::Root* root = nullptr;
    Ogre::RenderWindow* window = nullptr;
    Ogre::SceneManager* scene = nullptr;
    Ogre::Camera* camera = nullptr;
    Ogre::SceneNode* cameraNode = nullptr;
};
