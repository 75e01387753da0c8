#pragma once

#include "base/Export.h"

namespace Ogre {
class SceneNode;
}

namespace game {

class IObject;

// Creates the vehicle that belongs on a spawn point.
class DW_API ISpawnFactory {
public:
    virtual ~ISpawnFactory() = default;

    // The new object, ready for the object manager, or null when nothing spawns there.
    virtual IObject* Spawn(Ogre::SceneNode* spawnPoint) = 0;
};

} // namespace game
