#pragma once

#include <MyGUI.h>
#include <OGRE/Ogre.h>

#include <string>

namespace uitest {

// Clicks the middle of a widget the way a player does: move, press, release.
inline void click(MyGUI::Widget* widget) {
    const MyGUI::IntCoord area = widget->getAbsoluteCoord();
    const int x = area.left + area.width / 2, y = area.top + area.height / 2;
    MyGUI::InputManager& input = MyGUI::InputManager::getInstance();
    input.injectMouseMove(x, y, 0);
    input.injectMousePress(x, y, MyGUI::MouseButton::Left);
    input.injectMouseRelease(x, y, MyGUI::MouseButton::Left);
}

// Reads a render target back into an image.
inline Ogre::Image grab(Ogre::RenderTarget* target) {
    Ogre::Image shot(Ogre::PF_BYTE_RGBA, target->getWidth(), target->getHeight());
    Ogre::PixelBox box = shot.getPixelBox();
    target->copyContentsToMemory(box, box);
    return shot;
}

} // namespace uitest
