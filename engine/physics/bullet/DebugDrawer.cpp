#include "physics/bullet/DebugDrawer.h"

#include <OGRE/OgreHighLevelGpuProgramManager.h>
#include <OGRE/OgreManualObject.h>
#include <OGRE/OgreMaterialManager.h>
#include <OGRE/OgrePass.h>
#include <OGRE/OgreRoot.h>
#include <OGRE/OgreTechnique.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSceneNode.h>

#include <iostream>

namespace OgreBulletCollisions {

namespace {
const char* const kLineMaterial = "OgreBulletCollisions/DebugLines";
const char* const kGroup = Ogre::RGN_INTERNAL;

const char* const kLineVertexShader = R"(#version 150
in vec4 vertex;
in vec4 colour;
uniform mat4 worldViewProj;
out vec4 lineColour;
void main() {
    gl_Position = worldViewProj * vertex;
    lineColour = colour;
})";

const char* const kLineFragmentShader = R"(#version 150
in vec4 lineColour;
out vec4 fragColour;
void main() {
    fragColour = lineColour;
})";
} // namespace

std::string DebugDrawer::lineMaterial() {
    Ogre::MaterialManager& materials = Ogre::MaterialManager::getSingleton();
    if (materials.resourceExists(kLineMaterial, kGroup))
        return kLineMaterial;
    Ogre::MaterialPtr material = materials.create(kLineMaterial, kGroup);
    Ogre::Pass* pass = material->getTechnique(0)->getPass(0);
    pass->setLightingEnabled(false);
    pass->setVertexColourTracking(Ogre::TVC_DIFFUSE);
    // Render systems without a fixed-function pipeline need shaders for any line.
    if (Ogre::HighLevelGpuProgramManager::getSingletonPtr() &&
        Ogre::HighLevelGpuProgramManager::getSingleton().isLanguageSupported("glsl")) {
        Ogre::HighLevelGpuProgramManager& programs = Ogre::HighLevelGpuProgramManager::getSingleton();
        Ogre::HighLevelGpuProgramPtr vp = programs.createProgram(std::string(kLineMaterial) + "/vp", kGroup, "glsl",
                                                                 Ogre::GPT_VERTEX_PROGRAM);
        vp->setSource(kLineVertexShader);
        Ogre::HighLevelGpuProgramPtr fp = programs.createProgram(std::string(kLineMaterial) + "/fp", kGroup, "glsl",
                                                                 Ogre::GPT_FRAGMENT_PROGRAM);
        fp->setSource(kLineFragmentShader);
        pass->setVertexProgram(vp->getName());
        pass->setFragmentProgram(fp->getName());
        pass->getVertexProgramParameters()->setNamedAutoConstant("worldViewProj",
                                                                  Ogre::GpuProgramParameters::ACT_WORLDVIEWPROJ_MATRIX);
    }
    return kLineMaterial;
}

DebugDrawer::DebugDrawer(Ogre::SceneManager* sceneManager)
    : m_sceneManager(sceneManager), m_lineObject(nullptr), m_node(nullptr), m_debugMode(DBG_NoDebug),
      m_shown(false) {
    if (!m_sceneManager)
        return;
    m_lineObject = m_sceneManager->createManualObject();
    m_lineObject->setDynamic(true);
    m_lineObject->setCastShadows(false);
    m_lineObject->setQueryFlags(0);
    m_node = m_sceneManager->getRootSceneNode()->createChildSceneNode();
    m_node->attachObject(m_lineObject);
    m_sceneManager->addListener(this);
}

DebugDrawer::~DebugDrawer() {
    if (!m_sceneManager)
        return;
    m_sceneManager->removeListener(this);
    m_node->detachAllObjects();
    m_sceneManager->destroyManualObject(m_lineObject);
    m_sceneManager->destroySceneNode(m_node);
}

void DebugDrawer::setMode(int flag, bool enable) {
    m_debugMode = enable ? (m_debugMode | flag) : (m_debugMode & ~flag);
}

void DebugDrawer::setDrawWireframe(bool enable) {
    setMode(DBG_DrawWireframe, enable);
}

bool DebugDrawer::doesDrawWireframe() const {
    return (m_debugMode & DBG_DrawWireframe) != 0;
}

void DebugDrawer::setDrawAabb(bool enable) {
    setMode(DBG_DrawAabb, enable);
}

void DebugDrawer::setDrawContactPoints(bool enable) {
    setMode(DBG_DrawContactPoints, enable);
}

void DebugDrawer::clear() {
    m_lines.clear();
    if (m_lineObject && m_shown) {
        m_lineObject->clear();
        m_shown = false;
    }
}

void DebugDrawer::frameEnd() {
    if (!m_lineObject || m_lines.empty())
        return;
    m_lineObject->clear();
    m_lineObject->begin(lineMaterial(), Ogre::RenderOperation::OT_LINE_LIST, kGroup);
    for (const Line& line : m_lines) {
        m_lineObject->position(line.from);
        m_lineObject->colour(line.colour);
        m_lineObject->position(line.to);
        m_lineObject->colour(line.colour);
    }
    m_lineObject->end();
    m_shown = true;
}

void DebugDrawer::drawLine(const btVector3& from, const btVector3& to, const btVector3& color) {
    m_lines.push_back({Ogre::Vector3(from.x(), from.y(), from.z()), Ogre::Vector3(to.x(), to.y(), to.z()),
                       Ogre::ColourValue(color.x(), color.y(), color.z())});
}

void DebugDrawer::drawContactPoint(const btVector3& point, const btVector3& normal, btScalar distance, int,
                                   const btVector3& color) {
    drawLine(point, point + normal * distance, color);
}

void DebugDrawer::reportErrorWarning(const char* warningString) {
    std::cerr << "Bullet: " << warningString << std::endl;
}

void DebugDrawer::sceneManagerDestroyed(Ogre::SceneManager* source) {
    if (source != m_sceneManager)
        return;
    // The scene took the line object and its node with it.
    m_sceneManager = nullptr;
    m_lineObject = nullptr;
    m_node = nullptr;
    m_shown = false;
}

void DebugDrawer::draw3dText(const btVector3&, const char*) {}

} // namespace OgreBulletCollisions
