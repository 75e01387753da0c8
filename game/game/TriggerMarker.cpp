#include "game/TriggerMarker.h"

#include <display/Core.h>

#include <OGRE/OgreEntity.h>
#include <OGRE/OgreException.h>
#include <OGRE/OgreSceneManager.h>
#include <OGRE/OgreSubEntity.h>

#include <iostream>

namespace game {
namespace marker {

Ogre::Entity* Create(Ogre::SceneNode* node, const std::string& mesh, bool castShadows) {
    if (!node)
        return nullptr;
    Ogre::SceneManager* scene = node->getCreator();
    Ogre::Entity* entity = nullptr;
    try {
        entity = scene->createEntity(node->getName(), mesh);
    } catch (const Ogre::Exception& error) {
        std::cerr << "Trigger: no marker \"" << mesh << "\" at \"" << node->getName()
                  << "\": " << error.getDescription() << std::endl;
        return nullptr;
    }
    if (display::Core* core = display::Core::getSingleton()) {
        for (size_t i = 0; i < entity->getNumSubEntities(); ++i) {
            Ogre::SubEntity* sub = entity->getSubEntity(i);
            sub->setMaterial(core->BuildPSSMMaterial(sub->getMaterial()));
        }
    }
    entity->setCastShadows(castShadows);
    entity->setVisible(false);
    node->attachObject(entity);
    return entity;
}

void Show(Ogre::SceneNode* node, bool visible) {
    if (node && node->numAttachedObjects() > 0)
        node->getAttachedObject(0)->setVisible(visible);
}

void Destroy(Ogre::Entity*& entity) {
    if (!entity)
        return;
    if (entity->isAttached())
        entity->detachFromParent();
    entity->_getManager()->destroyEntity(entity);
    entity = nullptr;
}

} // namespace marker
} // namespace game
