#include "replay/ReplayActor.h"

#include <display/Core.h>

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgreResourceGroupManager.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreSubEntity.h>
#include <OGRE/OgreTechnique.h>

namespace game {

const float ReplayActor::kGhostAlpha = 0.35f;

namespace {
const char* const kGhostPrefix = "ReplayGhost/";
// Shadow-receiving clones are made at run time under this prefix: a replay
// watched in a fresh start makes them again from the material they came from.
const char* const kShadowPrefix = "PSSMMaterial/";

Ogre::MaterialPtr findMaterial(const std::string& name) {
    return Ogre::MaterialManager::getSingleton().getByName(name, Ogre::RGN_AUTODETECT);
}

// The material a part was drawn with, or null when it cannot be had.
Ogre::MaterialPtr recordedMaterial(const std::string& name) {
    if (Ogre::MaterialPtr material = findMaterial(name))
        return material;
    const std::string prefix = kShadowPrefix;
    if (name.compare(0, prefix.size(), prefix) != 0)
        return Ogre::MaterialPtr();
    Ogre::MaterialPtr base = findMaterial(name.substr(prefix.size()));
    display::Core* core = display::Core::getSingleton();
    return base && core ? core->BuildPSSMMaterial(base) : base;
}

// A see-through copy of the plain (not shadow-receiving) material: drawn
// after the opaque world, writing no depth, casting no shadow.
Ogre::MaterialPtr ghostMaterial(const std::string& name) {
    std::string plain = name;
    const std::string prefix = kShadowPrefix;
    if (plain.compare(0, prefix.size(), prefix) == 0)
        plain = plain.substr(prefix.size());
    const std::string ghostName = kGhostPrefix + plain;
    if (Ogre::MaterialPtr existing = findMaterial(ghostName))
        return existing;
    Ogre::MaterialPtr base = findMaterial(plain);
    if (!base)
        return Ogre::MaterialPtr();
    Ogre::MaterialPtr ghost = base->clone(ghostName);
    ghost->setReceiveShadows(false);
    for (Ogre::Technique* technique : ghost->getTechniques()) {
        for (Ogre::Pass* pass : technique->getPasses()) {
            Ogre::ColourValue diffuse = pass->getDiffuse();
            diffuse.a = ReplayActor::kGhostAlpha;
            pass->setDiffuse(diffuse);
            pass->setSelfIllumination(Ogre::ColourValue(0.05f, 0.12f, 0.22f));
            pass->setSceneBlending(Ogre::SBT_TRANSPARENT_ALPHA);
            pass->setDepthWriteEnabled(false);
        }
    }
    ghost->load();
    return ghost;
}
} // namespace

ReplayActor::ReplayActor(Ogre::SceneManager& scene, EStyle style) : m_scene(scene), m_style(style) {}

ReplayActor::~ReplayActor() {
    Destroy();
}

bool ReplayActor::Build(const std::vector<replay::Recording::Part>& parts, std::string& reason) {
    Destroy();
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    for (const replay::Recording::Part& part : parts) {
        if (part.mesh.empty() || !groups.resourceExistsInAnyGroup(part.mesh)) {
            reason = "the game has no mesh \"" + part.mesh + "\"";
            return false;
        }
    }
    for (const replay::Recording::Part& part : parts) {
        Ogre::Entity* entity = nullptr;
        try {
            entity = m_scene.createEntity(part.mesh);
        } catch (const Ogre::Exception& error) {
            reason = "mesh \"" + part.mesh + "\" did not load (" + error.getDescription() + ")";
            Destroy();
            return false;
        }
        // Rays and triggers never see it.
        entity->setQueryFlags(0);
        entity->setCastShadows(m_style == kSolid);
        Dress(*entity, part);
        Ogre::SceneNode* node = m_scene.getRootSceneNode()->createChildSceneNode();
        node->attachObject(entity);
        m_nodes.push_back(node);
        m_entities.push_back(entity);
    }
    SetVisible(m_visible);
    return true;
}

void ReplayActor::Dress(Ogre::Entity& entity, const replay::Recording::Part& part) {
    for (unsigned int i = 0; i < entity.getNumSubEntities(); ++i) {
        Ogre::SubEntity* sub = entity.getSubEntity(i);
        const std::string name = i < part.materials.size() ? part.materials[i] : sub->getMaterialName();
        Ogre::MaterialPtr material = m_style == kGhost ? ghostMaterial(name) : recordedMaterial(name);
        if (!material && m_style == kGhost)
            material = ghostMaterial(sub->getMaterialName());
        if (material)
            sub->setMaterial(material);
    }
}

void ReplayActor::SetPoses(const std::vector<replay::Recording::Pose>& poses) {
    for (size_t i = 0; i < m_nodes.size() && i < poses.size(); ++i) {
        const replay::Recording::Pose& pose = poses[i];
        m_nodes[i]->setPosition(pose.position[0], pose.position[1], pose.position[2]);
        m_nodes[i]->setOrientation(pose.orientation[0], pose.orientation[1], pose.orientation[2],
                                   pose.orientation[3]);
    }
}

void ReplayActor::SetVisible(bool visible) {
    m_visible = visible;
    for (Ogre::SceneNode* node : m_nodes)
        node->setVisible(visible);
}

void ReplayActor::Destroy() {
    for (size_t i = 0; i < m_nodes.size(); ++i) {
        m_nodes[i]->detachAllObjects();
        m_scene.destroyEntity(m_entities[i]);
        m_scene.destroySceneNode(m_nodes[i]);
    }
    m_nodes.clear();
    m_entities.clear();
}

} // namespace game
