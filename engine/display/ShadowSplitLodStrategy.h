#pragma once

#include "base/Export.h"

#include <OGRE/OgreAxisAlignedBox.h>
#include <OGRE/OgreDistanceLodStrategy.h>
#include <OGRE/OgreQuaternion.h>

#include <unordered_map>

namespace display {

// Picks a shadow receiver's level by the nearest view depth of the part of the
// object the camera sees, the depth its fragment program compares with the
// split points. A receiver that starts beyond a split then uses a program
// without that split's look-up: a software renderer runs every branch of a
// fragment program, so a look-up no pixel needs still costs every pixel.
class DW_API ShadowSplitLodStrategy : public Ogre::DistanceLodStrategyBase {
public:
    static const char* const kName;

    ShadowSplitLodStrategy();

    // The squared nearest view depth; the levels are given in view depth.
    Ogre::Real getSquaredDepth(const Ogre::MovableObject* object, const Ogre::Camera* camera) const override;

    // The least view depth of the points of box inside the camera's frustum (its
    // far plane aside, which may lie at infinity); 0 for an infinite box or none
    // in view, which keeps every split.
    static Ogre::Real NearestViewDepth(const Ogre::AxisAlignedBox& box, const Ogre::Frustum& camera);

private:
    // Ogre asks once per sub-entity and again for every shadow camera, each
    // time with the same viewing camera: one answer per object and frame.
    struct Depth {
        const Ogre::Camera* camera;
        Ogre::Vector3 position;
        Ogre::Quaternion orientation;
        Ogre::AxisAlignedBox box;
        Ogre::Real squared;
    };
    mutable unsigned long m_frame = 0;
    mutable std::unordered_map<const Ogre::MovableObject*, Depth> m_depths;
};

} // namespace display
