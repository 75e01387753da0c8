#include "UiWorld.h"

#include "ui/DialogFactory.h"

#include <base/Config.h>
#include <display/Core.h>
#include <event/Manager.h>
#include <file/System.h>
#include <ui/Manager.h>

#include <MyGUI.h>
#include <OGRE/Bites/OgreWindowEventUtilities.h>
#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <iostream>

namespace {

void startWorld(UiWorld& world) {
    file::System::set_product_name("kestrelby");
    world.config = new base::Config();
    // A windowed 1024 x 768 game, as a prepared settings file would say.
    world.config->getBool("Display", "fullscreen", true);
    world.config->setBool("Display", "fullscreen", false);
    world.config->getInt("Display", "width", 1024);
    world.config->setInt("Display", "width", 1024);
    world.config->getInt("Display", "height", 768);
    world.config->setInt("Display", "height", 768);
    // The game state reads the ghost switch at start-up, creating it.
    world.config->getBool("ui", "ghost", true);

    world.events = new event::Manager();
    world.core = new display::Core();
    world.ui = new ui::Manager();
    if (!world.core->Init()) {
        std::cerr << "UI tests: the render core did not start" << std::endl;
        return;
    }
    world.core->AddResourceGroup("UI");
    world.core->AddResourceZip("../assets/ui.pip", "UI");
    world.core->AddResourceFolder("../assets/music", "General");
    world.core->AddResourceFolder("../assets/sfx", "General");
    world.core->InitResourceGroup("General");
    // The game's meshes (the HUD arrow, the vehicle previews), as the game core registers them.
    world.core->AddResourceGroup("GameCore");
    world.core->AddResourceFolder("../assets/custom_textures", "GameCore");
    world.core->AddResourceZip("../assets/assets.pip", "GameCore");
    world.core->InitResourceGroup("GameCore");
    world.core->ActivateRenderWindow(true);
    // The message pump reports size changes only for windows it was told about.
    OgreBites::WindowEventUtilities::_addRenderWindow(world.core->getRenderWindow());
    if (!world.ui->init(world.core->getRenderWindow(), world.core->getSceneManager(), new ui::DialogFactory(),
                        "MyGUI_Core.xml")) {
        std::cerr << "UI tests: the UI manager did not start" << std::endl;
        return;
    }
    world.ui->AddLanguage("Deutsch");
    world.ui->AddLanguage("English");
    world.ready = true;
}

// Shuts down in the game's order once every test has run.
class WorldShutdown : public ::testing::Environment {
public:
    void TearDown() override {
        UiWorld* world = s_world;
        if (!world)
            return;
        delete world->ui; // while the render core still exists
        delete world->core;
        delete world->events;
        delete world->config;
        delete world;
        s_world = nullptr;
    }
    static UiWorld* s_world;
};
UiWorld* WorldShutdown::s_world = nullptr;
} // namespace

UiWorld& UiWorld::get() {
    if (!WorldShutdown::s_world) {
        // Registered after the private user home, so torn down before it goes.
        ::testing::AddGlobalTestEnvironment(new WorldShutdown);
        WorldShutdown::s_world = new UiWorld();
        startWorld(*WorldShutdown::s_world);
    }
    return *WorldShutdown::s_world;
}

void UiWorld::advance(float seconds, int steps) {
    for (int i = 0; i < steps; ++i)
        MyGUI::Gui::getInstance().frameEvent(seconds / static_cast<float>(steps));
}

void UiWorld::draw() {
    core->OnDraw(1.0 / 60.0);
}
