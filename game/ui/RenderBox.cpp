#include "ui/RenderBox.h"

#include <MYGUI/MyGUI_OgreTexture.h>
#include <MYGUI/MyGUI_WidgetManager.h>
#include <OGRE/OgreCamera.h>
#include <OGRE/OgreHardwarePixelBuffer.h>
#include <OGRE/OgreRenderTexture.h>
#include <OGRE/OgreTexture.h>
#include <OGRE/OgreViewport.h>

namespace ui {

RenderBox::RenderBox() = default;

RenderBox::~RenderBox() {
    RenderBox::Release();
}

void RenderBox::BindCanvas(MyGUI::Canvas* canvas) {
    if (m_canvas)
        releaseCanvas();
    if (!canvas)
        return;
    m_canvas = canvas;
    if (auto* widgets = MyGUI::WidgetManager::getInstancePtr()) {
        if (!m_unlinkerRegistered) {
            widgets->registerUnlinker(this);
            m_unlinkerRegistered = true;
        }
    }
    // The texture follows the widget's size and is drawn into by Ogre.
    m_canvas->createTexture(MyGUI::Canvas::TRM_PT_VIEW_ALL, MyGUI::TextureUsage::RenderTarget);
    m_canvas->eventPreTextureChanges += MyGUI::newDelegate(this, &RenderBox::notifyPreTextureChanges);
    m_canvas->requestUpdateCanvas = MyGUI::newDelegate(this, &RenderBox::OnCanvasUpdate);
    m_canvas->updateTexture();
}

void RenderBox::Release() {
    releaseCanvas();
    if (m_unlinkerRegistered) {
        if (auto* widgets = MyGUI::WidgetManager::getInstancePtr())
            widgets->unregisterUnlinker(this);
        m_unlinkerRegistered = false;
    }
}

void RenderBox::releaseCanvas() {
    DetachViewport();
    if (!m_canvas)
        return;
    MyGUI::Canvas* canvas = m_canvas;
    m_canvas = nullptr;
    canvas->eventPreTextureChanges -= MyGUI::newDelegate(this, &RenderBox::notifyPreTextureChanges);
    canvas->requestUpdateCanvas = nullptr;
    canvas->destroyTexture();
}

void RenderBox::_unlinkWidget(MyGUI::Widget* widget) {
    if (!widget || widget != m_canvas)
        return;
    // The canvas is being destroyed and takes its texture with it.
    DetachViewport();
    m_canvas = nullptr;
}

void RenderBox::OnCanvasUpdate(MyGUI::Canvas* canvas, MyGUI::Canvas::Event event) {
    if (!m_camera || !canvas || !(event.textureChanged || event.requested))
        return;
    auto* texture = static_cast<MyGUI::OgreTexture*>(canvas->getTexture());
    if (!texture)
        return;
    Ogre::TexturePtr ogreTexture = texture->getOgreTexture();
    if (!ogreTexture)
        return;
    Ogre::RenderTarget* target = ogreTexture->getBuffer()->getRenderTarget();
    if (!target || target == m_renderTarget)
        return;
    m_renderTarget = target;
    target->removeAllViewports();
    Ogre::Viewport* viewport = target->addViewport(m_camera, 0, 0.f, 0.f, 1.f, 1.f);
    viewport->setBackgroundColour(m_backgroundColour);
    viewport->setClearEveryFrame(true, Ogre::FBT_COLOUR | Ogre::FBT_DEPTH);
    viewport->setOverlaysEnabled(false);
}

void RenderBox::SetCamera(Ogre::Camera* camera) {
    if (m_camera)
        DetachViewport();
    m_camera = camera;
    if (m_canvas && m_camera)
        m_canvas->updateTexture();
}

void RenderBox::DetachViewport() {
    if (m_renderTarget)
        m_renderTarget->removeAllViewports();
    m_renderTarget = nullptr;
}

void RenderBox::notifyPreTextureChanges(MyGUI::Canvas*) {
    // The next OnCanvasUpdate binds the new texture.
    DetachViewport();
}

} // namespace ui
