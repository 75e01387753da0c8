#include "physics/bullet/TriangleMeshCollisionShape.h"

#include <btBulletCollisionCommon.h>

namespace OgreBulletCollisions {

namespace {
btVector3 toBullet(const Ogre::Vector3& v) {
    return btVector3(v.x, v.y, v.z);
}
} // namespace

TriangleMeshCollisionShape::TriangleMeshCollisionShape(const Ogre::Vector3* vertices, unsigned int vertexCount,
                                                       const unsigned int* indices, unsigned int indexCount)
    : m_mesh(new btTriangleMesh(true, false)), m_triangleCount(0) {
    for (unsigned int i = 0; i + 2 < indexCount; i += 3) {
        const unsigned int a = indices[i], b = indices[i + 1], c = indices[i + 2];
        if (a >= vertexCount || b >= vertexCount || c >= vertexCount)
            continue;
        // Duplicate vertices are not searched for: that is quadratic on large meshes.
        m_mesh->addTriangle(toBullet(vertices[a]), toBullet(vertices[b]), toBullet(vertices[c]), false);
        ++m_triangleCount;
    }
    // A hierarchy over no triangles has no bounds; such a shape collides with nothing.
    if (m_triangleCount > 0)
        m_shape = new btBvhTriangleMeshShape(m_mesh, true, true);
    else
        m_shape = new btEmptyShape();
}

TriangleMeshCollisionShape::~TriangleMeshCollisionShape() {
    // The shape refers to the mesh, so it goes first.
    delete m_shape;
    m_shape = nullptr;
    delete m_mesh;
}

} // namespace OgreBulletCollisions
