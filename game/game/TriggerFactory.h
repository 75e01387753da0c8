#pragma once

#include "game/ITriggerFactory.h"

namespace game {

// Puts the current mission's waypoint or parking area on a trigger node.
class TriggerFactory : public ITriggerFactory {
public:
    TriggerFactory() = default;
    virtual ~TriggerFactory() = default;

    // Inactive and hidden; null when the mission has no trigger record for the node.
    Trigger* CreateTrigger(Ogre::SceneNode* node) override;
};

} // namespace game
