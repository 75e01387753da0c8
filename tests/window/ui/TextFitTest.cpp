// Every caption the game shows fits the text area of its widget, in both
// languages and at every screen size that matters, as the GUI library itself
// measures the text. Tooltips are not captions and are left out.
#include "UiTestSupport.h"
#include "UiWorld.h"

#include "support/TempDir.h"

#include "ui/AchievementWindow.h"
#include "ui/MissionSelectWindow.h"

#include <base/UserData.h>
#include <display/Core.h>
#include <ui/Manager.h>

#include <MyGUI.h>
#include <OGRE/Bites/OgreWindowEventUtilities.h>
#include <OGRE/Ogre.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const kLanguages[] = {"English", "Deutsch"};
// The window the game opens by default; the options offer nothing smaller.
const MyGUI::IntSize kDefaultScreen(1024, 768);

std::string sizeText(const MyGUI::IntSize& size) {
    return std::to_string(size.width) + " x " + std::to_string(size.height);
}

// One line for each caption under `widget` that is cut or still holds a tag.
void findMisfits(MyGUI::Widget* widget, const std::string& where, std::vector<std::string>& misfits) {
    auto* box = widget->castType<MyGUI::TextBox>(false);
    auto* edit = widget->castType<MyGUI::EditBox>(false);
    // A text that scrolls is whole however long it is.
    const bool scrolls = edit && edit->getEditMultiLine() && edit->isVisibleVScroll();
    const std::string caption = box ? box->getCaption().asUTF8() : std::string();
    if (box && !scrolls && !caption.empty()) {
        const MyGUI::IntSize text = box->getTextSize();
        const MyGUI::IntCoord area = box->getTextRegion();
        const std::string name = where + " \"" + widget->getName() + "\"";
        if (caption.find("#{") != std::string::npos)
            misfits.push_back(name + ": unresolved tag in \"" + caption + "\"");
        else if (text.width > area.width || text.height > area.height)
            misfits.push_back(name + ": \"" + caption + "\" needs " + sizeText(text) + ", has " +
                              sizeText(area.size()));
    }
    for (size_t i = 0; i < widget->getChildCount(); ++i)
        findMisfits(widget->getChildAt(i), where, misfits);
}

// Resizes the game window as a window manager would and waits until the GUI has the new size.
bool resizeTo(display::Core* core, const MyGUI::IntSize& size) {
    Ogre::RenderWindow* window = core->getRenderWindow();
    const auto width = static_cast<unsigned>(size.width), height = static_cast<unsigned>(size.height);
    if (window->getWidth() == width && window->getHeight() == height)
        return true;
    const std::string command = "xdotool windowsize " + std::to_string(core->window_handle()) + " " +
                                std::to_string(width) + " " + std::to_string(height);
    if (std::system(command.c_str()) != 0)
        return false;
    for (int i = 0; i < 100; ++i) {
        OgreBites::WindowEventUtilities::messagePump();
        if (window->getWidth() == width && window->getHeight() == height)
            return MyGUI::RenderManager::getInstance().getViewSize() == size;
        ::usleep(20000);
    }
    return false;
}

class TextFit : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(UiWorld::get().ready);
        m_world = &UiWorld::get();
        m_ui = m_world->ui;
        m_language = MyGUI::LanguageManager::getInstance().getCurrentLanguage();
        testing::internal::CaptureStderr(); // the store reports every key it creates
        m_data = std::make_unique<base::UserData>(m_dir.file("user_data.xml"));
        // Every mission open and both vehicle variants on offer, announced already.
        set("mission", "progress", 25);
        m_data->GetBool("vehicles", "upgraded", true);
        m_data->SetBool("vehicles", "upgraded", true);
        m_data->GetBool("vehicles", "alterted", true);
        m_data->SetBool("vehicles", "alterted", true);
    }
    void TearDown() override {
        MyGUI::LanguageManager::getInstance().setCurrentLanguage(m_language);
        EXPECT_TRUE(resizeTo(m_world->core, kDefaultScreen));
        m_data.reset();
        testing::internal::GetCapturedStderr();
    }
    void set(const std::string& section, const std::string& key, int value) {
        m_data->GetInt(section, key, 0);
        m_data->SetInt(section, key, value);
    }

    // Each layout as it stands, its full-screen parts stretched over the screen.
    void checkLayouts(const std::string& where, std::vector<std::string>& misfits) {
        const MyGUI::IntSize screen = MyGUI::RenderManager::getInstance().getViewSize();
        Ogre::StringVectorPtr layouts = Ogre::ResourceGroupManager::getSingleton().findResourceNames("UI", "*.layout");
        EXPECT_GT(layouts->size(), 20u);
        for (const std::string& layout : *layouts) {
            MyGUI::VectorWidgetPtr roots = MyGUI::LayoutManager::getInstance().loadLayout(layout, "fit_");
            EXPECT_FALSE(roots.empty()) << layout;
            for (MyGUI::Widget* root : roots) {
                if (root->getAlign().isHStretch() && root->getAlign().isVStretch())
                    root->setCoord(0, 0, screen.width, screen.height);
                findMisfits(root, where + " " + layout, misfits);
            }
            MyGUI::LayoutManager::getInstance().unloadLayout(roots);
        }
    }

    // The windows whose captions the game fills in: all 25 mission names,
    // both vehicle names and the ten badges.
    void checkFilledWindows(const std::string& where, std::vector<std::string>& misfits) {
        ui::Dialog* missions = open(ui::MissionSelectWindow::kDialogType);
        ASSERT_NE(missions, nullptr);
        for (int mission = 1; mission <= ui::MissionSelectWindow::kMissionCount; ++mission)
            EXPECT_NE(missions->getWindow()->findWidget("mission" + std::to_string(mission) + "/btn_mission"),
                      nullptr);
        findMisfits(missions->getWindow(), where + " mission selection", misfits);
        MyGUI::Widget* right = missions->getWindow()->findWidget("btn_vehicle_right");
        ASSERT_NE(right, nullptr);
        uitest::click(right);
        findMisfits(missions->getWindow()->findWidget("txt_vehicle_name"), where + " upgraded vehicle", misfits);
        close(missions);

        ui::Dialog* badges = open(ui::AchievementWindow::kDialogType);
        ASSERT_NE(badges, nullptr);
        findMisfits(badges->getWindow(), where + " achievements", misfits);
        close(badges);
    }

    ui::Dialog* open(const base::StringHash& type) {
        m_ui->toggleDialog(type);
        m_world->advance(0.6f, 12);
        return m_ui->GetDialog(type);
    }
    void close(ui::Dialog* dialog) {
        dialog->exitWindow();
        m_world->advance(0.6f, 12);
    }

    UiWorld* m_world = nullptr;
    ui::Manager* m_ui = nullptr;
    std::string m_language;
    TempDir m_dir;
    std::unique_ptr<base::UserData> m_data;
};

TEST_F(TextFit, EveryCaptionFitsItsWidgetInBothLanguagesAtTheOfferedScreenSizes) {
    std::vector<MyGUI::IntSize> screens = {kDefaultScreen};
    const std::vector<Ogre::Vector2>* offered = m_world->core->resolutions();
    if (offered && !offered->empty()) {
        Ogre::Vector2 smallest = offered->front();
        for (const Ogre::Vector2& size : *offered)
            if (size.x * size.y < smallest.x * smallest.y)
                smallest = size;
        const MyGUI::IntSize size(static_cast<int>(smallest.x), static_cast<int>(smallest.y));
        if (size != kDefaultScreen)
            screens.push_back(size);
    }

    std::vector<std::string> misfits;
    for (const MyGUI::IntSize& screen : screens) {
        ASSERT_TRUE(resizeTo(m_world->core, screen)) << sizeText(screen);
        for (const char* language : kLanguages) {
            MyGUI::LanguageManager::getInstance().setCurrentLanguage(language);
            ASSERT_EQ(MyGUI::LanguageManager::getInstance().getCurrentLanguage(), language);
            const std::string where = std::string(language) + " " + sizeText(screen) + ":";
            checkLayouts(where, misfits);
            checkFilledWindows(where, misfits);
        }
    }
    std::string report;
    for (const std::string& misfit : misfits)
        report += "\n  " + misfit;
    EXPECT_TRUE(misfits.empty()) << misfits.size() << " captions do not fit:" << report;
}

} // namespace
