#pragma once

#include "base/Export.h"

#include <OGRE/OgreMatrix4.h>
#include <OGRE/OgreVector.h>

#include <vector>

namespace Ogre {
class Entity;
class VertexData;
class IndexData;
} // namespace Ogre

namespace OgreBulletCollisions {

class TriangleMeshCollisionShape;

// Reads the triangles of an entity's mesh, with a transform applied to the
// vertices, and builds collision shapes from them.
class DW_API StaticMeshToShapeConverter {
public:
    StaticMeshToShapeConverter();
    StaticMeshToShapeConverter(Ogre::Entity* entity, const Ogre::Matrix4& transform = Ogre::Matrix4::IDENTITY);
    virtual ~StaticMeshToShapeConverter();

    void addEntity(Ogre::Entity* entity, const Ogre::Matrix4& transform = Ogre::Matrix4::IDENTITY);

    // A new shape owned by the caller; null when the mesh held no triangles.
    TriangleMeshCollisionShape* createTrimesh() const;

    const std::vector<Ogre::Vector3>& getVertices() const { return m_vertices; }
    const std::vector<unsigned int>& getIndices() const { return m_indices; }
    unsigned int getTriangleCount() const { return static_cast<unsigned int>(m_indices.size() / 3); }

private:
    // Returns the index of the first vertex added, so that indices can be offset.
    unsigned int addVertexData(const Ogre::VertexData* data, const Ogre::Matrix4& transform);
    void addIndexData(const Ogre::IndexData* data, unsigned int offset, unsigned int vertexCount);

    std::vector<Ogre::Vector3> m_vertices;
    std::vector<unsigned int> m_indices;
};

} // namespace OgreBulletCollisions
