#include "physics/bullet/BoxCollisionShape.h"

#include <btBulletCollisionCommon.h>

namespace OgreBulletCollisions {

BoxCollisionShape::BoxCollisionShape(const Ogre::Vector3& halfExtents)
    : CollisionShape(new btBoxShape(btVector3(halfExtents.x, halfExtents.y, halfExtents.z))) {}

BoxCollisionShape::~BoxCollisionShape() = default;

Ogre::Vector3 BoxCollisionShape::getHalfExtents() const {
    // Bullet keeps the margin inside the stored extents; this gives back what was asked for.
    const btVector3 h = static_cast<btBoxShape*>(m_shape)->getHalfExtentsWithMargin();
    return Ogre::Vector3(h.x(), h.y(), h.z());
}

} // namespace OgreBulletCollisions
