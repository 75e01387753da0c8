#pragma once

#include "base/Export.h"

class btCollisionShape;

namespace OgreBulletCollisions {

// Owns one Bullet collision shape; the body a shape is given to owns the shape.
class DW_API CollisionShape {
public:
    explicit CollisionShape(btCollisionShape* shape = nullptr);
    virtual ~CollisionShape();

    CollisionShape(const CollisionShape&) = delete;
    CollisionShape& operator=(const CollisionShape&) = delete;

    btCollisionShape* getBulletShape() const { return m_shape; }

protected:
    btCollisionShape* m_shape;
};

} // namespace OgreBulletCollisions
