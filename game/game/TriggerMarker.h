#pragma once

#include <OGRE/OgreAny.h>
#include <OGRE/OgreSceneNode.h>
#include <OGRE/OgreUserObjectBindings.h>

#include <string>

namespace Ogre {
class Entity;
}

namespace game {

// The visible part of a trigger and the node's link back to it, placed and
// removed the same way by both kinds of trigger.
namespace marker {

// An entity named like the node, with shadow-receiving materials, attached
// and hidden; null (with one line on stderr) when the mesh cannot be loaded.
Ogre::Entity* Create(Ogre::SceneNode* node, const std::string& mesh, bool castShadows);
// Shows or hides the node's first attached object.
void Show(Ogre::SceneNode* node, bool visible);
// Detaches and destroys the entity; it is null afterwards.
void Destroy(Ogre::Entity*& entity);

// The node's user value points back at its trigger, typed as the trigger's class.
template <typename T>
void Bind(Ogre::SceneNode* node, T* trigger) {
    if (node)
        node->getUserObjectBindings().setUserAny(Ogre::Any(trigger));
}

// Clears the node's user value when it still points at this trigger, so the
// node holds nothing stale after the trigger is gone.
template <typename T>
void Unbind(Ogre::SceneNode* node, T* trigger) {
    if (!node)
        return;
    const Ogre::Any& value = node->getUserObjectBindings().getUserAny();
    if (value.has_value() && value.type() == typeid(T*) && Ogre::any_cast<T*>(value) == trigger)
        node->getUserObjectBindings().setUserAny(Ogre::Any());
}

} // namespace marker
} // namespace game
