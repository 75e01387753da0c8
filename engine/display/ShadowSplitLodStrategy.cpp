#include "display/ShadowSplitLodStrategy.h"

#include <OGRE/OgreCamera.h>
#include <OGRE/OgreConvexBody.h>
#include <OGRE/OgreMovableObject.h>
#include <OGRE/OgreRoot.h>

#include <algorithm>
#include <limits>

namespace display {

const char* const ShadowSplitLodStrategy::kName = "shadow_split_depth";

namespace {
// The frustum planes that bound what is drawn; the far one is left out.
const Ogre::FrustumPlane kSidePlanes[] = {Ogre::FRUSTUM_PLANE_NEAR, Ogre::FRUSTUM_PLANE_LEFT,
                                          Ogre::FRUSTUM_PLANE_RIGHT, Ogre::FRUSTUM_PLANE_TOP,
                                          Ogre::FRUSTUM_PLANE_BOTTOM};
} // namespace

ShadowSplitLodStrategy::ShadowSplitLodStrategy() : Ogre::DistanceLodStrategyBase(kName) {}

Ogre::Real ShadowSplitLodStrategy::getSquaredDepth(const Ogre::MovableObject* object,
                                                   const Ogre::Camera* camera) const {
    // A new frame forgets the last one's objects, some of which may be gone.
    const unsigned long frame = Ogre::Root::getSingletonPtr() ? Ogre::Root::getSingleton().getNextFrameNumber() : 0;
    if (frame != m_frame) {
        m_depths.clear();
        m_frame = frame;
    }
    const Ogre::AxisAlignedBox& box = object->getWorldBoundingBox();
    const Ogre::Vector3& position = camera->getDerivedPosition();
    const Ogre::Quaternion& orientation = camera->getDerivedOrientation();
    auto known = m_depths.find(object);
    if (known != m_depths.end() && known->second.camera == camera && known->second.position == position &&
        known->second.orientation == orientation && known->second.box == box)
        return known->second.squared;
    const Ogre::Real depth = NearestViewDepth(box, *camera);
    m_depths[object] = Depth{camera, position, orientation, box, depth * depth};
    return depth * depth;
}

Ogre::Real ShadowSplitLodStrategy::NearestViewDepth(const Ogre::AxisAlignedBox& box, const Ogre::Frustum& camera) {
    if (!box.isFinite())
        return 0.0f;
    Ogre::ConvexBody body;
    body.define(box);
    // The frustum's planes face inwards: keep their positive side.
    for (Ogre::FrustumPlane plane : kSidePlanes) {
        body.clip(camera.getFrustumPlane(static_cast<unsigned short>(plane)), false);
        if (body.getPolygonCount() == 0)
            return 0.0f;
    }
    const Ogre::Affine3& view = camera.getViewMatrix();
    Ogre::Real nearest = std::numeric_limits<Ogre::Real>::max();
    for (size_t polygon = 0; polygon < body.getPolygonCount(); ++polygon)
        for (size_t vertex = 0; vertex < body.getVertexCount(polygon); ++vertex)
            nearest = std::min(nearest, -(view * body.getVertex(polygon, vertex)).z);
    return std::max(nearest, Ogre::Real(0));
}

} // namespace display
