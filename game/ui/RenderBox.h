#pragma once

#include <MYGUI/MyGUI_Canvas.h>
#include <MYGUI/MyGUI_IUnlinkWidget.h>
#include <OGRE/OgreColourValue.h>

namespace Ogre {
class Camera;
class RenderTarget;
class Viewport;
}

namespace ui {

// Shows a camera's picture inside a GUI canvas: gives the canvas a
// render-target texture and keeps a viewport of the camera on it whenever the
// canvas recreates the texture.
//
// The box also watches the canvas itself: when the GUI destroys the canvas
// before the box was released (its dialog closed), the box lets go of it
// instead of touching a dead widget later.
class RenderBox : public MyGUI::IUnlinkWidget {
public:
    RenderBox();
    RenderBox(const RenderBox&) = delete;
    RenderBox& operator=(const RenderBox&) = delete;
    // Runs this class's Release.
    virtual ~RenderBox();

    virtual void BindCanvas(MyGUI::Canvas* canvas);
    // Undoes what BindCanvas did; safe to call any number of times.
    virtual void Release();
    virtual void OnCanvasUpdate(MyGUI::Canvas* canvas, MyGUI::Canvas::Event event);

    void SetBackgroundColour(const Ogre::ColourValue& colour) { m_backgroundColour = colour; }

    MyGUI::Canvas* canvas() const { return m_canvas; }
    Ogre::Camera* camera() const { return m_camera; }
    Ogre::RenderTarget* render_target() const { return m_renderTarget; }

    void _unlinkWidget(MyGUI::Widget* widget) override;

protected:
    // Makes the camera the one shown; rebinds the viewport through the canvas.
    void SetCamera(Ogre::Camera* camera);
    // Takes the viewport off the render target and forgets the target.
    void DetachViewport();

private:
    void releaseCanvas();
    void notifyPreTextureChanges(MyGUI::Canvas* canvas);

    MyGUI::Canvas* m_canvas = nullptr;
    Ogre::Camera* m_camera = nullptr;
    Ogre::RenderTarget* m_renderTarget = nullptr;
    Ogre::ColourValue m_backgroundColour = Ogre::ColourValue(0.f, 0.f, 0.f, 0.f);
    bool m_unlinkerRegistered = false;
};

} // namespace ui
