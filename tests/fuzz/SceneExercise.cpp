#include "fuzz/SceneExercise.h"

#include "game/SceneDescription.h"
#include "game/SceneLoader.h"
#include "game/SceneReader.h"
#include "xml/Document.h"
#include "xml/Reader.h"

#include <OGRE/OgreDefaultHardwareBufferManager.h>
#include <OGRE/OgreLogManager.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreMeshManager.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/OgreSceneManager.h>

#include <exception>

namespace {
const char* const kSceneName = "fuzz/scene.scene";
} // namespace

SceneExercise::SceneExercise() {
    m_root = Ogre::Root::getSingletonPtr();
    if (m_root)
        return;
    m_log = new Ogre::LogManager();
    m_log->createLog("fuzz.log", true, false, true);
    m_root = new Ogre::Root("", "", "");
    m_ownsRoot = true;
    m_buffers = new Ogre::DefaultHardwareBufferManager();
    Ogre::MaterialManager::getSingleton().initialise();
}

SceneExercise::~SceneExercise() {
    if (m_scene)
        m_root->destroySceneManager(m_scene);
    if (!m_ownsRoot)
        return;
    delete m_root;
    delete m_buffers;
    delete m_log;
}

std::string SceneExercise::Run(const std::uint8_t* data, std::size_t size) {
    // As the loader's Init: a file that does not parse leaves an empty document.
    xml::Document document(kSceneName);
    if (size == 0 || !xml::Reader::ParseBytes(document, reinterpret_cast<const char*>(data), size)) {
        document.Clear();
        document.ClearError();
    }
    game::SceneDescription scene = game::SceneReader::Read(document);
    if (!document.RootElement() && (scene.hasEnvironment || scene.hasLight || !scene.nodes.empty() || scene.hasTerrain))
        return "an empty document described something";
    if (scene.light.directions.size() > 2)
        return "a light with more than its two directions";
    if (!scene.hasTerrain && !scene.terrain.pages.empty())
        return "terrain pages without a terrain";

    scene.hasTerrain = false;
    if (!m_scene)
        m_scene = m_root->createSceneManager();
    std::string broken;
    try {
        game::SceneLoader loader(kSceneName, m_scene);
        loader.Build(scene);
        // Gameplay finds its spawn and trigger nodes by name: every named
        // node is there, made now or by an earlier element of that name.
        for (const game::SceneDescription::Node& node : scene.nodes)
            if (!node.name.empty() && !m_scene->hasSceneNode(node.name))
                broken = "the node \"" + node.name + "\" was not built";
    } catch (const std::exception& error) {
        broken = std::string("building the scene threw: ") + error.what();
    }
    // The next input starts from an empty scene, as the game's one load does.
    m_scene->clearScene();
    m_scene->destroyAllLights();
    m_scene->setSkyBox(false, "");
    m_scene->setSkyDome(false, "");
    // Meshes the file named but that never loaded would pile up from input to input.
    if (m_ownsRoot)
        Ogre::MeshManager::getSingleton().removeAll();
    return broken;
}
