// Frame rate of the loaded airport at 1024 x 768, drawn by the render core as
// the game draws it (resources, parallel-split shadows, physics, scene), from
// fixed views: a vehicle spawn point looking along the road, above the stands,
// and a catering truck's main camera in a stand. Reports frames per second,
// milliseconds per frame (median and 95th percentile) and the rendering
// engine's own statistics (batches and triangles, in the window and in the
// shadow maps). Needs an X display (tools/with-display.sh) and the world assets.
//
// The CPU column is the whole process's processor time per frame, the
// renderer's worker threads included: on a machine shared with other work it
// varies far less than the wall-clock figures. KB_RENDER_PROFILE=hardware or
// software measures the other profile on the same renderer.
//
// KB_BENCH_SHOTS=<folder> also writes one picture per view.
#include "base/Config.h"
#include "display/Core.h"
#include "display/RenderProfile.h"
#include "display/cam/BaseCamera.h"
#include "display/cam/CameraManager.h"
#include "event/Manager.h"
#include "file/System.h"
#include "game/SceneLoader.h"
#include "physics/PhysicsCore.h"

#include <OGRE/Ogre.h>
#include <OGRE/Terrain/OgreTerrain.h>
#include <OGRE/Terrain/OgreTerrainGroup.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <sys/stat.h>
#include <vector>

namespace {

const char* const kScene = "../assets/level/airport_scene.scene";
const char* const kSpawnNode = "spawn_catering";
const char* const kStandTrigger = "trigger_A2_catering";
const char* const kVehicleMesh = "cateringtruck.mesh";
const char* const kVehicleCameraBone = "camera_main";
const int kWidth = 1024;
const int kHeight = 768;
const double kFrameSeconds = 1.0 / 60.0;
const float kEyeHeight = 2.5f;
const int kWarmUpFrames = 5;

bool fileExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

using Clock = std::chrono::steady_clock;

// The airport as the game builds it, loaded once for every view.
class Airport {
public:
    static Airport& get() {
        static Airport airport;
        return airport;
    }

    bool ready() const { return m_ready; }
    display::Core* core() const { return m_core; }
    Ogre::SceneManager* scene() const { return m_core->getSceneManager(); }
    Ogre::SceneNode* eye() const {
        return display::cam::CameraManager::getSingleton()->getCurrentCamera()->camera_anchor();
    }
    Ogre::SceneNode* vehicle() const { return m_vehicle; }

    Airport(const Airport&) = delete;
    Airport& operator=(const Airport&) = delete;

private:
    Airport() {
        if (!std::getenv("DISPLAY")) {
            std::cerr << "ApronFrameBench: needs an X display; run through tools/with-display.sh" << std::endl;
            return;
        }
        if (!fileExists(kScene)) {
            std::cerr << "ApronFrameBench: no airport scene at " << kScene << " (build the world assets)"
                      << std::endl;
            return;
        }
        try {
            m_ready = start();
        } catch (const Ogre::Exception& error) {
            std::cerr << "ApronFrameBench: " << error.getDescription() << std::endl;
        }
    }

    ~Airport() {
        delete m_physics;
        if (m_terrain)
            OGRE_DELETE m_terrain;
        if (Ogre::TerrainGlobalOptions::getSingletonPtr())
            OGRE_DELETE Ogre::TerrainGlobalOptions::getSingletonPtr();
        delete m_core;
        delete m_events;
        delete m_config;
        if (!m_home.empty())
            std::system(("rm -rf '" + m_home + "'").c_str());
    }

    bool start() {
        // The bench must not touch the player's own settings.
        char pattern[] = "/tmp/kb_frame_bench_XXXXXX";
        if (::mkdtemp(pattern)) {
            m_home = pattern;
            ::setenv("XDG_DATA_HOME", m_home.c_str(), 1);
        }
        file::System::set_product_name("kestrelby");
        m_config = new base::Config();
        m_config->setBool("Display", "fullscreen", false);
        m_config->setInt("Display", "width", kWidth);
        m_config->setInt("Display", "height", kHeight);
        m_events = new event::Manager();
        m_core = new display::Core();
        if (!m_core->Init())
            return false;
        m_core->InitResourceGroup("");
        m_core->ActivateRenderWindow(true);

        m_core->AddResourceGroup("GameCore");
        if (fileExists("../assets/custom_textures"))
            m_core->AddResourceFolder("../assets/custom_textures", "GameCore");
        m_core->AddResourceZip("../assets/assets.pip", "GameCore");
        m_core->AddResourceZip("../assets/terrain.pip", "General");
        m_core->InitResourceGroup("GameCore");

        // Shadows as the game core sets them.
        m_core->EnablePSSM();
        Ogre::SceneManager* sceneManager = scene();
        sceneManager->setShadowTechnique(Ogre::SHADOWTYPE_TEXTURE_ADDITIVE_INTEGRATED);
        sceneManager->setShadowFarDistance(3000.0f);

        m_physics = new physics::PhysicsCore();
        m_physics->Init(sceneManager);
        game::SceneLoader loader(kScene, sceneManager);
        if (!loader.Init())
            return false;
        loader.ParseScene();
        m_terrain = loader.terrain_group();
        if (!sceneManager->hasSceneNode(kSpawnNode) || !sceneManager->hasSceneNode(kStandTrigger)) {
            std::cerr << "ApronFrameBench: the scene has no " << kSpawnNode << " or " << kStandTrigger << std::endl;
            return false;
        }
        placeVehicle();
        std::cout << m_core->render_profile().Describe() << std::endl;
        return true;
    }

    // A catering truck parked in a stand, shaded as the game's vehicles are.
    void placeVehicle() {
        Ogre::SceneManager* sceneManager = scene();
        Ogre::SceneNode* stand = sceneManager->getSceneNode(kStandTrigger);
        Ogre::Entity* truck = sceneManager->createEntity("bench_truck", kVehicleMesh);
        truck->setCastShadows(true);
        for (unsigned int i = 0; i < truck->getNumSubEntities(); ++i)
            truck->getSubEntity(i)->setMaterial(m_core->BuildPSSMMaterial(truck->getSubEntity(i)->getMaterial()));
        // On the ground the trigger box stands on, facing the aircraft as the trigger does.
        Ogre::Vector3 at = stand->_getDerivedPosition();
        at.y += -stand->getScale().y * 0.5f - truck->getBoundingBox().getMinimum().y;
        m_vehicle = sceneManager->getRootSceneNode()->createChildSceneNode(
            at, stand->_getDerivedOrientation());
        m_vehicle->attachObject(truck);
        m_vehicleEntity = truck;
    }

public:
    // The pose of the truck's main camera, as the vehicle camera takes it from its bone.
    bool vehicleCamera(Ogre::Vector3& position, Ogre::Quaternion& orientation) const {
        if (!m_vehicleEntity || !m_vehicleEntity->hasSkeleton() ||
            !m_vehicleEntity->getSkeleton()->hasBone(kVehicleCameraBone))
            return false;
        const Ogre::Bone* bone = m_vehicleEntity->getSkeleton()->getBone(kVehicleCameraBone);
        position = m_vehicle->_getDerivedPosition() + m_vehicle->_getDerivedOrientation() * bone->getPosition();
        orientation = m_vehicle->_getDerivedOrientation() * bone->getOrientation();
        return true;
    }

private:
    bool m_ready = false;
    std::string m_home;
    base::Config* m_config = nullptr;
    event::Manager* m_events = nullptr;
    display::Core* m_core = nullptr;
    physics::PhysicsCore* m_physics = nullptr;
    Ogre::TerrainGroup* m_terrain = nullptr;
    Ogre::SceneNode* m_vehicle = nullptr;
    Ogre::Entity* m_vehicleEntity = nullptr;
};

enum EView { kViewSpawn, kViewAbove, kViewVehicle };

const char* viewName(EView view) {
    switch (view) {
    case kViewSpawn:
        return "spawn";
    case kViewAbove:
        return "above";
    case kViewVehicle:
        return "vehicle";
    }
    return "";
}

bool placeEye(Airport& airport, EView view) {
    Ogre::SceneManager* scene = airport.scene();
    Ogre::SceneNode* eye = airport.eye();
    eye->setFixedYawAxis(true);
    switch (view) {
    case kViewSpawn: {
        // The driver's height at the spawn point, looking the way the vehicle starts:
        // vehicles face +z, a camera looks down -z.
        Ogre::SceneNode* spawn = scene->getSceneNode(kSpawnNode);
        eye->setPosition(spawn->_getDerivedPosition() + Ogre::Vector3(0.0f, kEyeHeight, 0.0f));
        eye->setOrientation(spawn->_getDerivedOrientation() *
                            Ogre::Quaternion(Ogre::Degree(180.0f), Ogre::Vector3::UNIT_Y));
        return true;
    }
    case kViewAbove: {
        // Above the middle of the stands, as the apron overview shows it.
        Ogre::Vector3 centre = Ogre::Vector3::ZERO;
        int triggers = 0;
        for (Ogre::Node* child : scene->getRootSceneNode()->getChildren())
            if (child->getName().find("trigger") != std::string::npos) {
                centre += child->_getDerivedPosition();
                ++triggers;
            }
        centre /= float(std::max(1, triggers));
        eye->setPosition(centre + Ogre::Vector3(-60.0f, 170.0f, 150.0f));
        eye->lookAt(centre, Ogre::Node::TS_WORLD);
        return true;
    }
    case kViewVehicle: {
        Ogre::Vector3 position;
        Ogre::Quaternion orientation;
        if (!airport.vehicleCamera(position, orientation))
            return false;
        eye->setPosition(position);
        eye->setOrientation(orientation);
        return true;
    }
    }
    return false;
}

double percentile(std::vector<double> values, double fraction) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5)];
}

void BM_ApronFrame(benchmark::State& state, EView view) {
    Airport& airport = Airport::get();
    if (!airport.ready()) {
        state.SkipWithError("needs a display and the world assets");
        return;
    }
    if (!placeEye(airport, view)) {
        state.SkipWithError("the view cannot be placed");
        return;
    }
    display::Core* core = airport.core();
    // The first frames compile programs and fill the shadow maps.
    for (int i = 0; i < kWarmUpFrames; ++i)
        core->OnDraw(kFrameSeconds);

    std::vector<double> frameMs;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        core->OnDraw(kFrameSeconds);
        frameMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }

    Ogre::SceneManager* scene = airport.scene();
    const Ogre::RenderTarget::FrameStats& window = core->getRenderWindow()->getStatistics();
    size_t shadowBatches = 0;
    size_t shadowTriangles = 0;
    for (size_t i = 0; i < scene->getShadowTextureConfigList().size(); ++i) {
        const Ogre::TexturePtr& texture = scene->getShadowTexture(i);
        if (!texture)
            continue;
        const Ogre::RenderTarget::FrameStats& shadow =
            texture->getBuffer()->getRenderTarget()->getStatistics();
        shadowBatches += shadow.batchCount;
        shadowTriangles += shadow.triangleCount;
    }
    state.counters["fps"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["ms_median"] = percentile(frameMs, 0.5);
    state.counters["ms_p95"] = percentile(frameMs, 0.95);
    state.counters["batches"] = static_cast<double>(window.batchCount);
    state.counters["triangles"] = static_cast<double>(window.triangleCount);
    state.counters["shadow_batches"] = static_cast<double>(shadowBatches);
    state.counters["shadow_triangles"] = static_cast<double>(shadowTriangles);

    if (const char* folder = std::getenv("KB_BENCH_SHOTS")) {
        const std::string path = std::string(folder) + "/apron-" + viewName(view) + ".png";
        try {
            // The back buffer: it still holds the frame just shown, which the front one may not return.
            Ogre::RenderWindow* window = core->getRenderWindow();
            Ogre::Image image;
            image.create(Ogre::PF_BYTE_RGB, window->getWidth(), window->getHeight());
            window->copyContentsToMemory(image.getPixelBox(), image.getPixelBox(), Ogre::RenderTarget::FB_BACK);
            image.save(path);
        } catch (const Ogre::Exception& error) {
            std::cerr << "ApronFrameBench: no picture " << path << ": " << error.getDescription() << std::endl;
        }
    }
}

// Wall-clock time per frame, and the processor time of every thread of the process.
#define KB_APRON_VIEW(view, id)                                                                            \
    BENCHMARK_CAPTURE(BM_ApronFrame, view, id)                                                             \
        ->Unit(benchmark::kMillisecond)                                                                    \
        ->MeasureProcessCPUTime()                                                                          \
        ->UseRealTime()                                                                                    \
        ->MinTime(3.0)
KB_APRON_VIEW(spawn, kViewSpawn);
KB_APRON_VIEW(above, kViewAbove);
KB_APRON_VIEW(vehicle, kViewVehicle);

} // namespace
