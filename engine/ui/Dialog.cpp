#include "ui/Dialog.h"

#include "base/Config.h"
#include "event/Manager.h"
#include "ui/FocusNavigator.h"
#include "ui/Manager.h"

#include <MyGUI.h>

#include <cstdint>
#include <iostream>

namespace ui {

namespace {
const float kSlideSeconds = 0.5f;
const char* const kSlideMotion = "Inertional";
const char* const kTooltipPanel = "tooltipPanel";
const char* const kTooltipText = "tooltipText";
const int kTooltipOffset = 20;

MyGUI::IntPoint toPoint(const Ogre::Vector2& point) {
    return MyGUI::IntPoint(static_cast<int>(point.x), static_cast<int>(point.y));
}
} // namespace

Dialog::Dialog(std::string layer, std::string windowName, std::string dialogName, EEntryDirection entryDirection)
    : m_layer(std::move(layer)), m_windowName(std::move(windowName)), m_dialogName(std::move(dialogName)),
      m_entryDirection(entryDirection) {
    if (MyGUI::Gui* gui = MyGUI::Gui::getInstancePtr()) {
        m_window = gui->createWidgetT(
            "Widget", m_skin,
            MyGUI::IntCoord(static_cast<int>(m_position.x), static_cast<int>(m_position.y),
                            static_cast<int>(m_size.x), static_cast<int>(m_size.y)),
            MyGUI::Align(MyGUI::Align::Enum(m_alignment)), m_layer, m_windowName);
        m_window->setVisible(false);
    }
}

Dialog::~Dialog() = default;

void Dialog::Update(double) {}

void Dialog::set_position(const int& x, const int& y) {
    m_position = Ogre::Vector2(static_cast<float>(x), static_cast<float>(y));
    if (m_window)
        m_window->setPosition(x, y);
}

void Dialog::set_size(const int& width, const int& height) {
    m_size = Ogre::Vector2(static_cast<float>(width), static_cast<float>(height));
    if (m_window)
        m_window->setSize(width, height);
}

Ogre::Vector2 Dialog::offscreenPoint() const {
    uint16_t screenWidth = 0;
    uint16_t screenHeight = 0;
    if (auto* config = base::Config::getSingleton()) {
        screenWidth = static_cast<uint16_t>(config->getInt("Display", "width", 0));
        screenHeight = static_cast<uint16_t>(config->getInt("Display", "height", 0));
    }
    switch (m_entryDirection) {
    case TOP:
        return Ogre::Vector2(m_position.x, -m_size.y);
    case RIGHT:
        return Ogre::Vector2(screenWidth, m_position.y);
    case BOTTOM:
        return Ogre::Vector2(m_position.x, screenHeight);
    case LEFT:
        return Ogre::Vector2(-m_size.x, m_position.y);
    case NONE:
        break;
    }
    return m_position;
}

bool Dialog::slideTo(const Ogre::Vector2& target, bool removeWhenDone) {
    auto* controllers = MyGUI::ControllerManager::getInstancePtr();
    if (!controllers || !m_window)
        return false;
    MyGUI::ControllerItem* item = controllers->createItem(MyGUI::ControllerPosition::getClassTypeName());
    auto* slide = item ? item->castType<MyGUI::ControllerPosition>(false) : nullptr;
    if (!slide) {
        delete item;
        return false;
    }
    slide->setPosition(toPoint(target));
    slide->setTime(kSlideSeconds);
    slide->setFunction(kSlideMotion);
    if (removeWhenDone)
        slide->eventPostAction += MyGUI::newDelegate(this, &Dialog::slideOutDone);
    controllers->addItem(m_window, slide);
    return true;
}

void Dialog::showWindow() {
    if (auto* manager = Manager::getSingleton())
        manager->AddDialog(this);
    if (!m_window)
        return;
    AddTooltips(m_window);
    m_window->setVisible(true);
    if (m_navigator) {
        if (auto* manager = Manager::getSingleton())
            manager->AddNavigator(m_navigator.get());
        m_navigator->Start();
    }
    if (m_entryDirection != NONE) {
        m_window->setPosition(toPoint(offscreenPoint()));
        if (!slideTo(m_position, false))
            m_window->setPosition(toPoint(m_position));
    }
}

void Dialog::exitWindow() {
    if (m_exiting)
        return;
    m_exiting = true;
    // Without a slide (none asked for, or none possible) the dialog goes at once.
    if (m_entryDirection == NONE || !slideTo(offscreenPoint(), true))
        removeWindow(m_window);
}

void Dialog::slideOutDone(MyGUI::Widget* widget, MyGUI::ControllerItem*) {
    removeWindow(widget);
}

void Dialog::removeWindow(MyGUI::Widget* widget) {
    m_exiting = true;
    if (!m_closed) {
        m_closed = true;
        OnClose();
    }
    // Its frame is a widget of this window.
    m_navigator.reset();
    if (widget) {
        if (MyGUI::Gui* gui = MyGUI::Gui::getInstancePtr())
            gui->destroyWidget(widget);
    }
    if (widget == m_window)
        m_window = nullptr;
    if (auto* manager = Manager::getSingleton())
        manager->RemoveDialog(this);
    delete this;
}

FocusNavigator& Dialog::Navigation() {
    if (!m_navigator)
        m_navigator = std::make_unique<FocusNavigator>(*this);
    return *m_navigator;
}

bool Dialog::LoadLayout(const std::string& file) {
    m_layoutName = file;
    if (!m_window)
        return false;
    MyGUI::LayoutManager::getInstance().loadLayout(file, "", m_window);
    if (m_window->getChildCount() == 0) {
        std::cerr << m_dialogName << ": " << file << " brought no widgets" << std::endl;
        return false;
    }
    const MyGUI::IntSize root = m_window->getChildAt(0)->getSize();
    set_size(root.width, root.height);
    return true;
}

void Dialog::ReportMissing(const std::string& typeName, const std::string& name) const {
    std::cerr << m_dialogName << ": " << (m_layoutName.empty() ? m_windowName : m_layoutName) << " has no "
              << typeName << " \"" << name << "\"" << std::endl;
}

bool Dialog::RequestState(event::ApplicationStateEvent::EType kind, const std::string& stateName) {
    if (m_stateRequested)
        return false;
    auto* events = event::Manager::getSingleton();
    if (!events)
        return false;
    m_stateRequested = true;
    events->QueueEvent(new event::ApplicationStateEvent(kind, stateName));
    return true;
}

void Dialog::SetText(MyGUI::Widget* widget, const std::string& text) {
    auto* box = widget ? widget->castType<MyGUI::TextBox>(false) : nullptr;
    if (box && box->getCaption() != text)
        box->setCaption(text);
}

void Dialog::CentreOnScreen() {
    const Manager* manager = Manager::getSingleton();
    if (!manager)
        return;
    const Ogre::Vector2 centre = manager->getScreenCenter();
    set_position(static_cast<int>(centre.x - m_size.x * 0.5f), static_cast<int>(centre.y - m_size.y * 0.5f));
}

void Dialog::AddTooltips(MyGUI::Widget* widget) {
    if (!widget)
        return;
    if (widget->getNeedToolTip() && !widget->getUserString("tooltip").empty())
        widget->eventToolTip += MyGUI::newDelegate(this, &Dialog::notifyToolTip);
    const size_t count = widget->getChildCount();
    for (size_t i = 0; i < count; ++i)
        AddTooltips(widget->getChildAt(i));
}

void Dialog::notifyToolTip(MyGUI::Widget* widget, const MyGUI::ToolTipInfo& info) {
    MyGUI::Gui* gui = MyGUI::Gui::getInstancePtr();
    if (!gui || !widget)
        return;
    MyGUI::Widget* panel = gui->findWidgetT(kTooltipPanel, false);
    auto* text = gui->findWidget<MyGUI::TextBox>(kTooltipText, false);
    if (!panel || !text)
        return;

    switch (info.type) {
    case MyGUI::ToolTipInfo::Show: {
        const MyGUI::IntSize parent = panel->getParentSize();
        panel->setSize(parent.width / 2, parent.height / 2);
        text->setCaptionWithReplacing(widget->getUserString("tooltip"));
        const MyGUI::IntSize textSize = text->getTextSize();
        panel->setSize(textSize.width + 26, textSize.height + 26);
        text->setSize(textSize.width + 20, textSize.height + 20);
        panel->setVisible(true);
        panel->setPosition(info.point + MyGUI::IntPoint(kTooltipOffset, kTooltipOffset));
        break;
    }
    case MyGUI::ToolTipInfo::Move:
        panel->setPosition(info.point + MyGUI::IntPoint(kTooltipOffset, kTooltipOffset));
        break;
    case MyGUI::ToolTipInfo::Hide:
        panel->setVisible(false);
        break;
    }
}

} // namespace ui
