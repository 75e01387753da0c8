#pragma once

namespace Ogre {
class SceneNode;
}

namespace game {

class Trigger;

// Creates the trigger that the current mission places on a trigger node.
class ITriggerFactory {
public:
    virtual ~ITriggerFactory() = default;

    // The new trigger, inactive, or null when the mission puts none there.
    virtual Trigger* CreateTrigger(Ogre::SceneNode* node) = 0;
};

} // namespace game
