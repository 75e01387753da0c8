#pragma once

#include <game/ISpawnFactory.h>

namespace game {

// Puts the current mission's vehicle on a spawn node.
class SpawnFactory : public ISpawnFactory {
public:
    SpawnFactory() = default;
    virtual ~SpawnFactory() = default;

    // The vehicle, built and not yet driven; null when the mission places none there.
    IObject* Spawn(Ogre::SceneNode* spawnPoint) override;
};

} // namespace game
