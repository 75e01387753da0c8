// Inventory of the UI archive: every layout, widget, skin, font, picture and
// language text that the game's code relies on must be in ../assets/ui.pip.
// The archive is opened through the rendering engine's resource system and
// read by the real GUI library in a real window.
#include "display/DriverPin.h"

#include <gtest/gtest.h>

#include <MyGUI.h>
#include <MyGUI_OgrePlatform.h>
#include <MyGUI_ResourceTrueTypeFont.h>
#include <OGRE/Ogre.h>

#include <map>
#include <memory>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace
{

const char* const kArchive = "../assets/ui.pip";
const char* const kGroup = "UI";

enum class Kind
{
    Widget,
    Button,
    TextBox,
    EditBox,
    ImageBox,
    ScrollView,
    ScrollBar,
    ProgressBar,
    Canvas
};

const char* KindName(Kind k)
{
    switch (k)
    {
    case Kind::Widget: return "Widget";
    case Kind::Button: return "Button";
    case Kind::TextBox: return "TextBox";
    case Kind::EditBox: return "EditBox";
    case Kind::ImageBox: return "ImageBox";
    case Kind::ScrollView: return "ScrollView";
    case Kind::ScrollBar: return "ScrollBar";
    case Kind::ProgressBar: return "ProgressBar";
    default: return "Canvas";
    }
}

bool IsKind(MyGUI::Widget* w, Kind k)
{
    switch (k)
    {
    case Kind::Widget: return true;
    case Kind::Button: return w->isType<MyGUI::Button>();
    case Kind::TextBox: return w->isType<MyGUI::TextBox>();
    case Kind::EditBox: return w->isType<MyGUI::EditBox>();
    case Kind::ImageBox: return w->isType<MyGUI::ImageBox>();
    case Kind::ScrollView: return w->isType<MyGUI::ScrollView>();
    case Kind::ScrollBar: return w->isType<MyGUI::ScrollBar>();
    case Kind::ProgressBar: return w->isType<MyGUI::ProgressBar>();
    default: return w->isType<MyGUI::Canvas>();
    }
}

using WidgetList = std::vector<std::pair<std::string, Kind>>;

struct LayoutExpectation
{
    std::string file;
    WidgetList widgets;
};

// The widgets each dialog looks up, with the type it takes them as.
const std::vector<LayoutExpectation>& DialogLayouts()
{
    using K = Kind;
    static const std::vector<LayoutExpectation> layouts = {
        {"tooltip.layout", {{"tooltipText", K::TextBox}}},
        {"message_box.layout", {{"character_name", K::TextBox}, {"character_portrait", K::ImageBox}, {"message_text", K::TextBox}}},
        {"main_menu.layout",
         {{"main_menu_bg", K::ImageBox},
          {"btn_start_game", K::Button},
          {"btn_exit", K::Button},
          {"btn_achievements", K::Button},
          {"btn_options", K::Button},
          {"btn_free_game", K::Button}}},
        {"hud_direction.layout", {{"hud_distance", K::TextBox}, {"hud_direction", K::Canvas}}},
        {"hud_timelimit.layout", {{"hud_timelimit", K::TextBox}}},
        {"hud_speed.layout", {{"hud_speed", K::TextBox}}},
        {"hud_score.layout", {{"hud_score", K::TextBox}}},
        {"hud_perfection.layout", {{"hud_perfection_bar", K::ProgressBar}, {"txt_percentage", K::TextBox}}},
        {"missionselect_panel.layout",
         {{"btn_back_main", K::Button},
          {"btn_start_mission", K::Button},
          {"btn_watch_best", K::Button},
          {"mission_list", K::ScrollView},
          {"txt_mission_desc", K::EditBox},
          {"img_mission_map", K::ImageBox},
          {"txt_score_box", K::TextBox},
          {"txt_timesplayed_box", K::TextBox},
          {"txt_vehicle_name", K::TextBox},
          {"canvas_vehicle_select", K::Canvas},
          {"btn_vehicle_left", K::Button},
          {"btn_vehicle_right", K::Button}}},
        {"missionsuccess_panel.layout", {{"btn_success_continue", K::Button}, {"btn_success_watch", K::Button}, {"score_old", K::TextBox}, {"score_new", K::TextBox}}},
        {"achievement_panel.layout", {{"btn_back", K::Button}, {"achievements_panel", K::ScrollView}}},
        {"settings_panel.layout",
         {{"slider_music", K::ScrollBar},
          {"slider_sound", K::ScrollBar},
          {"chk_soundoff", K::Button},
          {"chk_fullscreen", K::Button},
          {"chk_ghost", K::Button},
          {"btn_res_left", K::Button},
          {"btn_res_right", K::Button},
          {"btn_lang_left", K::Button},
          {"btn_lang_right", K::Button},
          {"txt_resolution_box", K::TextBox},
          {"txt_lang_box", K::TextBox},
          {"btn_settings_accept", K::Button},
          {"btn_settings_reject", K::Button}}},
        {"ingame_menu.layout", {{"btn_continue", K::Button}, {"btn_settings", K::Button}, {"btn_quit", K::Button}, {"btn_ig_help", K::Button}}},
        {"ingame_help.layout", {{"btn_ig_back", K::Button}}},
        {"vehicle_alert.layout", {{"btn_ok", K::Button}}},
        {"switchhint_panel.layout", {{"btn_switchhint", K::Button}}},
        {"loading_alert.layout", {}},
        {"replay_bar.layout", {{"txt_replay_speed", K::TextBox}}},
    };
    return layouts;
}

// Mini-game panels: panel layout, its scale container, the scale layout and
// the widgets looked up in the panel after the scale has been loaded.
struct PanelSpec
{
    std::string panel;
    std::string container;
    std::string scale;
    WidgetList widgets;
};

const std::vector<PanelSpec>& MiniGamePanels()
{
    using K = Kind;
    static const std::vector<PanelSpec> panels = {
        {"repair_panel.layout", "repair_scale", "repair_scale.layout",
         {{"time", K::TextBox}, {"indicator", K::ImageBox}, {"hit_area", K::Widget}, {"hits", K::TextBox}, {"scale_bg", K::Widget}}},
        {"baggage_panel.layout", "baggage_scale", "baggage_scale.layout",
         {{"time", K::TextBox}, {"indicator", K::ImageBox}, {"scale_bg", K::Widget}}},
        {"pump_panel.layout", "pump_scale", "pump_scale.layout",
         {{"time", K::TextBox}, {"arrow", K::ImageBox}, {"target", K::TextBox}, {"current_value", K::TextBox}, {"scale_bg", K::Widget}}},
        {"catering_panel.layout", "catering_bar_empty", "catering_scale.layout",
         {{"time", K::TextBox}, {"img_arrow", K::ImageBox}, {"catering_bg", K::Widget}, {"img_hitbox", K::ImageBox}}},
        {"catering2_panel.layout", "catering_scale", "catering2_scale.layout",
         {{"time", K::TextBox}, {"indicator", K::ImageBox}, {"scale_bg", K::Widget}}},
    };
    return panels;
}

// Tags the code builds at run time (the layouts' own tags are read from the files).
std::vector<std::string> CodeTags()
{
    std::vector<std::string> tags = {"vehicle_normal", "vehicle_upgraded"};
    for (int i = 1; i <= 25; ++i)
    {
        tags.push_back("mission" + std::to_string(i) + "_name");
        tags.push_back("mission" + std::to_string(i));
    }
    for (int i = 1; i <= 10; ++i)
    {
        tags.push_back("achievement" + std::to_string(i));
        tags.push_back("achievement_desc" + std::to_string(i));
    }
    return tags;
}

// Pictures the code sets by name.
std::vector<std::string> CodeImages()
{
    std::vector<std::string> images = {"character1.png", "main_menu_bg.dds"};
    for (int i = 1; i <= 25; ++i)
    {
        images.push_back("mission" + std::to_string(i) + "_thumbnail.png");
        images.push_back("mission" + std::to_string(i) + "_map.png");
    }
    for (int i = 1; i <= 10; ++i)
        images.push_back("icon_achievement" + std::to_string(i) + ".png");
    return images;
}

std::vector<std::string> AllLayoutFiles()
{
    std::vector<std::string> files;
    for (const LayoutExpectation& l : DialogLayouts())
        files.push_back(l.file);
    files.push_back("missionselect_template.layout");
    files.push_back("achievement_template.layout");
    for (const PanelSpec& p : MiniGamePanels())
    {
        files.push_back(p.panel);
        files.push_back(p.scale);
    }
    return files;
}

std::string ReadResource(const std::string& name)
{
    Ogre::DataStreamPtr stream = Ogre::ResourceGroupManager::getSingleton().openResource(name, kGroup, nullptr, false);
    return stream ? stream->getAsString() : std::string();
}

std::set<std::string> Matches(const std::string& text, const std::regex& pattern)
{
    std::set<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it)
        found.insert((*it)[1].str());
    return found;
}

class UiAssetInventory : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_logs = new Ogre::LogManager();
        s_logs->createLog("kb_ui_inventory_ogre.log", true, false, true);
        s_root = new Ogre::Root("", "", "");
        s_root->loadPlugin(std::string(KB_OGRE_PLUGIN_DIR) + "/RenderSystem_GL3Plus");
        s_root->loadPlugin(std::string(KB_OGRE_PLUGIN_DIR) + "/Codec_STBI");
        Ogre::RenderSystem* rs = s_root->getRenderSystemByName("OpenGL 3+ Rendering Subsystem");
        ASSERT_NE(rs, nullptr);
        s_root->setRenderSystem(rs);
        s_root->initialise(false);
        s_window = s_root->createRenderWindow("ui inventory", 1024, 768, false);
        display::DriverPin::Hold();
        s_scene = s_root->createSceneManager();
        s_window->addViewport(s_scene->createCamera("inventory"));

        Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
        groups.createResourceGroup(kGroup);
        groups.addResourceLocation(kArchive, "Zip", kGroup);
        groups.initialiseResourceGroup(kGroup);

        s_platform = new MyGUI::OgrePlatform();
        MyGUI::LogManager::getInstance().setSTDOutputEnabled(false);
        s_platform->initialise(s_window, s_scene, kGroup, "kb_ui_inventory_gui.log");
        s_gui = new MyGUI::Gui();
        s_gui->initialise("MyGUI_Core.xml");
    }

    static void TearDownTestSuite()
    {
        if (s_gui)
        {
            s_gui->shutdown();
            delete s_gui;
            s_gui = nullptr;
        }
        if (s_platform)
        {
            s_platform->shutdown();
            delete s_platform;
            s_platform = nullptr;
        }
        delete s_root;
        s_root = nullptr;
        delete s_logs;
        s_logs = nullptr;
    }

    void SetUp() override
    {
        ASSERT_NE(s_gui, nullptr) << "the GUI did not start on " << kArchive;
    }

    // The dialogs load their layout into an empty root widget of their layer.
    static MyGUI::Widget* LoadInto(const std::string& layout, const std::string& prefix = "")
    {
        MyGUI::Widget* window = MyGUI::Gui::getInstance().createWidget<MyGUI::Widget>(
            "PanelEmpty", MyGUI::IntCoord(1, 1, 400, 200), MyGUI::Align::Left, "Modal");
        MyGUI::LayoutManager::getInstance().loadLayout(layout, prefix, window);
        return window;
    }

    static void ExpectWidgets(MyGUI::Widget* parent, const std::string& layout, const WidgetList& widgets,
                              const std::string& prefix = "")
    {
        for (const auto& [name, kind] : widgets)
        {
            MyGUI::Widget* w = parent->findWidget(prefix + name);
            if (!w)
            {
                ADD_FAILURE() << layout << ": widget \"" << prefix + name << "\" is missing";
                continue;
            }
            EXPECT_TRUE(IsKind(w, kind)) << layout << ": widget \"" << prefix + name << "\" is a " << w->getTypeName()
                                         << ", the code takes it as " << KindName(kind);
        }
    }

    static Ogre::LogManager* s_logs;
    static Ogre::Root* s_root;
    static Ogre::RenderWindow* s_window;
    static Ogre::SceneManager* s_scene;
    static MyGUI::OgrePlatform* s_platform;
    static MyGUI::Gui* s_gui;
};

Ogre::LogManager* UiAssetInventory::s_logs = nullptr;
Ogre::Root* UiAssetInventory::s_root = nullptr;
Ogre::RenderWindow* UiAssetInventory::s_window = nullptr;
Ogre::SceneManager* UiAssetInventory::s_scene = nullptr;
MyGUI::OgrePlatform* UiAssetInventory::s_platform = nullptr;
MyGUI::Gui* UiAssetInventory::s_gui = nullptr;

TEST_F(UiAssetInventory, CoreConfigurationProvidesLayersPointerAndShaders)
{
    for (const char* layer : {"Middle", "Modal", "ToolTip", "Pointer"})
        EXPECT_TRUE(MyGUI::LayerManager::getInstance().isExist(layer)) << "layer " << layer;
    EXPECT_NE(MyGUI::PointerManager::getInstance().getByName("arrow"), nullptr);
    EXPECT_EQ(MyGUI::PointerManager::getInstance().getLayerName(), "Pointer");
    Ogre::ResourceGroupManager& groups = Ogre::ResourceGroupManager::getSingleton();
    for (const char* shader : {"MyGUI_Ogre_VP.glsl", "MyGUI_Ogre_FP.glsl"})
    {
        ASSERT_TRUE(groups.resourceExists(kGroup, shader)) << shader;
        EXPECT_EQ(ReadResource(shader).rfind("#version 150", 0), 0u) << shader << " must start with #version 150";
    }
    EXPECT_FALSE(MyGUI::FontManager::getInstance().getDefaultFont().empty());
}

TEST_F(UiAssetInventory, DialogLayoutsHoldEveryWidgetWithItsType)
{
    for (const LayoutExpectation& layout : DialogLayouts())
    {
        SCOPED_TRACE(layout.file);
        ASSERT_TRUE(MyGUI::DataManager::getInstance().isDataExist(layout.file)) << layout.file;
        MyGUI::Widget* window = LoadInto(layout.file);
        ASSERT_GT(window->getChildCount(), 0u) << layout.file << " has no root widget";
        ExpectWidgets(window, layout.file, layout.widgets);
        MyGUI::Gui::getInstance().destroyWidget(window);
    }
}

TEST_F(UiAssetInventory, DialogsFitTheSmallestScreen)
{
    for (const LayoutExpectation& layout : DialogLayouts())
    {
        if (layout.file == "main_menu.layout")
            continue; // stretched over the whole screen
        MyGUI::Widget* window = LoadInto(layout.file);
        MyGUI::IntSize size = window->getChildAt(0)->getSize();
        EXPECT_LE(size.width, 1024) << layout.file;
        EXPECT_LE(size.height, 768 - 60) << layout.file;
        MyGUI::Gui::getInstance().destroyWidget(window);
    }
    for (const PanelSpec& layout : MiniGamePanels())
    {
        MyGUI::Widget* window = LoadInto(layout.panel);
        MyGUI::IntSize size = window->getChildAt(0)->getSize();
        // Panels hang 60 pixels below the top edge.
        EXPECT_LE(size.width, 1024) << layout.panel;
        EXPECT_LE(size.height + 60, 768) << layout.panel;
        MyGUI::Gui::getInstance().destroyWidget(window);
    }
}

TEST_F(UiAssetInventory, ListTemplatesLoadUnderTheirPrefixes)
{
    MyGUI::Widget* window = LoadInto("missionselect_panel.layout");
    MyGUI::ScrollView* list = window->findWidget("mission_list")->castType<MyGUI::ScrollView>();
    for (int i = 1; i <= 25; ++i)
    {
        std::string prefix = "mission" + std::to_string(i) + "/";
        MyGUI::VectorWidgetPtr roots = MyGUI::LayoutManager::getInstance().loadLayout("missionselect_template.layout", prefix, list);
        ASSERT_FALSE(roots.empty());
        EXPECT_GT(roots.front()->getHeight(), 0);
        ExpectWidgets(list, "missionselect_template.layout", {{"btn_mission", Kind::Button}, {"img_mission_image", Kind::ImageBox}},
                      prefix);
    }
    MyGUI::Gui::getInstance().destroyWidget(window);

    window = LoadInto("achievement_panel.layout");
    MyGUI::ScrollView* badges = window->findWidget("achievements_panel")->castType<MyGUI::ScrollView>();
    for (int i = 1; i <= 10; ++i)
    {
        std::string prefix = "achievement" + std::to_string(i) + "/";
        MyGUI::LayoutManager::getInstance().loadLayout("achievement_template.layout", prefix, badges);
        ExpectWidgets(badges, "achievement_template.layout",
                      {{"achievement", Kind::Widget}, {"achievement_image", Kind::ImageBox}, {"achievement_text", Kind::TextBox}}, prefix);
        MyGUI::Widget* root = badges->findWidget(prefix + "achievement");
        ASSERT_NE(root, nullptr);
        EXPECT_GT(root->getHeight(), 0);
    }
    MyGUI::Gui::getInstance().destroyWidget(window);
}

TEST_F(UiAssetInventory, MiniGamePanelsHoldTheirScales)
{
    for (const PanelSpec& layout : MiniGamePanels())
    {
        SCOPED_TRACE(layout.panel);
        MyGUI::Widget* window = LoadInto(layout.panel);
        MyGUI::Widget* container = window->findWidget(layout.container);
        ASSERT_NE(container, nullptr) << layout.panel << ": scale container \"" << layout.container << "\" is missing";
        MyGUI::LayoutManager::getInstance().loadLayout(layout.scale, "", container);
        ExpectWidgets(window, layout.panel + " + " + layout.scale, layout.widgets);

        // The markers must have room to travel on their scales.
        if (MyGUI::Widget* bg = window->findWidget("scale_bg"))
        {
            for (const char* marker : {"indicator", "arrow"})
            {
                if (MyGUI::Widget* m = window->findWidget(marker))
                {
                    EXPECT_GT(bg->getWidth() - m->getWidth(), 100) << layout.scale;
                }
            }
        }
        if (MyGUI::Widget* bg = window->findWidget("catering_bg"))
        {
            EXPECT_GT(bg->getHeight(), 100) << layout.scale;
        }
        MyGUI::Gui::getInstance().destroyWidget(window);
    }
}

TEST_F(UiAssetInventory, TooltipPanelBuildsLikeTheUiManagerDoes)
{
    ASSERT_TRUE(MyGUI::SkinManager::getInstance().isExist("PanelSkin"));
    MyGUI::Widget* panel = MyGUI::Gui::getInstance().createWidget<MyGUI::Widget>(
        "PanelSkin", MyGUI::IntCoord(200, 480, 144, 32), MyGUI::Align::Left, "ToolTip", "tooltipPanel");
    MyGUI::LayoutManager::getInstance().loadLayout("tooltip.layout", "", panel);
    MyGUI::TextBox* text = MyGUI::Gui::getInstance().findWidget<MyGUI::TextBox>("tooltipText", false);
    ASSERT_NE(text, nullptr);
    text->setCaptionWithReplacing("#{tip_missions}");
    EXPECT_GT(text->getTextSize().width, 0);
    MyGUI::Gui::getInstance().destroyWidget(panel);
}

TEST_F(UiAssetInventory, EverySkinFontAndPictureNamedByTheLayoutsExists)
{
    const std::regex skinPattern("skin=\"([^\"]+)\"");
    const std::regex fontPattern("key=\"FontName\" value=\"([^\"]+)\"");
    const std::regex texturePattern("key=\"ImageTexture\" value=\"([^\"]+)\"");
    std::set<std::string> skins = {"PanelSkin", "PanelEmpty", "Canvas", "ImageBox"};
    std::set<std::string> fonts = {MyGUI::FontManager::getInstance().getDefaultFont()};
    std::set<std::string> images;
    for (const std::string& file : AllLayoutFiles())
    {
        std::string text = ReadResource(file);
        ASSERT_FALSE(text.empty()) << file;
        for (const std::string& s : Matches(text, skinPattern))
            skins.insert(s);
        for (const std::string& f : Matches(text, fontPattern))
            fonts.insert(f);
        for (const std::string& i : Matches(text, texturePattern))
            images.insert(i);
    }
    for (const std::string& skin : skins)
        EXPECT_TRUE(MyGUI::ResourceManager::getInstance().isExist(skin)) << "skin " << skin;
    for (const std::string& font : fonts)
    {
        MyGUI::IFont* f = MyGUI::FontManager::getInstance().getByName(font);
        ASSERT_NE(f, nullptr) << "font " << font;
        ASSERT_TRUE(f->isType<MyGUI::ResourceTrueTypeFont>()) << "font " << font;
        // The German texts need their umlauts: no substitute glyph for them.
        MyGUI::ResourceTrueTypeFont* ttf = f->castType<MyGUI::ResourceTrueTypeFont>();
        const MyGUI::GlyphInfo* substitute = ttf->getGlyphInfo(ttf->getSubstituteCodePoint());
        for (MyGUI::Char c : {0x00E4u, 0x00F6u, 0x00FCu, 0x00DFu, 0x00C4u, 0x2026u})
            EXPECT_NE(ttf->getGlyphInfo(c), substitute) << "font " << font << " lacks the character " << c;
        EXPECT_GT(f->getDefaultHeight(), 8) << "font " << font;
    }
    for (const std::string& image : CodeImages())
        images.insert(image);
    for (const std::string& image : images)
    {
        SCOPED_TRACE(image);
        ASSERT_TRUE(Ogre::ResourceGroupManager::getSingleton().resourceExists(kGroup, image)) << "picture " << image;
        Ogre::Image decoded;
        decoded.load(image, kGroup);
        EXPECT_GE(decoded.getWidth(), 16u);
        EXPECT_GE(decoded.getHeight(), 11u);
    }
}

TEST_F(UiAssetInventory, BothLanguagesDefineEveryTag)
{
    const std::regex tagPattern("#\\{([^}]+)\\}");
    std::set<std::string> tags;
    for (const std::string& file : AllLayoutFiles())
        for (const std::string& t : Matches(ReadResource(file), tagPattern))
            tags.insert(t);
    for (const std::string& t : CodeTags())
        tags.insert(t);
    ASSERT_GT(tags.size(), 100u);

    // Each language's own files must hold every tag: the GUI library keeps texts
    // of the previous language when a file lacks one, so check the files as well.
    const std::regex infoPattern("<Info name=\"([^\"]+)\">\\s*<Source>([^<]+)</Source>");
    const std::regex entryPattern("<Tag name=\"([^\"]+)\">([^<]*)</Tag>");
    std::string config = ReadResource("kb_languages.xml");
    std::map<std::string, std::string> sources;
    for (auto it = std::sregex_iterator(config.begin(), config.end(), infoPattern); it != std::sregex_iterator(); ++it)
        sources[(*it)[1].str()] = (*it)[2].str();
    ASSERT_EQ(sources.count("English"), 1u);
    ASSERT_EQ(sources.count("Deutsch"), 1u);
    for (const auto& [language, file] : sources)
    {
        std::string text = ReadResource(file);
        std::map<std::string, std::string> entries;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), entryPattern); it != std::sregex_iterator(); ++it)
            entries[(*it)[1].str()] = (*it)[2].str();
        for (const std::string& tag : tags)
        {
            auto entry = entries.find(tag);
            EXPECT_TRUE(entry != entries.end() && !entry->second.empty()) << file << " (" << language << ") has no text for #{" << tag << "}";
        }
    }

    MyGUI::LanguageManager& languages = MyGUI::LanguageManager::getInstance();
    std::map<std::string, std::map<std::string, std::string>> texts;
    for (const char* language : {"English", "Deutsch"})
    {
        languages.setCurrentLanguage(language);
        ASSERT_EQ(languages.getCurrentLanguage(), language);
        for (const std::string& tag : tags)
        {
            std::string text = languages.replaceTags("#{" + tag + "}");
            EXPECT_NE(text, "#{" + tag + "}") << language << " has no text for #{" << tag << "}";
            EXPECT_FALSE(text.empty()) << language << " has an empty text for #{" << tag << "}";
            texts[language][tag] = text;
        }
    }
    // Real translations: names and briefings differ between the languages.
    for (int i = 1; i <= 25; ++i)
    {
        std::string tag = "mission" + std::to_string(i);
        EXPECT_NE(texts["English"][tag], texts["Deutsch"][tag]) << tag;
        EXPECT_GT(texts["English"][tag].size(), 40u) << tag;
    }
    int sameNames = 0;
    for (int i = 1; i <= 25; ++i)
        sameNames += texts["English"]["mission" + std::to_string(i) + "_name"] == texts["Deutsch"]["mission" + std::to_string(i) + "_name"];
    EXPECT_EQ(sameNames, 0) << "mission names without a German translation";
    for (int i = 1; i <= 10; ++i)
    {
        std::string tag = "achievement_desc" + std::to_string(i);
        EXPECT_NE(texts["English"][tag], texts["Deutsch"][tag]) << tag;
    }
    languages.setCurrentLanguage("English");
}

} // namespace
