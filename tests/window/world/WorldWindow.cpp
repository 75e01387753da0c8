#include "WorldWindow.h"

#include "base/Config.h"
#include "display/Core.h"
#include "display/cam/BaseCamera.h"
#include "display/cam/CameraManager.h"
#include "event/Manager.h"
#include "file/System.h"

#include <OGRE/Bites/OgreWindowEventUtilities.h>
#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <iostream>

namespace {

const int kWidth = 1024;
const int kHeight = 768;

struct Services {
    base::Config* config = nullptr;
    event::Manager* events = nullptr;
    display::Core* core = nullptr;
};

Services g_services;
WorldWindow* g_world = nullptr;

bool startWithRenderCore(WorldWindow& world) {
    file::System::set_product_name("kestrelby");
    g_services.config = new base::Config();
    // A windowed game, as a prepared settings file would say.
    g_services.config->getBool("Display", "fullscreen", false);
    g_services.config->setBool("Display", "fullscreen", false);
    g_services.config->getInt("Display", "width", kWidth);
    g_services.config->setInt("Display", "width", kWidth);
    g_services.config->getInt("Display", "height", kHeight);
    g_services.config->setInt("Display", "height", kHeight);
    g_services.events = new event::Manager();
    g_services.core = new display::Core();
    if (!g_services.core->Init()) {
        std::cerr << "world tests: the render core did not start" << std::endl;
        return false;
    }
    g_services.core->InitResourceGroup("");
    g_services.core->ActivateRenderWindow(true);
    world.root = Ogre::Root::getSingletonPtr();
    world.window = g_services.core->getRenderWindow();
    world.scene = g_services.core->getSceneManager();
    display::cam::BaseCamera* camera = display::cam::CameraManager::getSingleton()->getCurrentCamera();
    world.camera = camera->camera();
    world.cameraNode = camera->camera_anchor();
    return true;
}

class WorldShutdown : public ::testing::Environment {
public:
    void TearDown() override {
        delete g_world;
        g_world = nullptr;
        delete g_services.core;
        delete g_services.events;
        delete g_services.config;
        g_services = Services();
    }
};

} // namespace

WorldWindow& WorldWindow::get() {
    if (g_world)
        return *g_world;
    ::testing::AddGlobalTestEnvironment(new WorldShutdown);
    g_world = new WorldWindow();
    try {
        g_world->ready = startWithRenderCore(*g_world);
    } catch (const Ogre::Exception& error) {
        std::cerr << "world tests: rendering did not start: " << error.getDescription() << std::endl;
    }
    return *g_world;
}

void WorldWindow::addTerrainMedia() {
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    const std::string media = KB_OGRE_MEDIA_DIR;
    const std::pair<const char*, const char*> helpers[] = {{"TerrainHelpers.glsl", "/Terrain"},
                                                           {"SGXLib_IntegratedPSSM.glsl", "/RTShaderLib/GLSL"},
                                                           {"OgreUnifiedShader.h", "/ShadowVolume"}};
    for (const auto& helper : helpers)
        if (!groups.resourceExistsInAnyGroup(helper.first))
            groups.addResourceLocation(media + helper.second, "FileSystem", "General");
}

void WorldWindow::render() {
    OgreBites::WindowEventUtilities::messagePump();
    root->renderOneFrame(1.0f / 60.0f);
}

bool WorldWindow::screenshot(const std::string& path) {
    try {
        window->writeContentsToFile(path);
        return true;
    } catch (const Ogre::Exception& error) {
        std::cerr << "world tests: no screenshot: " << error.getDescription() << std::endl;
        return false;
    }
}
