// Dialogs, message boxes and the GUI toggle with the real GUI library in a
// real window, on the game's own UI archive.
#include "UiWorld.h"

#include "ui/MainMenu.h"

#include <base/Config.h>
#include <display/Core.h>
#include <event/KeyEvent.h>
#include <event/Manager.h>
#include <ui/Dialog.h>
#include <ui/Manager.h>
#include <ui/MessageBoxA.h>

#include <MyGUI.h>
#include <OGRE/Bites/OgreWindowEventUtilities.h>
#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>

namespace {

// Resizes the render window from outside, as a player dragging its frame
// would, and pumps window messages until the window has its new size; the
// pump tells the window's listeners.
bool resizeTo(Ogre::RenderWindow* window, uint64_t handle, unsigned width, unsigned height) {
    const std::string command = "xdotool windowsize " + std::to_string(handle) + " " + std::to_string(width) +
                                " " + std::to_string(height);
    if (std::system(command.c_str()) != 0)
        return false;
    for (int i = 0; i < 100; ++i) {
        OgreBites::WindowEventUtilities::messagePump();
        if (window->getWidth() == width && window->getHeight() == height)
            return true;
        ::usleep(20000);
    }
    std::cerr << "window stays " << window->getWidth() << " x " << window->getHeight() << std::endl;
    return false;
}

MyGUI::IntPoint at(const ui::Dialog* dialog) {
    return dialog->getWindow()->getPosition();
}

// A plain panel of the test's own; shown at the given point from the given edge.
class Panel : public ui::Dialog {
public:
    static const base::StringHash kDialogType;

    Panel(EEntryDirection direction, int x, int y, bool* deleted = nullptr,
          const base::StringHash& type = kDialogType)
        : Dialog("Modal", "TestPanel", "TestPanel", direction), m_deleted(deleted), m_type(type) {
        set_size(300, 120);
        set_position(x, y);
        showWindow();
    }
    ~Panel() override {
        if (m_deleted)
            *m_deleted = true;
    }
    const base::StringHash& GetType() const override { return m_type; }
    void Resize() override {}

private:
    bool* m_deleted;
    const base::StringHash& m_type;
};
const base::StringHash Panel::kDialogType("TestPanel");

// Two buttons that both want a tooltip; only one has a text for it.
class TipPanel : public ui::Dialog {
public:
    static const base::StringHash kDialogType;

    TipPanel() : Dialog("Modal", "TipPanel", "TipPanel", NONE) {
        set_size(400, 200);
        set_position(500, 400);
        with = m_window->createWidget<MyGUI::Button>("KB_Button", 10, 10, 180, 50, MyGUI::Align::Default, "tip_with");
        with->setNeedToolTip(true);
        with->setUserString("tooltip", "#{menu_exit}");
        without = m_window->createWidget<MyGUI::Button>("KB_Button", 210, 10, 180, 50, MyGUI::Align::Default,
                                                        "tip_without");
        without->setNeedToolTip(true);
        showWindow();
    }
    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override {}

    MyGUI::Button* with = nullptr;
    MyGUI::Button* without = nullptr;
};
const base::StringHash TipPanel::kDialogType("TipPanel");

class RadioMessage : public ui::MessageBoxA {
public:
    explicit RadioMessage(const std::string& text) : MessageBoxA(text) {}
    void Resize() override {}
    std::string text() const {
        return getWindow()->findWidget("message_text")->castType<MyGUI::TextBox>()->getCaption();
    }
    bool shown() const { return getWindow()->getVisible(); }
};

class UiWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(UiWorld::get().ready);
        m_world = &UiWorld::get();
        m_ui = m_world->ui;
    }
    void press(OIS::KeyCode key) {
        m_world->events->Fire(event::KeyEvent(event::KeyEvent::KEY_PRESSED, key));
        m_world->events->Fire(event::KeyEvent(event::KeyEvent::KEY_RELEASED, key));
    }

    UiWorld* m_world = nullptr;
    ui::Manager* m_ui = nullptr;
};

TEST_F(UiWindowTest, GuiRunsOnTheGameWindow) {
    EXPECT_EQ(m_ui->getWidth(), 1024);
    EXPECT_EQ(m_ui->getHeight(), 768);
    EXPECT_EQ(m_ui->GetCurrentLanguage(), "Deutsch");
    EXPECT_EQ(m_world->config->getString("ui", "language", "?"), "Deutsch");
    MyGUI::Widget* panel = MyGUI::Gui::getInstance().findWidgetT("tooltipPanel", false);
    ASSERT_NE(panel, nullptr);
    EXPECT_FALSE(panel->getVisible());
    EXPECT_EQ(panel->getLayer()->getName(), "ToolTip");
    EXPECT_NE(MyGUI::Gui::getInstance().findWidgetT("tooltipText", false), nullptr);

    // The choice of language waits for the next start.
    m_ui->SetLanguage("English");
    EXPECT_EQ(m_world->config->getString("ui", "language", "?"), "English");
    EXPECT_EQ(m_ui->GetCurrentLanguage(), "Deutsch");
    m_ui->SetLanguage("Deutsch");
}

TEST_F(UiWindowTest, TogglingADialogTwiceOpensAndClosesIt) {
    ASSERT_EQ(m_ui->GetDialog(ui::MainMenu::kDialogType), nullptr);
    EXPECT_TRUE(m_ui->toggleDialog(ui::MainMenu::kDialogType));
    ui::Dialog* menu = m_ui->GetDialog(ui::MainMenu::kDialogType);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(m_ui->IsDirty());
    EXPECT_TRUE(menu->getWindow()->getVisible());
    EXPECT_EQ(menu->getWindow()->getLayer()->getName(), "Middle");
    EXPECT_EQ(menu->getWindow()->getSize(), MyGUI::IntSize(1024, 768));
    m_ui->Update(0.01);
    EXPECT_FALSE(m_ui->IsDirty());

    EXPECT_TRUE(m_ui->toggleDialog(ui::MainMenu::kDialogType));
    EXPECT_EQ(m_ui->GetDialog(ui::MainMenu::kDialogType), nullptr);
    EXPECT_EQ(MyGUI::Gui::getInstance().findWidgetT("btn_exit", false), nullptr);
}

TEST_F(UiWindowTest, QueuedMessageBoxesShowOneAtATimeAndReturnClosesTheVisibleOne) {
    auto* first = new RadioMessage("first");
    auto* second = new RadioMessage("second");
    auto* third = new RadioMessage("third");
    EXPECT_EQ(m_ui->QueuedMessageBoxes(), 3u);
    EXPECT_EQ(m_ui->GetDialog(ui::MessageBoxA::kDialogType), first);
    EXPECT_TRUE(first->shown());
    EXPECT_FALSE(second->shown());
    EXPECT_FALSE(third->shown());
    EXPECT_EQ(first->text(), "first");
    EXPECT_EQ(second->text(), "second");
    // Centred horizontally, 60 pixels from the top, slid in from above.
    const int width = first->getWindow()->getWidth();
    EXPECT_EQ(first->position(), Ogre::Vector2(float(512 - width / 2), 60.f));
    EXPECT_EQ(at(first).top, -first->getWindow()->getHeight());
    m_world->advance(0.5f, 5);
    EXPECT_EQ(at(first), MyGUI::IntPoint(512 - width / 2, 60));
    if (const char* path = std::getenv("KB_UI_MESSAGE_SCREENSHOT")) {
        m_world->draw();
        m_world->core->getRenderWindow()->writeContentsToFile(path);
    }

    // Return reaches only the visible box, which closes at the next update.
    press(OIS::KC_RETURN);
    EXPECT_DOUBLE_EQ(first->remaining_time(), 0.0);
    EXPECT_DOUBLE_EQ(second->remaining_time(), 6.0);
    m_ui->Update(0.01);
    EXPECT_TRUE(first->IsExiting());
    EXPECT_EQ(m_ui->GetDialog(ui::MessageBoxA::kDialogType), first);
    EXPECT_FALSE(second->shown());
    m_world->advance(0.5f, 5); // the slide out ends, first is deleted
    EXPECT_EQ(m_ui->QueuedMessageBoxes(), 2u);
    EXPECT_EQ(m_ui->GetDialog(ui::MessageBoxA::kDialogType), second);
    EXPECT_TRUE(second->shown());
    EXPECT_FALSE(third->shown());

    press(OIS::KC_RETURN);
    m_ui->Update(0.01);
    m_world->advance(0.5f, 5);
    EXPECT_EQ(m_ui->GetDialog(ui::MessageBoxA::kDialogType), third);
    EXPECT_TRUE(third->shown());

    // The last one runs out of time by itself.
    m_ui->Update(6.5);
    m_world->advance(0.5f, 5);
    EXPECT_EQ(m_ui->QueuedMessageBoxes(), 0u);
    EXPECT_EQ(m_ui->GetDialog(ui::MessageBoxA::kDialogType), nullptr);
}

TEST_F(UiWindowTest, ADialogFromTheRightSlidesInAndOutAgain) {
    bool deleted = false;
    auto* panel = new Panel(ui::Dialog::RIGHT, 100, 50, &deleted);
    // The stored screen width is where it starts.
    EXPECT_EQ(at(panel), MyGUI::IntPoint(1024, 50));
    m_world->advance(0.25f);
    const MyGUI::IntPoint halfway = at(panel);
    EXPECT_LT(halfway.left, 1024);
    EXPECT_GT(halfway.left, 100);
    EXPECT_EQ(halfway.top, 50);
    m_world->advance(0.25f);
    EXPECT_EQ(at(panel), MyGUI::IntPoint(100, 50));

    panel->exitWindow();
    EXPECT_TRUE(panel->IsExiting());
    m_world->advance(0.3f);
    EXPECT_FALSE(deleted);
    EXPECT_EQ(m_ui->GetDialog(Panel::kDialogType), panel);
    EXPECT_GT(at(panel).left, 100);
    m_world->advance(0.2f);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(m_ui->GetDialog(Panel::kDialogType), nullptr);
}

TEST_F(UiWindowTest, ADialogOpenedWhileItsTypeIsLeavingTakesTheEntryAfterIt) {
    bool firstDeleted = false, secondDeleted = false;
    auto* first = new Panel(ui::Dialog::RIGHT, 100, 50, &firstDeleted);
    m_world->advance(0.5f, 5);
    first->exitWindow();
    auto* second = new Panel(ui::Dialog::NONE, 200, 60, &secondDeleted);
    EXPECT_EQ(m_ui->GetDialog(Panel::kDialogType), first);
    m_world->advance(0.6f, 6);
    ASSERT_TRUE(firstDeleted);
    // Without the hand-over the second panel was known to nobody: never
    // found, never closed, and left behind when the GUI shut down.
    EXPECT_EQ(m_ui->GetDialog(Panel::kDialogType), second);
    EXPECT_TRUE(m_ui->toggleDialog(Panel::kDialogType));
    EXPECT_TRUE(secondDeleted);
    EXPECT_EQ(m_ui->DialogCount(), 0u);
}

TEST_F(UiWindowTest, EveryEdgeHasItsStartingPoint) {
    const base::StringHash top("TopPanel"), bottom("BottomPanel"), left("LeftPanel"), none("StillPanel");
    auto* fromTop = new Panel(ui::Dialog::TOP, 10, 20, nullptr, top);
    auto* fromBottom = new Panel(ui::Dialog::BOTTOM, 10, 20, nullptr, bottom);
    auto* fromLeft = new Panel(ui::Dialog::LEFT, 10, 20, nullptr, left);
    bool stillDeleted = false;
    auto* still = new Panel(ui::Dialog::NONE, 10, 20, &stillDeleted, none);
    EXPECT_EQ(at(fromTop), MyGUI::IntPoint(10, -120));
    EXPECT_EQ(at(fromBottom), MyGUI::IntPoint(10, 768));
    EXPECT_EQ(at(fromLeft), MyGUI::IntPoint(-300, 20));
    EXPECT_EQ(at(still), MyGUI::IntPoint(10, 20));
    m_world->advance(0.5f);
    EXPECT_EQ(at(fromTop), MyGUI::IntPoint(10, 20));
    EXPECT_EQ(at(fromBottom), MyGUI::IntPoint(10, 20));
    EXPECT_EQ(at(fromLeft), MyGUI::IntPoint(10, 20));

    // Without an edge the dialog is gone when its exit returns.
    still->exitWindow();
    EXPECT_TRUE(stillDeleted);
    EXPECT_EQ(m_ui->GetDialog(none), nullptr);
    fromTop->exitWindow();
    fromBottom->exitWindow();
    fromLeft->exitWindow();
    m_world->advance(0.5f);
    EXPECT_EQ(m_ui->DialogCount(), 0u);
}

TEST_F(UiWindowTest, HKeyHidesAndShowsAllDialogsOnTheSecondAndThirdToggle) {
    ASSERT_FALSE(m_ui->IsGUIVisible());
    const base::StringHash a("PanelA"), b("PanelB");
    auto* one = new Panel(ui::Dialog::NONE, 10, 10, nullptr, a);
    auto* two = new Panel(ui::Dialog::NONE, 400, 10, nullptr, b);
    auto visible = [&] { return one->getWindow()->getVisible() && two->getWindow()->getVisible(); };
    auto hidden = [&] { return !one->getWindow()->getVisible() && !two->getWindow()->getVisible(); };
    ASSERT_TRUE(visible());

    press(OIS::KC_H);
    EXPECT_TRUE(visible()); // queued, not handled yet
    m_world->events->Tick();
    EXPECT_TRUE(m_ui->IsGUIVisible());
    EXPECT_TRUE(visible());

    press(OIS::KC_H);
    m_world->events->Tick();
    EXPECT_TRUE(hidden());

    press(OIS::KC_H);
    m_world->events->Tick();
    EXPECT_TRUE(visible());

    // Back to the state the game starts in.
    press(OIS::KC_H);
    m_world->events->Tick();
    EXPECT_FALSE(m_ui->IsGUIVisible());
    m_ui->ToggleGUI(true);
    one->exitWindow();
    two->exitWindow();
}

TEST_F(UiWindowTest, ScreenCenterOfAnOddSizedWindowAndResizedDialogs) {
    ui::MainMenu* menu = new ui::MainMenu();
    Ogre::RenderWindow* window = m_world->core->getRenderWindow();
    const bool resized = resizeTo(window, m_world->core->window_handle(), 1025, 769);
    EXPECT_TRUE(resized);
    EXPECT_EQ(m_ui->getWidth(), 1025);
    EXPECT_EQ(m_ui->getHeight(), 769);
    EXPECT_EQ(m_ui->getScreenCenter(), Ogre::Vector2(512.f, 384.f));
    // The pump told the UI manager, which laid the menu out again.
    EXPECT_EQ(menu->size(), Ogre::Vector2(1025.f, 769.f));
    EXPECT_EQ(menu->getWindow()->findWidget("main_menu_bg")->getSize(), MyGUI::IntSize(1025, 769));
    EXPECT_EQ(MyGUI::RenderManager::getInstance().getViewSize(), MyGUI::IntSize(1025, 769));

    EXPECT_TRUE(resizeTo(window, m_world->core->window_handle(), 1024, 768));
    EXPECT_EQ(m_ui->getScreenCenter(), Ogre::Vector2(512.f, 384.f));
    EXPECT_EQ(menu->size(), Ogre::Vector2(1024.f, 768.f));
    menu->exitWindow();
}

TEST_F(UiWindowTest, TooltipsFollowTheUserString) {
    ui::MainMenu* menu = new ui::MainMenu();
    MyGUI::Widget* panel = MyGUI::Gui::getInstance().findWidgetT("tooltipPanel");
    auto* text = MyGUI::Gui::getInstance().findWidget<MyGUI::TextBox>("tooltipText");
    MyGUI::Widget* start = menu->getWindow()->findWidget("btn_start_game");
    MyGUI::Widget* exitButton = menu->getWindow()->findWidget("btn_exit");
    ASSERT_NE(start, nullptr);
    ASSERT_NE(exitButton, nullptr);
    MyGUI::InputManager& input = MyGUI::InputManager::getInstance();

    const MyGUI::IntCoord startArea = start->getAbsoluteCoord();
    input.injectMouseMove(startArea.left + 20, startArea.top + 10, 0);
    m_world->advance(1.0f, 10);
    EXPECT_TRUE(panel->getVisible());
    EXPECT_FALSE(text->getCaption().empty());
    EXPECT_EQ(text->getCaption().asUTF8().find("#{"), std::string::npos);
    EXPECT_EQ(panel->getPosition(), MyGUI::IntPoint(startArea.left + 40, startArea.top + 30));
    EXPECT_EQ(panel->getWidth(), text->getTextSize().width + 26);
    if (const char* path = std::getenv("KB_UI_TOOLTIP_SCREENSHOT")) {
        m_world->draw();
        m_world->core->getRenderWindow()->writeContentsToFile(path);
    }

    // The exit button wants no tooltip: moving onto it hides the panel for good.
    const MyGUI::IntCoord exitArea = exitButton->getAbsoluteCoord();
    input.injectMouseMove(exitArea.left + 20, exitArea.top + 10, 0);
    m_world->advance(1.0f, 10);
    EXPECT_FALSE(panel->getVisible());

    input.injectMouseMove(1000, 10, 0);
    m_world->advance(0.1f);
    menu->exitWindow();
}

TEST_F(UiWindowTest, AnEmptyTooltipTextMeansNoTooltip) {
    auto* dialog = new TipPanel();
    MyGUI::Widget* panel = MyGUI::Gui::getInstance().findWidgetT("tooltipPanel");
    auto* text = MyGUI::Gui::getInstance().findWidget<MyGUI::TextBox>("tooltipText");
    MyGUI::InputManager& input = MyGUI::InputManager::getInstance();

    const MyGUI::IntCoord without = dialog->without->getAbsoluteCoord();
    input.injectMouseMove(without.left + 30, without.top + 20, 0);
    m_world->advance(1.0f, 10);
    EXPECT_FALSE(panel->getVisible());

    // The text is translated by the current language.
    const MyGUI::IntCoord with = dialog->with->getAbsoluteCoord();
    input.injectMouseMove(with.left + 30, with.top + 20, 0);
    m_world->advance(1.0f, 10);
    EXPECT_TRUE(panel->getVisible());
    EXPECT_EQ(text->getCaption(), MyGUI::LanguageManager::getInstance().replaceTags("#{menu_exit}"));
    EXPECT_NE(text->getCaption(), "#{menu_exit}");

    // Moving within the button moves the panel along.
    input.injectMouseMove(with.left + 40, with.top + 25, 0);
    m_world->advance(0.1f);
    EXPECT_EQ(panel->getPosition(), MyGUI::IntPoint(with.left + 60, with.top + 45));

    input.injectMouseMove(1000, 10, 0);
    m_world->advance(0.5f, 5);
    EXPECT_FALSE(panel->getVisible());
    dialog->exitWindow();
}

// Loads a real layout and looks widgets up through the typed lookup.
class LookupPanel : public ui::Dialog {
public:
    static const base::StringHash kDialogType;
    LookupPanel() : Dialog("Modal", "LookupPanel", "LookupPanel", TOP) {
        LoadLayout("loading_alert.layout");
        set_position(100, 100);
        showWindow();
    }
    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override {}
    template <typename T> T* find(const std::string& name) { return require<T>(name); }
    void close() { exitWindow(); }
    // The hook runs while the widgets are still there.
    void OnClose() override {
        ++s_closes;
        s_widgetsAtClose = getWindow() && getWindow()->findWidget("txt_loading_title");
    }
    static int s_closes;
    static bool s_widgetsAtClose;
};
const base::StringHash LookupPanel::kDialogType("LookupPanel");
int LookupPanel::s_closes = 0;
bool LookupPanel::s_widgetsAtClose = false;

TEST_F(UiWindowTest, TypedLookupNamesTheLayoutTypeAndWidgetOfWhatIsMissing) {
    auto* dialog = new LookupPanel();
    EXPECT_EQ(dialog->size(), Ogre::Vector2(440.f, 170.f)); // the layout's root
    testing::internal::CaptureStderr();
    EXPECT_NE(dialog->find<MyGUI::TextBox>("txt_loading_title"), nullptr);
    EXPECT_EQ(dialog->find<MyGUI::Button>("btn_nothing"), nullptr);
    EXPECT_EQ(dialog->find<MyGUI::Button>("txt_loading_title"), nullptr); // there, but no button
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "LookupPanel: loading_alert.layout has no Button \"btn_nothing\"\n"
              "LookupPanel: loading_alert.layout has no Button \"txt_loading_title\"\n");
    dialog->close();
}

TEST_F(UiWindowTest, ALeavingDialogIgnoresASecondExitAndClosesOnce) {
    bool deleted = false;
    auto* dialog = new Panel(ui::Dialog::TOP, 100, 50, &deleted);
    m_world->advance(0.5f, 5);
    dialog->exitWindow();
    dialog->exitWindow(); // would start a second slide and a second delete
    m_world->advance(0.25f);
    EXPECT_FALSE(deleted);
    m_world->advance(0.5f, 5);
    EXPECT_TRUE(deleted);
    EXPECT_EQ(m_ui->DialogCount(), 0u);

    // The pre-close hook runs once, before the widgets go.
    LookupPanel::s_closes = 0;
    auto* lookup = new LookupPanel();
    lookup->close();
    lookup->close();
    EXPECT_EQ(LookupPanel::s_closes, 0); // still sliding
    m_world->advance(0.6f, 6);
    EXPECT_EQ(LookupPanel::s_closes, 1);
    EXPECT_TRUE(LookupPanel::s_widgetsAtClose);
    EXPECT_EQ(m_ui->DialogCount(), 0u);
}

} // namespace
