#pragma once

#include "base/Export.h"
#include "physics/bullet/CollisionShape.h"

#include <OGRE/OgreVector.h>

class btTriangleMesh;

namespace OgreBulletCollisions {

// A static triangle soup under a bounding-volume hierarchy. The triangles are
// copied, so the caller's arrays may go away afterwards.
class DW_API TriangleMeshCollisionShape : public CollisionShape {
public:
    // Without any valid triangle the shape is empty and collides with nothing.
    TriangleMeshCollisionShape(const Ogre::Vector3* vertices, unsigned int vertexCount,
                               const unsigned int* indices, unsigned int indexCount);
    virtual ~TriangleMeshCollisionShape();

    unsigned int getTriangleCount() const { return m_triangleCount; }

private:
    btTriangleMesh* m_mesh;
    unsigned int m_triangleCount;
};

} // namespace OgreBulletCollisions
