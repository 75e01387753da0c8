#include "physics/bullet/CollisionShape.h"

#include <btBulletCollisionCommon.h>

namespace OgreBulletCollisions {

CollisionShape::CollisionShape(btCollisionShape* shape) : m_shape(shape) {}

CollisionShape::~CollisionShape() {
    delete m_shape;
}

} // namespace OgreBulletCollisions
