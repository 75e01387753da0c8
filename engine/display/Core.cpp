#include "display/Core.h"

#include "base/Config.h"
#include "base/StartupTrace.h"
#include "display/cam/BaseCamera.h"
#include "display/cam/CameraManager.h"
#include "display/DriverPin.h"
#include "display/ShadowSplitLodStrategy.h"
#include "display/WindowCloseWatch.h"
#include "file/System.h"
#include "sound/Manager.h"

#include <OGRE/Bites/OgreWindowEventUtilities.h>
#include <OGRE/Ogre.h>
#include <OGRE/OgreLodStrategyManager.h>
#include <OGRE/OgreShadowCameraSetupPSSM.h>

#include <cctype>
#include <cstdlib>
#include <exception>
#include <iostream>

DW_SINGLETON_DEFINE(display::Core)

namespace display {

namespace {
const char* const kSection = "Display";
const int kDefaultWidth = 1024;
const int kDefaultHeight = 768;
const char* const kLogFile = "kb_o.log";
const char* const kRenderSystemPlugin = "RenderSystem_GL3Plus";
const char* const kRenderSystemName = "OpenGL 3+ Rendering Subsystem";
const char* const kSceneManagerPlugin = "Plugin_OctreeSceneManager";
const char* const kSceneManagerType = "OctreeSceneManager";
// Ogre on Linux decodes images through a codec plug-in; Windows builds have it built in.
const char* const kImageCodecPlugins[] = {"Codec_STBI", "Codec_FreeImage"};
const char* const kShadowMediaDir = KB_OGRE_MEDIA_DIR "/ShadowVolume";
const char* const kCasterMaterial = "Ogre/shadow/depth/caster";
const char* const kReceiverVertexProgram = "Ogre/shadow/receiver/depth/pssm3/vp";
const char* const kReceiverFragmentProgram = "Ogre/shadow/receiver/depth/pssm3/fp";
const char* const kVertexLitReceiverVertexProgram = "Ogre/shadow/receiver/depth/pssm3/vertexlit/vp";
const char* const kVertexLitReceiverFragmentProgram = "Ogre/shadow/receiver/depth/pssm3/vertexlit/fp";
const char* const kPSSMPrefix = "PSSMMaterial/";
const size_t kShadowTextureCount = 3;
// Depth textures: the casters fill the depth buffer only. Measured on llvmpipe,
// a float colour map besides it cost 12-17 % of a frame to clear and write.
const Ogre::PixelFormat kShadowFormat = Ogre::PF_DEPTH32F;
// Names "hardware" or "software" to override the profile chosen from the renderer.
const char* const kProfileVariable = "KB_RENDER_PROFILE";

// The vertex-lit receiver without the look-ups of the splits before first,
// built once from the same source; empty when the full program is missing.
Ogre::String fromSplitProgram(unsigned short first) {
    Ogre::HighLevelGpuProgramManager& programs = Ogre::HighLevelGpuProgramManager::getSingleton();
    const Ogre::String name = std::string(kVertexLitReceiverFragmentProgram) + "/from" +
                              Ogre::StringConverter::toString(first);
    if (programs.getByName(name, Ogre::RGN_AUTODETECT))
        return name;
    Ogre::HighLevelGpuProgramPtr full = programs.getByName(kVertexLitReceiverFragmentProgram, Ogre::RGN_AUTODETECT);
    if (!full)
        return "";
    Ogre::HighLevelGpuProgramPtr variant =
        programs.createProgram(name, full->getGroup(), full->getLanguage(), Ogre::GPT_FRAGMENT_PROGRAM);
    variant->setSourceFile(full->getSourceFile());
    variant->setPreprocessorDefines("FIRST_SPLIT=" + Ogre::StringConverter::toString(first));
    variant->getDefaultParameters()->copyMatchingNamedConstantsFrom(*full->getDefaultParameters());
    return name;
}

// Reads an unsigned decimal number: leading blanks skipped, stops at the first non-digit.
unsigned long readNumber(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos])))
        ++pos;
    unsigned long value = 0;
    for (; pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])); ++pos)
        value = value * 10 + static_cast<unsigned long>(text[pos] - '0');
    return value;
}

void report(const std::string& where, const std::string& what) {
    std::cerr << "display::Core::" << where << " - " << what << std::endl;
}

} // namespace

Core::Core()
    : m_windowHandle(0), m_root(nullptr), m_renderSystem(nullptr), m_renderWindow(nullptr),
      m_sceneManager(nullptr), m_cameraManager(nullptr), m_soundManager(nullptr),
      m_fullscreen(true), m_logManager(nullptr), m_windowWatch(nullptr), m_windowClosed(false) {
    if (base::Config* config = base::Config::getSingleton())
        m_fullscreen = config->getBool(kSection, "fullscreen", true);
}

Core::~Core() {
    delete m_cameraManager;
    m_cameraManager = nullptr;
    delete m_soundManager;
    m_soundManager = nullptr;
    delete m_windowWatch;
    m_windowWatch = nullptr;
    if (m_shadowSplitLod && Ogre::LodStrategyManager::getSingletonPtr())
        Ogre::LodStrategyManager::getSingleton().removeStrategy(m_shadowSplitLod->getName());
    try {
        delete m_root;
    } catch (const std::exception& e) {
        report("~Core", e.what());
    }
    m_root = nullptr;
    m_shadowSplitLod.reset();
    m_renderSystem = nullptr;
    m_renderWindow = nullptr;
    m_sceneManager = nullptr;
    delete m_logManager;
    m_logManager = nullptr;
    m_resolutions.clear();
}

bool Core::Init() {
    bool started = false;
    try {
        started = initOGRE();
    } catch (const Ogre::Exception& e) {
        report("Init", e.getDescription());
    } catch (const std::exception& e) {
        report("Init", e.what());
    }
    if (!started)
        return false;
    m_cameraManager = new cam::CameraManager();
    try {
        return m_cameraManager->Init();
    } catch (const std::exception& e) {
        report("Init", e.what());
        return false;
    }
}

bool Core::initOGRE() {
    // Ogre's log goes to the file only; its console echo would bury our own diagnostics.
    const std::string logPath = file::System::GetUserDataDirectory() + kLogFile;
    m_logManager = new Ogre::LogManager();
    m_logManager->createLog(logPath, true, false, false);
    m_root = new Ogre::Root("", "", logPath);
    m_shadowSplitLod.reset(new ShadowSplitLodStrategy());
    Ogre::LodStrategyManager::getSingleton().addStrategy(m_shadowSplitLod.get());

    m_root->loadPlugin(std::string(file::System::kPluginDir) + kRenderSystemPlugin);
    m_renderSystem = m_root->getRenderSystemByName(kRenderSystemName);
    if (!m_renderSystem) {
        report("Init", std::string("no render system \"") + kRenderSystemName + "\"");
        return false;
    }
    Ogre::LogManager::getSingleton().logMessage(
        "Direct3D 9 is not available on this platform, using " + std::string(kRenderSystemName));

    m_root->setRenderSystem(m_renderSystem);
    m_root->initialise(false, "OGRE Render Window");
    Ogre::LogManager::getSingleton().setLogDetail(Ogre::LL_NORMAL);
    base::StartupTrace::Mark("rendering engine and its render system loaded");

    int width = kDefaultWidth;
    int height = kDefaultHeight;
    if (base::Config* config = base::Config::getSingleton()) {
        width = config->getInt(kSection, "width", kDefaultWidth);
        height = config->getInt(kSection, "height", kDefaultHeight);
    }
    if (width <= 0 || height <= 0) {
        // The window system rejects an empty window outright; a damaged file must not stop the game.
        report("Init", "unusable window size in the settings, using 1024 x 768");
        width = kDefaultWidth;
        height = kDefaultHeight;
    }

    Ogre::NameValuePairList params;
    params["border"] = "fixed";
    m_renderWindow = m_root->createRenderWindow("Main", static_cast<unsigned int>(width),
                                                static_cast<unsigned int>(height), m_fullscreen,
                                                &params);
    if (!m_renderWindow) {
        report("Init", "no render window");
        return false;
    }
    DriverPin::Hold();
    // Before any material script is read: the scripts leave texture filtering to the renderer.
    chooseRenderProfile();

    m_windowWatch = new WindowCloseWatch(m_renderWindow);
    if (!m_windowWatch->IsWatching())
        Ogre::LogManager::getSingleton().logMessage("The window manager's close button is not watched");
    unsigned long nativeWindow = 0;
    m_renderWindow->getCustomAttribute("WINDOW", &nativeWindow);
    m_windowHandle = static_cast<uint64_t>(nativeWindow);
    base::StartupTrace::Mark("render window and GL context");

    m_root->loadPlugin(std::string(file::System::kPluginDir) + kSceneManagerPlugin);
    m_sceneManager = m_root->createSceneManager(kSceneManagerType);
    if (!m_sceneManager) {
        report("Init", "no scene manager");
        return false;
    }

    // Sound playback is the engine's own layer (sound::Manager), not an Ogre plug-in.
    Ogre::LogManager::getSingleton().logMessage(
        "Sound plug-in OgreOggSound replaced by the engine's own sound layer");
    Ogre::LogManager::getSingleton().logMessage(
        "Plug-ins ParticleUniverse and Plugin_CgProgramManager do not exist on this platform, skipped");
    for (const char* codec : kImageCodecPlugins) {
        try {
            m_root->loadPlugin(std::string(file::System::kPluginDir) + codec);
            break;
        } catch (const Ogre::Exception& e) {
            Ogre::LogManager::getSingleton().logMessage(std::string("Image codec ") + codec +
                                                        " not loaded: " + e.getDescription());
        }
    }

    // Ogre's shadow techniques need its shadow-volume programs and the spot fade texture,
    // which on Linux come from the installed media instead of the program folder.
    try {
        Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
        resources.addResourceLocation(kShadowMediaDir, "FileSystem", Ogre::RGN_INTERNAL);
        resources.initialiseResourceGroup(Ogre::RGN_INTERNAL);
    } catch (const Ogre::Exception& e) {
        report("Init", std::string("shadows unavailable: ") + e.getDescription());
    }

    m_sceneManager->setAmbientLight(Ogre::ColourValue(0.5f, 0.5f, 0.5f, 1.0f));
    base::StartupTrace::Mark("scene manager, image codec, shadow programs");

    m_soundManager = new sound::Manager();
    m_soundManager->init();
    base::StartupTrace::Mark("sound device");

    // The GUI's pass binds the engine's placeholder texture on the first frame.
    // Made lazily, it took the unlimited default mipmaps, and generating them for
    // its 16-bit format made llvmpipe compile code for 150-250 ms; made here
    // without mipmaps it costs nothing (it only shows where a texture is missing).
    Ogre::TextureManager::getSingleton().setDefaultNumMipmaps(0);
    Ogre::TextureManager::getSingleton()._getWarningTexture();
    base::StartupTrace::Mark("placeholder texture");
    Ogre::TextureManager::getSingleton().setDefaultNumMipmaps(5);

    std::vector<std::string> modes;
    const Ogre::ConfigOptionMap& options = m_renderSystem->getConfigOptions();
    auto videoMode = options.find("Video Mode");
    if (videoMode != options.end())
        modes.assign(videoMode->second.possibleValues.begin(), videoMode->second.possibleValues.end());
    m_resolutions = ParseVideoModes(modes);
    return true;
}

void Core::chooseRenderProfile() {
    const Ogre::RenderSystemCapabilities* capabilities = m_renderSystem->getCapabilities();
    if (!capabilities) {
        report("Init", "the renderer reports no capabilities, full render settings used");
        return;
    }
    const char* forced = std::getenv(kProfileVariable);
    const std::string name = forced ? forced : "";
    if (name == RenderProfile::kHardware || name == RenderProfile::kSoftware) {
        m_renderProfile = RenderProfile::Named(name, *capabilities);
    } else {
        if (!name.empty())
            report("Init", std::string(kProfileVariable) + " \"" + name +
                               "\" is neither \"hardware\" nor \"software\", chosen from the renderer");
        m_renderProfile = RenderProfile::Choose(*capabilities);
    }
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    materials.setDefaultTextureFiltering(m_renderProfile.texture_filtering());
    materials.setDefaultAnisotropy(m_renderProfile.anisotropy());
    Ogre::LogManager::getSingleton().logMessage(m_renderProfile.Describe());
}

std::vector<Ogre::Vector2> Core::ParseVideoModes(const std::vector<std::string>& modes) {
    std::vector<Ogre::Vector2> sizes;
    for (const std::string& mode : modes) {
        const size_t x = mode.find('x');
        if (x == std::string::npos || x == 0)
            continue;
        const unsigned long width = readNumber(mode.substr(0, x - 1));
        const unsigned long height = readNumber(mode.substr(x + 1));
        if (width >= 1024 && height >= 768)
            sizes.emplace_back(static_cast<float>(width), static_cast<float>(height));
    }
    return sizes;
}

void Core::OnDraw(double seconds) {
    if (!m_root)
        return;
    if (!m_windowClosed && m_windowWatch && m_windowWatch->Poll()) {
        // Nothing may be drawn into a closed window; the main loop ends on IsWindowClosed.
        std::cerr << "display::Core - the render window was closed" << std::endl;
        m_windowClosed = true;
        m_renderWindow->destroy();
    }
    OgreBites::WindowEventUtilities::messagePump();
    if (m_windowClosed)
        return;
    try {
        m_root->renderOneFrame(static_cast<Ogre::Real>(seconds));
    } catch (const Ogre::Exception& e) {
        report("OnDraw", e.getDescription());
    }
    if (m_soundManager)
        m_soundManager->update(seconds);
    if (m_cameraManager)
        m_cameraManager->updateCamera(seconds);
}

void Core::ActivateRenderWindow(bool active) {
    if (m_renderWindow)
        m_renderWindow->setActive(active);
}

void Core::AddResourceGroup(const std::string& group) {
    try {
        Ogre::ResourceGroupManager::getSingleton().createResourceGroup(group, false);
    } catch (const Ogre::Exception& e) {
        report("AddResourceGroup", e.getDescription());
    }
}

void Core::AddResourceFolder(const std::string& path, const std::string& group) {
    try {
        Ogre::ResourceGroupManager::getSingleton().addResourceLocation(path, "FileSystem", group, false);
    } catch (const Ogre::Exception& e) {
        report("AddResourceFolder", e.getDescription());
    }
}

void Core::AddResourceZip(const std::string& path, const std::string& group) {
    try {
        Ogre::ResourceGroupManager::getSingleton().addResourceLocation(path, "Zip", group, true);
    } catch (const Ogre::Exception& e) {
        report("AddResourceZip", e.getDescription());
    }
}

bool Core::InitResourceGroup(std::string group) {
    if (!Ogre::ResourceGroupManager::getSingletonPtr())
        return false;
    Ogre::ResourceGroupManager& resources = Ogre::ResourceGroupManager::getSingleton();
    try {
        if (!group.empty()) {
            resources.initialiseResourceGroup(group);
        } else {
            for (const Ogre::String& name : resources.getResourceGroups())
                resources.initialiseResourceGroup(name);
        }
    } catch (const Ogre::Exception& e) {
        // A broken script or archive must not end the game; its resources stay missing.
        report("InitResourceGroup", e.getDescription());
        return false;
    }
    return true;
}

void Core::SetFullscreen(bool fullscreen) {
    // Compared with the stored flag, not the running mode: a choice made
    // earlier in this run and taken back now must be stored again.
    base::Config* config = base::Config::getSingleton();
    if (config && config->getBool(kSection, "fullscreen", m_fullscreen) != fullscreen)
        config->setBool(kSection, "fullscreen", fullscreen);
}

void Core::SetResolution(uint32_t width, uint32_t height) {
    base::Config* config = base::Config::getSingleton();
    if (!config)
        return;
    config->setInt(kSection, "width", static_cast<int>(width));
    config->setInt(kSection, "height", static_cast<int>(height));
}

bool Core::IsFullscreen() const {
    return m_fullscreen;
}

const std::vector<Ogre::Vector2>* Core::resolutions() const {
    return &m_resolutions;
}

uint64_t Core::window_handle() const {
    return m_windowHandle;
}

bool Core::IsWindowClosed() const {
    return m_windowClosed;
}

Ogre::RenderWindow* Core::getRenderWindow() const {
    return m_renderWindow;
}

Ogre::SceneManager* Core::getSceneManager() const {
    return m_sceneManager;
}

void Core::EnablePSSM() {
    if (!m_sceneManager) {
        report("EnablePSSM", "no scene manager");
        return;
    }
    try {
        m_sceneManager->setShadowTechnique(Ogre::SHADOWTYPE_TEXTURE_MODULATIVE_INTEGRATED);
        m_sceneManager->setShadowFarDistance(cam::CameraManager::kShadowFarDistance);
        m_sceneManager->setShadowTextureCountPerLightType(Ogre::Light::LT_DIRECTIONAL, kShadowTextureCount);
        m_sceneManager->setShadowTextureCount(kShadowTextureCount);
        for (size_t i = 0; i < kShadowTextureCount; ++i) {
            const unsigned int size = m_renderProfile.shadow_texture_size(static_cast<unsigned int>(i));
            m_sceneManager->setShadowTextureConfig(i, size, size, kShadowFormat);
        }
        m_sceneManager->setShadowTextureSelfShadow(false);
        m_sceneManager->setShadowCasterRenderBackFaces(false);

        Ogre::MaterialPtr caster = Ogre::MaterialManager::getSingleton().getByName(kCasterMaterial);
        if (!caster)
            report("EnablePSSM", std::string("no material \"") + kCasterMaterial + "\", default caster used");
        m_sceneManager->setShadowTextureCasterMaterial(caster);

        if (m_cameraManager && m_cameraManager->shadow_camera_setup())
            m_sceneManager->setShadowCameraSetup(m_cameraManager->shadow_camera_setup());
    } catch (const Ogre::Exception& e) {
        report("EnablePSSM", e.getDescription());
    }
}

Ogre::MaterialPtr Core::BuildPSSMMaterial(const Ogre::MaterialPtr& material) {
    if (!material || !Ogre::MaterialManager::getSingletonPtr())
        return material;
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    const Ogre::String name = kPSSMPrefix + material->getName();
    Ogre::MaterialPtr existing = materials.getByName(name);
    if (existing)
        return existing;

    Ogre::MaterialPtr receiver;
    try {
        Ogre::Technique* technique = material->getNumTechniques() ? material->getTechnique(0) : nullptr;
        if (!technique || technique->getNumPasses() == 0) {
            report("BuildPSSMMaterial", "material \"" + material->getName() + "\" has no pass");
            return material;
        }
        receiver = material->clone(name);
        technique = receiver->getTechnique(0);
        if (!materials.getByName(kCasterMaterial))
            report("BuildPSSMMaterial", std::string("no material \"") + kCasterMaterial + "\"");
        technique->setShadowCasterMaterial(kCasterMaterial);

        // Resources without the vertex-lit pair still get the per-pixel receiver.
        Ogre::HighLevelGpuProgramManager& programs = Ogre::HighLevelGpuProgramManager::getSingleton();
        const bool vertexLit = m_renderProfile.vertex_lighting() &&
                               programs.getByName(kVertexLitReceiverVertexProgram, Ogre::RGN_AUTODETECT) &&
                               programs.getByName(kVertexLitReceiverFragmentProgram, Ogre::RGN_AUTODETECT);
        Ogre::Pass* pass = technique->getPass(0);
        pass->setVertexProgram(vertexLit ? kVertexLitReceiverVertexProgram : kReceiverVertexProgram, true);
        pass->setFragmentProgram(vertexLit ? kVertexLitReceiverFragmentProgram : kReceiverFragmentProgram, true);
        for (size_t i = 0; i < kShadowTextureCount; ++i) {
            Ogre::TextureUnitState* unit = pass->createTextureUnitState();
            unit->setName("shadow" + Ogre::StringConverter::toString(i));
            unit->setContentType(Ogre::TextureUnitState::CONTENT_SHADOW);
            unit->setTextureAddressingMode(Ogre::TAM_BORDER);
            unit->setTextureBorderColour(Ogre::ColourValue::White);
            unit->setTextureFiltering(m_renderProfile.shadow_filtering());
        }

        Ogre::Vector4 splits(0.0f, 0.0f, 0.0f, 0.0f);
        if (m_cameraManager && m_cameraManager->shadow_camera_setup()) {
            const Ogre::PSSMShadowCameraSetup::SplitPointList& points =
                m_cameraManager->shadow_camera_setup()->getSplitPoints();
            for (size_t i = 0; i < 4 && i < points.size(); ++i)
                splits[i] = points[i];
        }
        pass->getFragmentProgramParameters()->setNamedConstant("pssmSplitPoints", splits);
        if (vertexLit)
            addSplitLevels(*receiver, splits);
    } catch (const Ogre::Exception& e) {
        // Without the receiver programs the entity keeps its own material and casts no shadow onto itself.
        report("BuildPSSMMaterial", e.getDescription());
        if (receiver)
            materials.remove(receiver->getHandle());
        return material;
    }
    return receiver;
}

void Core::addSplitLevels(Ogre::Material& receiver, const Ogre::Vector4& splits) {
    if (!m_shadowSplitLod || !(splits[1] > 0.0f && splits[2] > splits[1]))
        return;
    Ogre::Technique* full = receiver.getTechnique(0);
    for (unsigned short first = 1; first < kShadowTextureCount; ++first) {
        const Ogre::String program = fromSplitProgram(first);
        if (program.empty())
            return;
        Ogre::Technique* level = receiver.createTechnique();
        *level = *full;
        level->setLodIndex(first);
        Ogre::Pass* pass = level->getPass(0);
        pass->setFragmentProgram(program, true);
        pass->getFragmentProgramParameters()->setNamedConstant("pssmSplitPoints", splits);
    }
    receiver.setLodStrategy(m_shadowSplitLod.get());
    receiver.setLodLevels({splits[1], splits[2]});
    receiver.compile();
}

} // namespace display
