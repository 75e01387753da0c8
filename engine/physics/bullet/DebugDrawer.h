#pragma once

#include "base/Export.h"

#include <LinearMath/btIDebugDraw.h>
#include <OGRE/OgreColourValue.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreVector.h>

#include <string>
#include <vector>

namespace Ogre {
class ManualObject;
class SceneNode;
} // namespace Ogre

namespace OgreBulletCollisions {

// Collects Bullet's debug lines during a step and shows them as one line list
// in the scene. Without a scene manager it only collects; it also notices when
// its scene manager goes away first.
class DW_API DebugDrawer : public btIDebugDraw, public Ogre::SceneManager::Listener {
public:
    explicit DebugDrawer(Ogre::SceneManager* sceneManager);
    virtual ~DebugDrawer();

    DebugDrawer(const DebugDrawer&) = delete;
    DebugDrawer& operator=(const DebugDrawer&) = delete;

    void setDrawWireframe(bool enable);
    bool doesDrawWireframe() const;
    void setDrawAabb(bool enable);
    void setDrawContactPoints(bool enable);

    // Drops the collected lines (and those shown).
    void clear();
    // Shows the lines collected since the last clear.
    void frameEnd();

    size_t getLineCount() const { return m_lines.size(); }

    // btIDebugDraw
    void drawLine(const btVector3& from, const btVector3& to, const btVector3& color) override;
    void drawContactPoint(const btVector3& point, const btVector3& normal, btScalar distance, int lifeTime,
                          const btVector3& color) override;
    void reportErrorWarning(const char* warningString) override;
    void draw3dText(const btVector3& location, const char* textString) override;
    void setDebugMode(int debugMode) override { m_debugMode = debugMode; }
    int getDebugMode() const override { return m_debugMode; }

    // Ogre::SceneManager::Listener
    void sceneManagerDestroyed(Ogre::SceneManager* source) override;

private:
    struct Line {
        Ogre::Vector3 from;
        Ogre::Vector3 to;
        Ogre::ColourValue colour;
    };

    void setMode(int flag, bool enable);
    // A vertex-coloured line material that also works without fixed-function pipeline.
    static std::string lineMaterial();

    Ogre::SceneManager* m_sceneManager;
    Ogre::ManualObject* m_lineObject;
    Ogre::SceneNode* m_node;
    std::vector<Line> m_lines;
    int m_debugMode;
    bool m_shown;
};

} // namespace OgreBulletCollisions
