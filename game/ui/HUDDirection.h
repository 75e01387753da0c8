#pragma once

#include "ui/RenderBoxScene.h"

#include <ui/Dialog.h>

#include <OGRE/OgreQuaternion.h>

#include <string>

namespace MyGUI {
class Canvas;
}

namespace ui {

// Arrow toward the next target (a 3D model in a render box) and the distance
// to it, centred at the top.
class HUDDirection : public Dialog {
public:
    static const base::StringHash kDialogType;
    static const char* const kArrowMesh;

    HUDDirection();
    virtual ~HUDDirection();

    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override;

    // World units; the text shows half of it, rounded down, in metres.
    void SetDistance(float distance);
    // Turns the arrow by the yaw of the orientation.
    void SetDirection(const Ogre::Quaternion& orientation);

    static std::string FormatDistance(float distance);

    MyGUI::TextBox* text() const { return m_distance; }
    const RenderBoxScene& render_box() const { return m_renderBox; }

protected:
    // The box lets go of the canvas before the widgets are destroyed.
    void OnClose() override;

private:
    MyGUI::TextBox* m_distance = nullptr;
    MyGUI::Canvas* m_canvas = nullptr;
    RenderBoxScene m_renderBox;
};

} // namespace ui
