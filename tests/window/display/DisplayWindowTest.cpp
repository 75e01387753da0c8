// The render core, cameras and input handler in a real window (Xvfb when no
// display is set). One Ogre root per process: every test shares the window
// opened once from a prepared settings file.
#include <base/Config.h>
#include <display/Core.h>
#include <display/ShadowSplitLodStrategy.h>
#include <display/cam/BaseCamera.h>
#include <display/cam/CameraManager.h>
#include <event/IListener.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <event/MouseEvent.h>
#include <file/System.h>
#include <input/Handler.h>

#include <OGRE/Bites/OgreWindowEventUtilities.h>
#include <OGRE/Ogre.h>
#include <OGRE/OgreShadowCameraSetupPSSM.h>

#include <gtest/gtest.h>

#include <dlfcn.h>
// Types only; the functions are looked up at run time so the test needs no link to Xlib.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const int kWidth = 960;
const int kHeight = 720;

std::string run(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        ::pclose(pipe);
    }
    return output;
}

struct Seen {
    bool isKey = false;
    int action = -1;
    int code = 0;
    int button = -99;
    event::MouseEvent::SMouseState state;
};

class InputRecorder : public event::IListener {
public:
    const char* Name() override { return "InputRecorder"; }
    bool HandleEvent(const event::IEvent& e) override {
        Seen s;
        if (e.event_type() == event::KeyEvent::kEventType) {
            const auto& key = static_cast<const event::KeyEvent&>(e);
            s.isKey = true;
            s.action = key.key_event_type();
            s.code = key.key();
        } else {
            const auto& mouse = static_cast<const event::MouseEvent&>(e);
            s.action = mouse.mouse_event();
            s.button = mouse.mouse_button();
            s.state = mouse.mouse_state();
        }
        seen.push_back(s);
        return false;
    }
    std::vector<Seen> seen;
};

// Services as the game creates them, on a window sized by config.xml.
class DisplayWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        file::System::set_product_name("kestrelby");
        const std::string home = file::System::GetUserDataDirectory();
        std::ofstream(home + "config.xml")
            << "<?xml version=\"1.0\" ?>\n<root>\n<Display fullscreen=\"false\" width=\"" << kWidth
            << "\" height=\"" << kHeight << "\" />\n</root>\n";
        s_config = new base::Config();
        s_events = new event::Manager();
        s_core = new display::Core();
        s_handler = new input::Handler();
        s_coreStarted = s_core->Init();
        if (s_coreStarted) {
            s_inputStarted = s_handler->init(s_core->window_handle());
            s_handler->SetWindowSize(s_core->getRenderWindow()->getWidth(),
                                     s_core->getRenderWindow()->getHeight());
            s_core->ActivateRenderWindow(true);
        }
        s_recorder = new InputRecorder();
        s_events->AddListener(*s_recorder, event::KeyEvent::kEventType);
        s_events->AddListener(*s_recorder, event::MouseEvent::kEventType);
    }
    static void TearDownTestSuite() {
        s_events->RemoveListener(*s_recorder, event::KeyEvent::kEventType);
        s_events->RemoveListener(*s_recorder, event::MouseEvent::kEventType);
        delete s_recorder;
        delete s_handler;
        delete s_core;
        delete s_config;
        delete s_events;
    }
    void SetUp() override {
        ASSERT_TRUE(s_coreStarted);
        ASSERT_NE(s_core->getRenderWindow(), nullptr);
    }

    // Runs main-loop passes (capture, deliver, pump) until the recorder holds
    // count events or two seconds have passed.
    static const std::vector<Seen>& waitForEvents(size_t count) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (s_recorder->seen.size() < count && std::chrono::steady_clock::now() < end) {
            OgreBites::WindowEventUtilities::messagePump();
            s_handler->Capture();
            s_events->Tick();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        // A short grace period shows events that should not be there.
        for (int i = 0; i < 20; ++i) {
            OgreBites::WindowEventUtilities::messagePump();
            s_handler->Capture();
            s_events->Tick();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return s_recorder->seen;
    }

    static std::string windowId() { return std::to_string(s_core->window_handle()); }

    static base::Config* s_config;
    static event::Manager* s_events;
    static display::Core* s_core;
    static input::Handler* s_handler;
    static InputRecorder* s_recorder;
    static bool s_coreStarted;
    static bool s_inputStarted;
};

base::Config* DisplayWindow::s_config = nullptr;
event::Manager* DisplayWindow::s_events = nullptr;
display::Core* DisplayWindow::s_core = nullptr;
input::Handler* DisplayWindow::s_handler = nullptr;
InputRecorder* DisplayWindow::s_recorder = nullptr;
bool DisplayWindow::s_coreStarted = false;
bool DisplayWindow::s_inputStarted = false;

TEST_F(DisplayWindow, WindowOpensWindowedAtTheConfiguredSize) {
    Ogre::RenderWindow* window = s_core->getRenderWindow();
    EXPECT_EQ(window->getName(), "Main");
    EXPECT_EQ(window->getWidth(), static_cast<unsigned int>(kWidth));
    EXPECT_EQ(window->getHeight(), static_cast<unsigned int>(kHeight));
    EXPECT_FALSE(s_core->IsFullscreen());
    EXPECT_FALSE(window->isFullScreen());
    ASSERT_NE(s_core->window_handle(), 0u);

    // The X server agrees with Ogre about the window behind the handle.
    const std::string info = run("xwininfo -id " + windowId());
    EXPECT_NE(info.find("Width: " + std::to_string(kWidth)), std::string::npos) << info;
    EXPECT_NE(info.find("Height: " + std::to_string(kHeight)), std::string::npos) << info;

    EXPECT_EQ(Ogre::Root::getSingleton().getRenderSystem()->getName(), "OpenGL 3+ Rendering Subsystem");
    EXPECT_EQ(s_core->getSceneManager()->getTypeName(), "OctreeSceneManager");
    EXPECT_EQ(s_core->getSceneManager()->getAmbientLight(), Ogre::ColourValue(0.5f, 0.5f, 0.5f, 1.0f));
    EXPECT_EQ(Ogre::TextureManager::getSingleton().getDefaultNumMipmaps(), 5u);
    // Made before the first frame and without mipmaps: generating them cost the software renderer 0.15 s.
    EXPECT_EQ(Ogre::TextureManager::getSingleton()._getWarningTexture()->getNumMipmaps(), 0u);

    std::ifstream log(file::System::GetUserDataDirectory() + "kb_o.log");
    EXPECT_TRUE(log.good());
}

TEST_F(DisplayWindow, ResolutionListComesFromTheVideoModes) {
    const auto* sizes = s_core->resolutions();
    ASSERT_NE(sizes, nullptr);
    const Ogre::ConfigOptionMap& options = Ogre::Root::getSingleton().getRenderSystem()->getConfigOptions();
    auto modes = options.find("Video Mode");
    ASSERT_NE(modes, options.end());
    std::vector<std::string> texts(modes->second.possibleValues.begin(), modes->second.possibleValues.end());
    EXPECT_EQ(*sizes, display::Core::ParseVideoModes(texts));
    ASSERT_FALSE(sizes->empty()) << "the test screen is 1280 x 1024";
    for (const Ogre::Vector2& size : *sizes) {
        EXPECT_GE(size.x, 1024.0f);
        EXPECT_GE(size.y, 768.0f);
    }
}

TEST_F(DisplayWindow, DefaultCameraFillsTheViewport) {
    auto* cameras = display::cam::CameraManager::getSingleton();
    ASSERT_NE(cameras, nullptr);
    display::cam::BaseCamera* current = cameras->getCurrentCamera();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current->camera_id(), 1u);
    EXPECT_EQ(current->camera()->getName(), "camera_1");
    EXPECT_EQ(current->camera_anchor()->getName(), "camera_1_node");
    EXPECT_EQ(current->camera()->getParentSceneNode(), current->camera_anchor());
    EXPECT_EQ(current->camera_anchor()->getParentSceneNode(), s_core->getSceneManager()->getRootSceneNode());
    EXPECT_TRUE(current->camera()->getDerivedDirection().positionEquals(Ogre::Vector3::NEGATIVE_UNIT_Z));
    EXPECT_FLOAT_EQ(current->camera()->getNearClipDistance(), 1.0f);
    EXPECT_FLOAT_EQ(current->camera()->getFarClipDistance(), 15000.0f);
    EXPECT_FLOAT_EQ(current->camera()->getAspectRatio(), static_cast<float>(kWidth) / kHeight);
    EXPECT_FALSE(cameras->SwitchCamera(1));
    cameras->RemoveCamera(1);
    EXPECT_EQ(cameras->getCurrentCamera(), current);

    Ogre::RenderWindow* window = s_core->getRenderWindow();
    ASSERT_EQ(window->getNumViewports(), 1u);
    Ogre::Viewport* viewport = window->getViewport(0);
    EXPECT_EQ(viewport->getCamera(), current->camera());
    EXPECT_EQ(viewport->getActualWidth(), kWidth);
    EXPECT_EQ(viewport->getActualHeight(), kHeight);
    EXPECT_EQ(viewport->getBackgroundColour(), Ogre::ColourValue(1.0f, 0.4f, 0.3f, 1.0f));
}

TEST_F(DisplayWindow, AddedCamerasTakeTheWindowAspectAndCanBeSwitched) {
    auto* cameras = display::cam::CameraManager::getSingleton();
    auto* extra = new display::cam::BaseCamera(5, nullptr);
    extra->InitCamera();
    extra->camera()->setAspectRatio(0.5f);
    cameras->AddCamera(5, extra);
    EXPECT_FLOAT_EQ(extra->camera()->getAspectRatio(), static_cast<float>(kWidth) / kHeight);
    ASSERT_TRUE(cameras->SwitchCamera(5));
    EXPECT_EQ(s_core->getRenderWindow()->getViewport(0)->getCamera(), extra->camera());
    s_core->OnDraw(0.016);
    ASSERT_TRUE(cameras->SwitchCamera(1));
    cameras->RemoveCamera(5);
    EXPECT_FALSE(s_core->getSceneManager()->hasCamera("camera_5"));
    EXPECT_FALSE(s_core->getSceneManager()->hasSceneNode("camera_5_node"));
}

TEST_F(DisplayWindow, RenderedFrameShowsTheViewportBackground) {
    for (int i = 0; i < 3; ++i)
        s_core->OnDraw(1.0 / 60.0);
    Ogre::RenderWindow* window = s_core->getRenderWindow();
    const unsigned int w = window->getWidth();
    const unsigned int h = window->getHeight();
    std::vector<Ogre::uchar> pixels(static_cast<size_t>(w) * h * 4);
    Ogre::PixelBox box(w, h, 1, Ogre::PF_BYTE_RGBA, pixels.data());
    window->copyContentsToMemory(box, box);
    for (const auto& point : {std::make_pair(w / 2, h / 2), std::make_pair(3u, 3u), std::make_pair(w - 4, h - 4)}) {
        const Ogre::ColourValue colour = box.getColourAt(point.first, point.second, 0);
        EXPECT_NEAR(colour.r, 1.0f, 0.01f) << point.first << "," << point.second;
        EXPECT_NEAR(colour.g, 0.4f, 0.01f);
        EXPECT_NEAR(colour.b, 0.3f, 0.01f);
    }
    if (const char* shot = std::getenv("KB_DISPLAY_SHOT"))
        window->writeContentsToFile(shot);
}

TEST_F(DisplayWindow, ResourceGroupsAreCreatedAndInitialised) {
    char pattern[] = "/tmp/kb_display_res_XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    std::ofstream(dir + "/late.material") << "material LateMaterial\n{\n technique\n {\n  pass\n  {\n  }\n }\n}\n";
    s_core->AddResourceGroup("LateGroup");
    EXPECT_TRUE(Ogre::ResourceGroupManager::getSingleton().resourceGroupExists("LateGroup"));
    s_core->AddResourceFolder(dir, "LateGroup");
    // A missing archive is reported, not thrown.
    s_core->AddResourceZip(dir + "/missing.zip", "LateGroup");
    EXPECT_FALSE(Ogre::MaterialManager::getSingleton().getByName("LateMaterial"));
    EXPECT_TRUE(s_core->InitResourceGroup(""));
    EXPECT_TRUE(Ogre::MaterialManager::getSingleton().getByName("LateMaterial"));
    EXPECT_TRUE(s_core->InitResourceGroup("LateGroup"));
    std::system(("rm -rf '" + dir + "'").c_str());
}

// Minimal receiver programs and caster, as the world's assets provide them.
void writeShadowResources(const std::string& dir) {
    std::ofstream(dir + "/pssm_receiver_vp.glsl") <<
        "#version 150\n"
        "in vec4 vertex;\n"
        "uniform mat4 worldViewProj;\n"
        "out float depth;\n"
        "void main() { gl_Position = worldViewProj * vertex; depth = gl_Position.z; }\n";
    std::ofstream(dir + "/pssm_receiver_fp.glsl") <<
        "#version 150\n"
        "in float depth;\n"
        "uniform vec4 pssmSplitPoints;\n"
        "uniform sampler2D shadowMap0;\n"
        "uniform sampler2D shadowMap1;\n"
        "uniform sampler2D shadowMap2;\n"
        "out vec4 fragColour;\n"
        "void main() {\n"
        "  float s = depth <= pssmSplitPoints.y ? texture(shadowMap0, vec2(0.5)).r\n"
        "          : depth <= pssmSplitPoints.z ? texture(shadowMap1, vec2(0.5)).r\n"
        "          : texture(shadowMap2, vec2(0.5)).r;\n"
        "  fragColour = vec4(vec3(clamp(s, 0.0, 1.0)), 1.0);\n"
        "}\n";
    std::ofstream(dir + "/pssm.program") <<
        "vertex_program Ogre/shadow/receiver/depth/pssm3/vp glsl\n{\n source pssm_receiver_vp.glsl\n"
        " default_params\n {\n  param_named_auto worldViewProj worldviewproj_matrix\n }\n}\n"
        "fragment_program Ogre/shadow/receiver/depth/pssm3/fp glsl\n{\n source pssm_receiver_fp.glsl\n"
        " default_params\n {\n  param_named shadowMap0 int 0\n  param_named shadowMap1 int 1\n"
        "  param_named shadowMap2 int 2\n }\n}\n";
    std::ofstream(dir + "/caster_vp.glsl") <<
        "#version 150\n"
        "in vec4 vertex;\n"
        "uniform mat4 worldViewProj;\n"
        "out float depth;\n"
        "void main() { gl_Position = worldViewProj * vertex; depth = gl_Position.z; }\n";
    std::ofstream(dir + "/caster_fp.glsl") <<
        "#version 150\n"
        "in float depth;\n"
        "out vec4 fragColour;\n"
        "void main() { fragColour = vec4(depth, 0.0, 0.0, 1.0); }\n";
    std::ofstream(dir + "/caster.program") <<
        "vertex_program TestCasterVp glsl\n{\n source caster_vp.glsl\n"
        " default_params\n {\n  param_named_auto worldViewProj worldviewproj_matrix\n }\n}\n"
        "fragment_program TestCasterFp glsl\n{\n source caster_fp.glsl\n}\n";
    std::ofstream(dir + "/pssm.material") <<
        "material Ogre/shadow/depth/caster\n{\n technique\n {\n  pass\n  {\n"
        "   vertex_program_ref TestCasterVp\n   {\n   }\n"
        "   fragment_program_ref TestCasterFp\n   {\n   }\n  }\n }\n}\n";
}

TEST_F(DisplayWindow, ShadowReceiverMaterialIsBuiltOnceWithThreeShadowUnits) {
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    Ogre::MaterialPtr ground = materials.create("TestGround", Ogre::RGN_DEFAULT);
    ground->getTechnique(0)->getPass(0)->createTextureUnitState();
    ASSERT_EQ(ground->getTechnique(0)->getPass(0)->getNumTextureUnitStates(), 1u);

    // Without the receiver programs the material comes back unchanged and no half-built variant stays.
    ASSERT_FALSE(Ogre::HighLevelGpuProgramManager::getSingleton().getByName(
        "Ogre/shadow/receiver/depth/pssm3/fp", Ogre::RGN_AUTODETECT));
    EXPECT_EQ(s_core->BuildPSSMMaterial(ground), ground);
    EXPECT_FALSE(materials.getByName("PSSMMaterial/TestGround"));

    char pattern[] = "/tmp/kb_display_pssm_XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    writeShadowResources(dir);
    s_core->AddResourceGroup("ShadowTest");
    s_core->AddResourceFolder(dir, "ShadowTest");
    ASSERT_TRUE(s_core->InitResourceGroup("ShadowTest"));

    Ogre::MaterialPtr receiver = s_core->BuildPSSMMaterial(ground);
    ASSERT_TRUE(receiver);
    EXPECT_EQ(receiver->getName(), "PSSMMaterial/TestGround");
    EXPECT_EQ(receiver->getGroup(), ground->getGroup());
    EXPECT_EQ(s_core->BuildPSSMMaterial(ground), receiver);

    Ogre::Technique* technique = receiver->getTechnique(0);
    ASSERT_TRUE(technique->getShadowCasterMaterial());
    EXPECT_EQ(technique->getShadowCasterMaterial()->getName(), "Ogre/shadow/depth/caster");
    Ogre::Pass* pass = technique->getPass(0);
    EXPECT_EQ(pass->getVertexProgramName(), "Ogre/shadow/receiver/depth/pssm3/vp");
    EXPECT_EQ(pass->getFragmentProgramName(), "Ogre/shadow/receiver/depth/pssm3/fp");
    ASSERT_EQ(pass->getNumTextureUnitStates(), 4u);
    for (unsigned short i = 0; i < 3; ++i) {
        Ogre::TextureUnitState* unit = pass->getTextureUnitState(static_cast<unsigned short>(i + 1));
        EXPECT_EQ(unit->getName(), "shadow" + std::to_string(i));
        EXPECT_EQ(unit->getContentType(), Ogre::TextureUnitState::CONTENT_SHADOW);
        EXPECT_EQ(unit->getTextureAddressingMode().u, Ogre::TAM_BORDER);
        EXPECT_EQ(unit->getTextureAddressingMode().v, Ogre::TAM_BORDER);
        EXPECT_EQ(unit->getTextureBorderColour(), Ogre::ColourValue::White);
    }
    // The original material is left as it was.
    EXPECT_EQ(ground->getTechnique(0)->getPass(0)->getNumTextureUnitStates(), 1u);

    // The split points reach the fragment program in order.
    Ogre::GpuProgramParametersSharedPtr params = pass->getFragmentProgramParameters();
    const Ogre::GpuConstantDefinition* splits = params->_findNamedConstantDefinition("pssmSplitPoints");
    ASSERT_NE(splits, nullptr);
    const float* values = params->getFloatPointer(splits->physicalIndex);
    const auto& points = display::cam::CameraManager::getSingleton()->shadow_camera_setup()->getSplitPoints();
    for (size_t i = 0; i < 4; ++i)
        EXPECT_FLOAT_EQ(values[i], points[i]) << i;
    EXPECT_FLOAT_EQ(values[0], 1.0f);
    EXPECT_NEAR(values[1], 37.27f, 0.01f);
    EXPECT_NEAR(values[2], 120.52f, 0.01f);
    EXPECT_FLOAT_EQ(values[3], 600.0f);
    std::system(("rm -rf '" + dir + "'").c_str());
}

// The vertex-lit receiver pair replaces the per-pixel one where the profile
// asks for it and the resources have it.
TEST_F(DisplayWindow, ShadowReceiverLightsWhereTheProfileSays) {
    char pattern[] = "/tmp/kb_display_vertexlit_XXXXXX";
    const std::string dir = ::mkdtemp(pattern);
    writeShadowResources(dir);
    // The same minimal programs under the vertex-lit names, in a group of their own.
    std::ifstream in(dir + "/pssm.program");
    std::string programs((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (size_t at = programs.find("pssm3/"); at != std::string::npos; at = programs.find("pssm3/", at + 1))
        programs.insert(at + 6, "vertexlit/");
    for (const char* file : {"caster.program", "pssm.material", "caster_vp.glsl", "caster_fp.glsl"})
        std::remove((dir + "/" + file).c_str());
    std::ofstream(dir + "/pssm.program") << programs;
    s_core->AddResourceGroup("VertexLitTest");
    s_core->AddResourceFolder(dir, "VertexLitTest");
    ASSERT_TRUE(s_core->InitResourceGroup("VertexLitTest"));
    ASSERT_TRUE(Ogre::HighLevelGpuProgramManager::getSingleton().getByName(
        "Ogre/shadow/receiver/depth/pssm3/vertexlit/fp", Ogre::RGN_AUTODETECT));

    Ogre::MaterialPtr ground = Ogre::MaterialManager::getSingleton().create("TestLitGround", Ogre::RGN_DEFAULT);
    ground->getTechnique(0)->getPass(0)->createTextureUnitState();
    Ogre::MaterialPtr receiver = s_core->BuildPSSMMaterial(ground);
    ASSERT_TRUE(receiver);
    ASSERT_NE(receiver, ground);
    const std::string expected = s_core->render_profile().vertex_lighting()
                                     ? "Ogre/shadow/receiver/depth/pssm3/vertexlit/"
                                     : "Ogre/shadow/receiver/depth/pssm3/";
    Ogre::Pass* pass = receiver->getTechnique(0)->getPass(0);
    EXPECT_EQ(pass->getVertexProgramName(), expected + "vp");
    EXPECT_EQ(pass->getFragmentProgramName(), expected + "fp");
    EXPECT_EQ(pass->getNumTextureUnitStates(), 4u);

    // Vertex-lit receivers get one level per split they can start beyond, chosen
    // by view depth at the split points, each with its own program and the splits.
    if (s_core->render_profile().vertex_lighting()) {
        ASSERT_TRUE(receiver->getLodStrategy());
        EXPECT_EQ(receiver->getLodStrategy()->getName(), display::ShadowSplitLodStrategy::kName);
        const auto& points = display::cam::CameraManager::getSingleton()->shadow_camera_setup()->getSplitPoints();
        ASSERT_EQ(receiver->getUserLodValues().size(), 3u);
        EXPECT_FLOAT_EQ(receiver->getUserLodValues()[1], points[1]);
        EXPECT_FLOAT_EQ(receiver->getUserLodValues()[2], points[2]);
        ASSERT_EQ(receiver->getNumTechniques(), 3u);
        for (unsigned short level = 0; level < 3; ++level) {
            Ogre::Technique* technique = receiver->getTechnique(level);
            EXPECT_EQ(technique->getLodIndex(), level);
            ASSERT_TRUE(technique->getShadowCasterMaterial());
            Ogre::Pass* levelPass = technique->getPass(0);
            EXPECT_EQ(levelPass->getFragmentProgramName(),
                      expected + "fp" + (level ? "/from" + std::to_string(level) : std::string()));
            EXPECT_EQ(levelPass->getVertexProgramName(), expected + "vp");
            EXPECT_EQ(levelPass->getNumTextureUnitStates(), 4u);
            Ogre::GpuProgramParametersSharedPtr params = levelPass->getFragmentProgramParameters();
            const Ogre::GpuConstantDefinition* splits = params->_findNamedConstantDefinition("pssmSplitPoints");
            ASSERT_NE(splits, nullptr);
            EXPECT_FLOAT_EQ(params->getFloatPointer(splits->physicalIndex)[2], points[2]) << level;
        }
        // A second material shares the programs built for the first.
        Ogre::MaterialPtr other = Ogre::MaterialManager::getSingleton().create("TestLitWall", Ogre::RGN_DEFAULT);
        EXPECT_EQ(s_core->BuildPSSMMaterial(other)->getTechnique(2)->getPass(0)->getFragmentProgramName(),
                  expected + "fp/from2");
    } else {
        EXPECT_EQ(receiver->getNumTechniques(), 1u);
    }
    std::system(("rm -rf '" + dir + "'").c_str());
}

TEST_F(DisplayWindow, ParallelSplitShadowsAreSetOnTheSceneManager) {
    Ogre::SceneManager* scene = s_core->getSceneManager();
    s_core->EnablePSSM();
    EXPECT_EQ(scene->getShadowTechnique(), Ogre::SHADOWTYPE_TEXTURE_MODULATIVE_INTEGRATED);
    EXPECT_FLOAT_EQ(scene->getShadowFarDistance(), 600.0f);
    const Ogre::ShadowTextureConfigList& configs = scene->getShadowTextureConfigList();
    ASSERT_EQ(configs.size(), 3u);
    // Square depth maps of the sizes the renderer's profile asks for.
    for (unsigned int i = 0; i < 3; ++i) {
        EXPECT_EQ(configs[i].width, s_core->render_profile().shadow_texture_size(i)) << i;
        EXPECT_EQ(configs[i].height, configs[i].width) << i;
        EXPECT_EQ(configs[i].format, Ogre::PF_DEPTH32F) << i;
    }
    EXPECT_GE(configs[0].width, configs[2].width);
    EXPECT_FALSE(scene->getShadowTextureSelfShadow());
    EXPECT_FALSE(scene->getShadowCasterRenderBackFaces());
    EXPECT_EQ(scene->getShadowCameraSetup().get(),
              display::cam::CameraManager::getSingleton()->shadow_camera_setup().get());

    // A lit scene with a receiving entity renders through the receiver programs.
    Ogre::Light* sun = scene->createLight("TestSun");
    sun->setType(Ogre::Light::LT_DIRECTIONAL);
    scene->getRootSceneNode()->createChildSceneNode()->attachObject(sun);
    sun->getParentSceneNode()->setDirection(Ogre::Vector3(0.3f, -1.0f, -0.2f), Ogre::Node::TS_WORLD);
    Ogre::Entity* plane = scene->createEntity("TestPlane", Ogre::SceneManager::PT_PLANE);
    plane->setMaterial(s_core->BuildPSSMMaterial(Ogre::MaterialManager::getSingleton().getByName("TestGround")));
    Ogre::SceneNode* node = scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(0, 0, -300));
    node->attachObject(plane);
    ::testing::internal::CaptureStderr();
    s_core->OnDraw(0.016);
    s_core->OnDraw(0.016);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(errors.find("OnDraw"), std::string::npos) << errors;
    scene->destroySceneNode(node);
    scene->destroyEntity(plane);
    scene->destroyLight(sun);
    scene->setShadowTechnique(Ogre::SHADOWTYPE_NONE);
}

TEST_F(DisplayWindow, KeysSentToTheWindowArriveWithTheirCodes) {
    ASSERT_TRUE(s_inputStarted);
    ASSERT_EQ(std::system(("xdotool windowfocus --sync " + windowId()).c_str()), 0);
    waitForEvents(1000000);  // drain whatever the focus change produced
    s_recorder->seen.clear();

    ASSERT_EQ(std::system("xdotool key Up space"), 0);
    const auto& seen = waitForEvents(4);
    std::vector<std::pair<int, int>> keys;
    for (const Seen& s : seen)
        if (s.isKey)
            keys.emplace_back(s.action, s.code);
    const std::vector<std::pair<int, int>> expected = {
        {event::KeyEvent::KEY_PRESSED, 200}, {event::KeyEvent::KEY_RELEASED, 200},
        {event::KeyEvent::KEY_PRESSED, 57}, {event::KeyEvent::KEY_RELEASED, 57}};
    EXPECT_EQ(keys, expected);

    s_recorder->seen.clear();
    ASSERT_EQ(std::system("xdotool keydown Escape keyup Escape"), 0);
    keys.clear();
    for (const Seen& s : waitForEvents(1))
        if (s.isKey)
            keys.emplace_back(s.action, s.code);
    const std::vector<std::pair<int, int>> escape = {{event::KeyEvent::KEY_RELEASED, 1}};
    EXPECT_EQ(keys, escape);
}

TEST_F(DisplayWindow, MouseButtonsArriveWithTheirPositions) {
    ASSERT_TRUE(s_inputStarted);
    ASSERT_EQ(std::system(("xdotool windowfocus --sync " + windowId()).c_str()), 0);
    ASSERT_EQ(std::system(("xdotool mousemove --window " + windowId() + " --sync 300 200").c_str()), 0);
    waitForEvents(1000000);
    s_recorder->seen.clear();

    // The position is the pointer's own position in the window.
    ASSERT_EQ(std::system(("xdotool mousemove --window " + windowId() + " --sync 420 260").c_str()), 0);
    const auto& moves = waitForEvents(1);
    ASSERT_FALSE(moves.empty());
    const Seen move = moves.back();
    EXPECT_FALSE(move.isKey);
    EXPECT_EQ(move.action, event::MouseEvent::MOUSE_MOVED);
    EXPECT_EQ(move.button, event::MouseEvent::MOUSE_BUTTON_NONE);
    EXPECT_FLOAT_EQ(move.state.abs_x, 420.0f);
    EXPECT_FLOAT_EQ(move.state.abs_y, 260.0f);
    float movedX = 0.0f, movedY = 0.0f;
    for (const Seen& s : moves) {
        movedX += s.state.rel_x;
        movedY += s.state.rel_y;
    }
    EXPECT_FLOAT_EQ(movedX, 120.0f);
    EXPECT_FLOAT_EQ(movedY, 60.0f);

    // Left and right arrive in order, the middle button not at all.
    s_recorder->seen.clear();
    ASSERT_EQ(std::system("xdotool click 1 click 3 click 2"), 0);
    const auto& seen = waitForEvents(4);
    ASSERT_EQ(seen.size(), 4u);
    const int actions[] = {event::MouseEvent::MOUSE_PRESSED, event::MouseEvent::MOUSE_RELEASED,
                           event::MouseEvent::MOUSE_PRESSED, event::MouseEvent::MOUSE_RELEASED};
    const int ids[] = {event::MouseEvent::MOUSE_BUTTON_LEFT, event::MouseEvent::MOUSE_BUTTON_LEFT,
                       event::MouseEvent::MOUSE_BUTTON_RIGHT, event::MouseEvent::MOUSE_BUTTON_RIGHT};
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_FALSE(seen[i].isKey);
        EXPECT_EQ(seen[i].action, actions[i]) << i;
        EXPECT_EQ(seen[i].button, ids[i]) << i;
        EXPECT_FLOAT_EQ(seen[i].state.abs_x, 420.0f) << i;
        EXPECT_FLOAT_EQ(seen[i].state.abs_y, 260.0f) << i;
    }
}

TEST_F(DisplayWindow, MousePositionIsClippedToTheWindowSize) {
    ASSERT_TRUE(s_inputStarted);
    s_handler->SetWindowSize(400, 300);
    ASSERT_EQ(std::system(("xdotool windowfocus --sync " + windowId()).c_str()), 0);
    s_recorder->seen.clear();
    ASSERT_EQ(std::system(("xdotool mousemove --window " + windowId() + " --sync 700 500").c_str()), 0);
    const auto& seen = waitForEvents(1);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().action, event::MouseEvent::MOUSE_MOVED);
    EXPECT_FLOAT_EQ(seen.back().state.abs_x, 400.0f);
    EXPECT_FLOAT_EQ(seen.back().state.abs_y, 300.0f);
    s_handler->SetWindowSize(kWidth, kHeight);
}

// Asks the window to close the way a window manager's close button does, after
// checking that the window announces that it understands the request.
bool sendCloseRequest(unsigned long window) {
    void* x11 = ::dlopen("libX11.so.6", RTLD_NOW);
    if (!x11)
        return false;
    auto openDisplay = reinterpret_cast<Display* (*)(const char*)>(::dlsym(x11, "XOpenDisplay"));
    auto internAtom = reinterpret_cast<Atom (*)(Display*, const char*, int)>(::dlsym(x11, "XInternAtom"));
    auto sendEvent = reinterpret_cast<int (*)(Display*, Window, int, long, XEvent*)>(::dlsym(x11, "XSendEvent"));
    auto flush = reinterpret_cast<int (*)(Display*)>(::dlsym(x11, "XFlush"));
    auto closeDisplay = reinterpret_cast<int (*)(Display*)>(::dlsym(x11, "XCloseDisplay"));
    if (!openDisplay || !internAtom || !sendEvent || !flush || !closeDisplay)
        return false;
    Display* display = openDisplay(nullptr);
    if (!display)
        return false;
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = window;
    request.xclient.message_type = internAtom(display, "WM_PROTOCOLS", 0);
    request.xclient.format = 32;
    const Atom deleteAtom = internAtom(display, "WM_DELETE_WINDOW", 0);
    request.xclient.data.l[0] = static_cast<long>(deleteAtom);
    request.xclient.data.l[1] = CurrentTime;
    const bool sent = sendEvent(display, window, 0, NoEventMask, &request) != 0;
    flush(display);
    closeDisplay(display);
    return sent;
}

// Runs last in its suite: the window is gone afterwards.
TEST_F(DisplayWindow, ClosingTheWindowEndsDrawingWithOneMessage) {
    EXPECT_FALSE(s_core->IsWindowClosed());
    // A window manager sends the close request only to windows that list it.
    const std::string protocols = run("xprop -id " + windowId() + " WM_PROTOCOLS");
    EXPECT_NE(protocols.find("WM_DELETE_WINDOW"), std::string::npos) << protocols;
    ASSERT_TRUE(sendCloseRequest(static_cast<unsigned long>(s_core->window_handle())));
    ::testing::internal::CaptureStderr();
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (!s_core->IsWindowClosed() && std::chrono::steady_clock::now() < end) {
        s_core->OnDraw(0.016);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Further frames after the close draw nothing and say nothing more.
    s_core->OnDraw(0.016);
    s_core->OnDraw(0.016);
    const std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(s_core->IsWindowClosed());
    EXPECT_EQ(errors, "display::Core - the render window was closed\n");
    EXPECT_TRUE(s_core->getRenderWindow()->isClosed());
}

// With no settings file the window opens at 1024 x 768 in full-screen mode. Runs
// in a fresh process, whose private user directory holds no settings yet.
TEST(DisplayDefaults, NoSettingsFileOpensFullScreenAt1024x768) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            file::System::set_product_name("kestrelby");
            base::Config config;
            display::Core core;
            int failures = 0;
            if (!core.Init())
                std::_Exit(10);
            Ogre::RenderWindow* window = core.getRenderWindow();
            failures += core.IsFullscreen() ? 0 : 1;
            failures += window->isFullScreen() ? 0 : 2;
            failures += window->getWidth() == 1024 ? 0 : 4;
            failures += window->getHeight() == 768 ? 0 : 8;
            failures += config.getInt("Display", "width", 0) == 1024 ? 0 : 16;
            std::fprintf(stderr, "window %ux%u full screen %d\n", window->getWidth(), window->getHeight(),
                         window->isFullScreen() ? 1 : 0);
            std::_Exit(failures);
        },
        ::testing::ExitedWithCode(0), "window 1024x768 full screen 1");
}

// Builds the scene of the tests below in a fresh process, the box and ground
// distance metres ahead; returns the exit code.
int renderShadowScene(const std::string& archive, float distance) {
    file::System::set_product_name("kestrelby");
    std::ofstream(file::System::GetUserDataDirectory() + "config.xml")
        << "<?xml version=\"1.0\" ?>\n<root>\n<Display fullscreen=\"false\" width=\"800\" "
           "height=\"600\" />\n</root>\n";
    base::Config config;
    display::Core core;
    if (!core.Init())
        return 10;
    core.AddResourceZip(archive, "General");
    core.AddResourceFolder("../assets/custom_textures", "General");
    if (!core.InitResourceGroup("General"))
        return 11;
    core.EnablePSSM();
    // The game core switches to additive integrated shadows and a longer reach right after.
    Ogre::SceneManager* scene = core.getSceneManager();
    scene->setShadowTechnique(Ogre::SHADOWTYPE_TEXTURE_ADDITIVE_INTEGRATED);
    scene->setShadowFarDistance(3000);

    Ogre::MaterialPtr base = Ogre::MaterialManager::getSingleton().getByName("mat_cat_cab");
    if (!base)
        return 12;
    Ogre::MaterialPtr receiver = core.BuildPSSMMaterial(base);
    if (receiver == base)
        return 13;

    Ogre::Light* sun = scene->createLight("Sun");
    sun->setType(Ogre::Light::LT_DIRECTIONAL);
    sun->setCastShadows(true);
    Ogre::SceneNode* sunNode = scene->getRootSceneNode()->createChildSceneNode();
    sunNode->attachObject(sun);
    // Slanted, so the shadow falls beside the box: from x = 0 to x = 20 on the ground.
    sunNode->setDirection(Ogre::Vector3(1.0f, -1.0f, 0.0f), Ogre::Node::TS_WORLD);

    Ogre::Entity* ground = scene->createEntity("Ground", Ogre::SceneManager::PT_PLANE);
    ground->setMaterial(receiver);
    ground->setCastShadows(false);
    Ogre::SceneNode* groundNode = scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(0, -10, -distance));
    groundNode->pitch(Ogre::Degree(-90));
    groundNode->setScale(0.5f, 0.5f, 0.5f);
    groundNode->attachObject(ground);

    Ogre::Entity* box = scene->createEntity("Box", Ogre::SceneManager::PT_CUBE);
    box->setMaterial(receiver);
    box->setCastShadows(true);
    Ogre::SceneNode* boxNode = scene->getRootSceneNode()->createChildSceneNode(Ogre::Vector3(0, 0, -distance));
    boxNode->setScale(0.1f, 0.1f, 0.1f);
    boxNode->attachObject(box);

    auto* camera = display::cam::CameraManager::getSingleton()->getCurrentCamera();
    camera->camera_anchor()->setPosition(0, 20, 0);
    camera->camera_anchor()->lookAt(Ogre::Vector3(0, -10, -distance), Ogre::Node::TS_WORLD);

    for (int i = 0; i < 3; ++i)
        core.OnDraw(1.0 / 60.0);
    Ogre::RenderWindow* window = core.getRenderWindow();
    if (const char* shot = std::getenv("KB_SHADOW_SHOT"))
        window->writeContentsToFile(shot);

    // Brightness of the ground in the box's shadow against open ground at the same depth.
    const unsigned int w = window->getWidth(), h = window->getHeight();
    std::vector<Ogre::uchar> pixels(static_cast<size_t>(w) * h * 4);
    Ogre::PixelBox box2d(w, h, 1, Ogre::PF_BYTE_RGBA, pixels.data());
    window->copyContentsToMemory(box2d, box2d);
    auto brightness = [&](Ogre::Vector3 world) {
        const Ogre::Vector3 p = camera->camera()->getProjectionMatrix() *
                                (camera->camera()->getViewMatrix() * world);
        const float sx = Ogre::Math::Clamp((p.x * 0.5f + 0.5f) * static_cast<float>(w), 0.0f, static_cast<float>(w - 1));
        const float sy = Ogre::Math::Clamp((0.5f - p.y * 0.5f) * static_cast<float>(h), 0.0f, static_cast<float>(h - 1));
        const size_t x = static_cast<size_t>(sx);
        const size_t y = static_cast<size_t>(sy);
        const Ogre::ColourValue c = box2d.getColourAt(x, y, 0);
        return c.r + c.g + c.b;
    };
    const float shadowed = brightness(Ogre::Vector3(14, -10, -distance));
    const float open = brightness(Ogre::Vector3(-25, -10, -distance));
    std::fprintf(stderr, "shadowed %.3f open %.3f\n", shadowed, open);
    if (!(shadowed < open * 0.8f))
        return 20;
    // Vertex-lit receivers wholly beyond the second split read the last map only.
    if (core.render_profile().vertex_lighting()) {
        const auto& points = display::cam::CameraManager::getSingleton()->shadow_camera_setup()->getSplitPoints();
        const unsigned short level = distance - 50.0f > points[2] ? 2 : 0;
        if (ground->getSubEntity(0)->getTechnique()->getLodIndex() != level)
            return 21;
    }
    return 0;
}

// The world's own shadow programs and caster, on a lit ground with a box
// above it: the ground under the box must come out darker than the open
// ground. Runs in a fresh process so the assets meet no test programs.
class DisplayWorldShadows : public ::testing::TestWithParam<float> {};

TEST_P(DisplayWorldShadows, BoxCastsAParallelSplitShadowOnTheGround) {
    const std::string archive = "../assets/assets.pip";
    if (!std::ifstream(archive).good())
        GTEST_SKIP() << "no world assets at " << archive;
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(renderShadowScene(archive, GetParam())), ::testing::ExitedWithCode(0), "shadowed");
}

// In the nearest split, and beyond the second, where receivers use their farthest level.
INSTANTIATE_TEST_SUITE_P(NearAndFar, DisplayWorldShadows, ::testing::Values(40.0f, 200.0f));

// Start-up without a usable display ends with one line on the error stream, not an exception.
TEST(DisplayStartFailure, InitReportsFalseWithAMessage) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ::setenv("DISPLAY", ":987", 1);
            file::System::set_product_name("kestrelby");
            base::Config config;
            display::Core core;
            std::_Exit(core.Init() ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "display::Core::Init - ");
}

} // namespace
