#include "physics/bullet/StaticMeshToShapeConverter.h"

#include "physics/bullet/TriangleMeshCollisionShape.h"

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreHardwareBuffer.h>
#include <OGRE/OgreMesh.h>
#include <OGRE/OgreSubMesh.h>

#include <iostream>

namespace OgreBulletCollisions {

StaticMeshToShapeConverter::StaticMeshToShapeConverter() = default;

StaticMeshToShapeConverter::StaticMeshToShapeConverter(Ogre::Entity* entity, const Ogre::Matrix4& transform) {
    addEntity(entity, transform);
}

StaticMeshToShapeConverter::~StaticMeshToShapeConverter() = default;

void StaticMeshToShapeConverter::addEntity(Ogre::Entity* entity, const Ogre::Matrix4& transform) {
    if (!entity || !entity->getMesh()) {
        std::cerr << "StaticMeshToShapeConverter: no entity or mesh to convert" << std::endl;
        return;
    }
    const Ogre::MeshPtr& mesh = entity->getMesh();

    unsigned int sharedOffset = 0;
    unsigned int sharedCount = 0;
    if (mesh->sharedVertexData) {
        sharedOffset = addVertexData(mesh->sharedVertexData, transform);
        sharedCount = static_cast<unsigned int>(m_vertices.size()) - sharedOffset;
    }
    for (unsigned short i = 0; i < mesh->getNumSubMeshes(); ++i) {
        const Ogre::SubMesh* sub = mesh->getSubMesh(i);
        if (sub->operationType != Ogre::RenderOperation::OT_TRIANGLE_LIST) {
            // Lines and points have no surface; strips and fans do not occur in our meshes.
            if (sub->operationType != Ogre::RenderOperation::OT_LINE_LIST &&
                sub->operationType != Ogre::RenderOperation::OT_POINT_LIST)
                std::cerr << "StaticMeshToShapeConverter: skipping a non-list sub-mesh of \"" << mesh->getName()
                          << "\"" << std::endl;
            continue;
        }
        if (sub->useSharedVertices) {
            addIndexData(sub->indexData, sharedOffset, sharedCount);
        } else if (sub->vertexData) {
            const unsigned int offset = addVertexData(sub->vertexData, transform);
            addIndexData(sub->indexData, offset, static_cast<unsigned int>(m_vertices.size()) - offset);
        }
    }
}

unsigned int StaticMeshToShapeConverter::addVertexData(const Ogre::VertexData* data, const Ogre::Matrix4& transform) {
    const unsigned int first = static_cast<unsigned int>(m_vertices.size());
    const Ogre::VertexElement* element = data->vertexDeclaration->findElementBySemantic(Ogre::VES_POSITION);
    if (!element || data->vertexCount == 0)
        return first;
    Ogre::HardwareVertexBufferSharedPtr buffer = data->vertexBufferBinding->getBuffer(element->getSource());
    if (!buffer)
        return first;

    const size_t stride = buffer->getVertexSize();
    const unsigned char* base = static_cast<const unsigned char*>(buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY));
    base += data->vertexStart * stride;
    m_vertices.reserve(m_vertices.size() + data->vertexCount);
    for (size_t v = 0; v < data->vertexCount; ++v) {
        float* position = nullptr;
        element->baseVertexPointerToElement(const_cast<unsigned char*>(base + v * stride), &position);
        m_vertices.push_back(transform * Ogre::Vector3(position[0], position[1], position[2]));
    }
    buffer->unlock();
    return first;
}

void StaticMeshToShapeConverter::addIndexData(const Ogre::IndexData* data, unsigned int offset,
                                              unsigned int vertexCount) {
    if (!data || !data->indexBuffer || data->indexCount == 0)
        return;
    Ogre::HardwareIndexBufferSharedPtr buffer = data->indexBuffer;
    const bool use32 = buffer->getType() == Ogre::HardwareIndexBuffer::IT_32BIT;
    const void* raw = buffer->lock(Ogre::HardwareBuffer::HBL_READ_ONLY);
    const size_t count = data->indexCount - data->indexCount % 3;
    m_indices.reserve(m_indices.size() + count);
    for (size_t i = 0; i < count; i += 3) {
        unsigned int tri[3];
        bool valid = true;
        for (int k = 0; k < 3; ++k) {
            const size_t at = data->indexStart + i + k;
            tri[k] = use32 ? static_cast<const Ogre::uint32*>(raw)[at] : static_cast<const Ogre::uint16*>(raw)[at];
            valid = valid && tri[k] < vertexCount;
        }
        // An index outside its vertex block would read another block's vertex.
        if (!valid)
            continue;
        for (int k = 0; k < 3; ++k)
            m_indices.push_back(tri[k] + offset);
    }
    buffer->unlock();
}

TriangleMeshCollisionShape* StaticMeshToShapeConverter::createTrimesh() const {
    if (m_indices.empty())
        return nullptr;
    return new TriangleMeshCollisionShape(m_vertices.data(), static_cast<unsigned int>(m_vertices.size()),
                                          m_indices.data(), static_cast<unsigned int>(m_indices.size()));
}

} // namespace OgreBulletCollisions
