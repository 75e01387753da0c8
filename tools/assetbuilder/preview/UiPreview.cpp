// Renders layouts of the UI archive in a real window and saves a screenshot,
// so the look of the interface can be checked without the game.
//   kb_ui_preview ASSETDIR OUT.png WIDTH HEIGHT LANGUAGE [--mouse X Y] LAYOUT@PLACE ...
// PLACE: full, center, top60, topleft, topright, bottomright, topcenter.
#include <MyGUI.h>
#include <MyGUI_OgrePlatform.h>
#include <OGRE/Ogre.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{

MyGUI::Widget* Place(const std::string& layout, const std::string& place, int W, int H)
{
    const bool full = place == "full";
    MyGUI::Widget* window = MyGUI::Gui::getInstance().createWidget<MyGUI::Widget>(
        "PanelEmpty", MyGUI::IntCoord(0, 0, 400, 200), MyGUI::Align::Default,
        (full || place.rfind("top", 0) == 0 || place == "bottomright") && place != "top60" ? "Middle" : "Modal");
    MyGUI::LayoutManager::getInstance().loadLayout(layout, "", window);
    MyGUI::Widget* root = window->getChildCount() ? window->getChildAt(0) : nullptr;
    if (!root)
        return window;
    if (full)
    {
        window->setCoord(0, 0, W, H);
        root->setSize(W, H);
        return window;
    }
    MyGUI::IntSize s = root->getSize();
    window->setSize(s);
    int x = W / 2 - s.width / 2, y = H / 2 - s.height / 2;
    if (place == "top60")
        y = 60;
    else if (place == "topleft")
        x = y = 0;
    else if (place == "topright")
        x = W - s.width, y = 0;
    else if (place == "bottomright")
        x = W - s.width, y = H - s.height;
    else if (place == "topcenter")
        y = 0;
    window->setPosition(x, y);
    return window;
}

// Fills the list layouts the way the game's windows do, so the shot shows real content.
void FillMissionSelect(MyGUI::Widget* window)
{
    MyGUI::ScrollView* list = window->findWidget("mission_list")->castType<MyGUI::ScrollView>();
    int y = 2;
    for (int i = 1; i <= 25; ++i)
    {
        std::string prefix = "mission" + std::to_string(i) + "/";
        MyGUI::VectorWidgetPtr entry = MyGUI::LayoutManager::getInstance().loadLayout("missionselect_template.layout", prefix, list);
        entry.front()->setPosition(entry.front()->getLeft(), y);
        y += entry.front()->getHeight();
        MyGUI::Button* b = list->findWidget(prefix + "btn_mission")->castType<MyGUI::Button>();
        b->setCaptionWithReplacing("#{mission" + std::to_string(i) + "_name}");
        b->setEnabled(i <= 6);
        b->setStateSelected(i == 3);
        list->findWidget(prefix + "img_mission_image")->castType<MyGUI::ImageBox>()->setImageTexture(
            "mission" + std::to_string(i) + "_thumbnail.png");
    }
    list->setCanvasSize(list->getWidth(), y);
    window->findWidget("txt_mission_desc")->castType<MyGUI::EditBox>()->setCaptionWithReplacing("#{mission3}");
    window->findWidget("img_mission_map")->castType<MyGUI::ImageBox>()->setImageTexture("mission3_map.png");
    window->findWidget("txt_score_box")->castType<MyGUI::TextBox>()->setCaption("12450");
    window->findWidget("txt_timesplayed_box")->castType<MyGUI::TextBox>()->setCaption("3");
    window->findWidget("txt_vehicle_name")->castType<MyGUI::TextBox>()->setCaptionWithReplacing("#{vehicle_normal}");
}

void FillAchievements(MyGUI::Widget* window)
{
    MyGUI::ScrollView* list = window->findWidget("achievements_panel")->castType<MyGUI::ScrollView>();
    int y = 0;
    for (int i = 1; i <= 10; ++i)
    {
        std::string prefix = "achievement" + std::to_string(i) + "/";
        MyGUI::LayoutManager::getInstance().loadLayout("achievement_template.layout", prefix, list);
        MyGUI::Widget* root = list->findWidget(prefix + "achievement");
        root->setPosition(root->getLeft(), y);
        y += root->getHeight() + 10;
        MyGUI::ImageBox* image = list->findWidget(prefix + "achievement_image")->castType<MyGUI::ImageBox>();
        image->setImageTexture("icon_achievement" + std::to_string(i) + ".png");
        list->findWidget(prefix + "achievement_text")->castType<MyGUI::TextBox>()->setCaptionWithReplacing(
            "#{achievement" + std::to_string(i) + "}");
        if (i % 3 == 0 || i == 10)
            image->setColour(MyGUI::Colour(0.2f, 0.2f, 0.2f, 1.0f));
    }
    list->setCanvasSize(window->getWidth(), y);
}

// Sample values for the live widgets, as the game would show them mid-mission.
void FillSamples(MyGUI::Widget* window)
{
    auto text = [&](const char* name, const char* value) {
        if (MyGUI::Widget* w = window->findWidget(name))
            if (MyGUI::TextBox* t = w->castType<MyGUI::TextBox>(false))
                t->setCaption(value);
    };
    text("hud_timelimit", "1:05");
    text("hud_score", "4250");
    text("hud_speed", "37");
    text("hud_distance", "122 m");
    text("txt_percentage", "87 %");
    text("time", "0:42");
    text("hits", "3");
    text("target", "1000");
    text("current_value", "734");
    text("score_old", "11800");
    text("score_new", "12450");
    text("txt_resolution_box", "1024 x 768");
    text("txt_lang_box", "English");
    if (MyGUI::Widget* w = window->findWidget("hud_perfection_bar"))
    {
        MyGUI::ProgressBar* bar = w->castType<MyGUI::ProgressBar>();
        bar->setProgressRange(100);
        bar->setProgressPosition(87);
    }
    for (const char* slider : {"slider_music", "slider_sound"})
        if (MyGUI::Widget* w = window->findWidget(slider))
        {
            MyGUI::ScrollBar* bar = w->castType<MyGUI::ScrollBar>();
            bar->setScrollRange(101);
            bar->setScrollPosition(slider[7] == 'm' ? 70 : 45);
        }
    if (MyGUI::Widget* w = window->findWidget("chk_fullscreen"))
        w->castType<MyGUI::Button>()->setStateSelected(true);
    auto moveX = [&](const char* name, float value, const char* track) {
        MyGUI::Widget* m = window->findWidget(name);
        MyGUI::Widget* bg = window->findWidget(track);
        if (m && bg)
            m->setPosition(static_cast<int>(value * (bg->getWidth() - m->getWidth())), 0);
    };
    moveX("indicator", 0.55f, "scale_bg");
    moveX("arrow", 0.7f, "scale_bg");
    if (MyGUI::Widget* arrow = window->findWidget("img_arrow"))
    {
        MyGUI::Widget* bg = window->findWidget("catering_bg");
        int travel = bg->getHeight() + arrow->getHeight() / 2;
        arrow->setPosition(arrow->getLeft(), static_cast<int>((1 - 0.6f) * travel - arrow->getHeight() / 2));
        MyGUI::Widget* box = window->findWidget("img_hitbox");
        box->setCoord(0, static_cast<int>(0.1f * travel), box->getWidth(), static_cast<int>(0.05f * travel));
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 7)
    {
        std::fprintf(stderr, "usage: kb_ui_preview ASSETDIR OUT.png WIDTH HEIGHT LANGUAGE [--mouse X Y] LAYOUT@PLACE...\n");
        return 2;
    }
    std::string assets = argv[1], out = argv[2], language = argv[5];
    int W = std::atoi(argv[3]), H = std::atoi(argv[4]);

    Ogre::LogManager* logs = new Ogre::LogManager();
    logs->createLog("kb_ui_preview_ogre.log", true, false, false);
    Ogre::Root* root = new Ogre::Root("", "", "");
    root->loadPlugin(std::string(KB_OGRE_PLUGIN_DIR) + "/RenderSystem_GL3Plus");
    root->loadPlugin(std::string(KB_OGRE_PLUGIN_DIR) + "/Codec_STBI");
    Ogre::RenderSystem* rs = root->getRenderSystemByName("OpenGL 3+ Rendering Subsystem");
    if (!rs)
    {
        std::fprintf(stderr, "kb_ui_preview: no OpenGL 3+ render system\n");
        return 1;
    }
    root->setRenderSystem(rs);
    root->initialise(false);
    Ogre::RenderWindow* window = root->createRenderWindow("kestrelby UI preview", W, H, false);
    Ogre::SceneManager* scene = root->createSceneManager();
    Ogre::Camera* camera = scene->createCamera("preview");
    window->addViewport(camera)->setBackgroundColour(Ogre::ColourValue(0.1f, 0.12f, 0.14f));

    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    groups.createResourceGroup("UI");
    groups.addResourceLocation(assets + "/ui.pip", "Zip", "UI");
    groups.initialiseAllResourceGroups();

    MyGUI::OgrePlatform* platform = new MyGUI::OgrePlatform();
    platform->initialise(window, scene, "UI", "kb_ui_preview_gui.log");
    MyGUI::Gui* gui = new MyGUI::Gui();
    gui->initialise("MyGUI_Core.xml");
    MyGUI::LanguageManager::getInstance().setCurrentLanguage(language);

    int mouseX = -1, mouseY = -1;
    for (int i = 6; i < argc; ++i)
    {
        std::string arg = argv[i];
        if (arg == "--mouse" && i + 2 < argc)
        {
            mouseX = std::atoi(argv[++i]);
            mouseY = std::atoi(argv[++i]);
            continue;
        }
        size_t at = arg.find('@');
        std::string layout = arg.substr(0, at);
        std::string place = at == std::string::npos ? "center" : arg.substr(at + 1);
        MyGUI::Widget* w = Place(layout, place, W, H);
        size_t scale = layout.find("_panel.layout");
        if (scale != std::string::npos && layout != "settings_panel.layout" && layout != "missionselect_panel.layout" &&
            layout != "achievement_panel.layout" && layout != "missionsuccess_panel.layout" && layout != "switchhint_panel.layout")
        {
            // Mini-game panels: the scale layout goes into the panel's container.
            static const std::pair<const char*, const char*> scales[] = {{"repair_scale", "repair_scale.layout"},
                {"baggage_scale", "baggage_scale.layout"}, {"pump_scale", "pump_scale.layout"},
                {"catering_bar_empty", "catering_scale.layout"}, {"catering_scale", "catering2_scale.layout"}};
            for (const auto& [container, file] : scales)
                if (MyGUI::Widget* c = w->findWidget(container))
                {
                    MyGUI::LayoutManager::getInstance().loadLayout(file, "", c);
                    break;
                }
        }
        FillSamples(w);
        if (layout == "missionselect_panel.layout")
            FillMissionSelect(w);
        else if (layout == "achievement_panel.layout")
            FillAchievements(w);
        else if (layout == "message_box.layout")
        {
            w->findWidget("character_name")->castType<MyGUI::TextBox>()->setCaption("Coder");
            w->findWidget("message_text")->castType<MyGUI::TextBox>()->setCaptionWithReplacing("#{help_park}");
        }
    }
    if (mouseX >= 0)
    {
        MyGUI::InputManager::getInstance().injectMouseMove(mouseX, mouseY, 0);
    }
    for (int frame = 0; frame < 4; ++frame)
        root->renderOneFrame(0.1f);
    window->writeContentsToFile(out);

    gui->shutdown();
    delete gui;
    platform->shutdown();
    delete platform;
    delete root;
    delete logs;
    return 0;
}
