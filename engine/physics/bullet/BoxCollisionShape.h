#pragma once

#include "base/Export.h"
#include "physics/bullet/CollisionShape.h"

#include <OGRE/OgreVector.h>

namespace OgreBulletCollisions {

// A box given by its half extents.
class DW_API BoxCollisionShape : public CollisionShape {
public:
    explicit BoxCollisionShape(const Ogre::Vector3& halfExtents);
    virtual ~BoxCollisionShape();

    Ogre::Vector3 getHalfExtents() const;
};

} // namespace OgreBulletCollisions
