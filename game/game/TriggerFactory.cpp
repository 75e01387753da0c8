#include "game/TriggerFactory.h"

#include "game/MiniGameTrigger.h"
#include "game/MissionData.h"
#include "game/WaypointTrigger.h"

#include <OGRE/OgreSceneNode.h>

namespace game {

Trigger* TriggerFactory::CreateTrigger(Ogre::SceneNode* node) {
    MissionData* mission = MissionData::getSingleton();
    if (!node || !mission)
        return nullptr;
    MissionData::TriggerInfo info;
    if (!mission->GetTriggerInfo(node->getName(), info))
        return nullptr;

    // A waypoint of an earlier mission has spun its node; the new trigger
    // starts from the node as the scene placed it.
    node->resetToInitialState();
    Trigger* trigger = nullptr;
    switch (info.type) {
    case MissionData::kMiniGameTrigger:
        trigger = new MiniGameTrigger(node);
        break;
    case MissionData::kWaypointTrigger:
        trigger = new WaypointTrigger(node);
        break;
    default:
        return nullptr;
    }
    trigger->Activate(false);
    return trigger;
}

} // namespace game
