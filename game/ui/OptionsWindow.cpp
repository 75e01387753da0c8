#include "ui/OptionsWindow.h"

#include "ui/ControlsWindow.h"
#include "ui/ResolutionHint.h"

#include <base/Config.h>
#include <display/Core.h>
#include <sound/ESoundType.h>
#include <sound/Manager.h>
#include <ui/FocusNavigator.h>
#include <ui/Manager.h>

#include <MyGUI.h>
#include <OGRE/OgreRenderWindow.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <tuple>

namespace ui {

const base::StringHash OptionsWindow::kDialogType("OptionsWindow");
const int OptionsWindow::kSliderRange = 101;

namespace {
const float kVolumePerStep = 0.01f;
const char* const kDisplaySection = "Display";
const char* const kUiSection = "ui";
// Whether a run shows the ghost of the mission's best run (the game state reads it).
const char* const kGhostKey = "ghost";

bool sameSize(const Ogre::Vector2& a, const Ogre::Vector2& b) {
    return a.x == b.x && a.y == b.y;
}

bool isSelected(const MyGUI::Button* button) {
    return button && button->getStateSelected();
}
} // namespace

OptionsWindow::OptionsWindow() : Dialog("Modal", "OptionsWindow", "OptionsWindow", TOP) {
    const display::Core* core = display::Core::getSingleton();
    Manager* manager = Manager::getSingleton();
    sound::Manager* sound = sound::Manager::getSingleton();

    Ogre::Vector2 running(0.f, 0.f);
    if (core && core->getRenderWindow())
        running = Ogre::Vector2(static_cast<float>(core->getRenderWindow()->getWidth()),
                                static_cast<float>(core->getRenderWindow()->getHeight()));
    m_resolutions = OfferedResolutions(core ? core->resolutions() : nullptr, running);
    m_resolution = FindResolution(m_resolutions, running);

    LoadLayout("settings_panel.layout");
    Resize();

    subscribe(require<MyGUI::Button>("btn_settings_accept"));
    subscribe(require<MyGUI::Button>("btn_settings_reject"));

    m_music = require<MyGUI::ScrollBar>("slider_music");
    m_sound = require<MyGUI::ScrollBar>("slider_sound");
    m_musicShown = SliderPosition(sound ? sound->GetVolume(sound::kSoundMusic) : 0.f);
    m_soundShown = SliderPosition(sound ? sound->GetVolume(sound::kSoundEffect) : 0.f);
    for (auto [slider, position] : {std::make_pair(m_music, m_musicShown), std::make_pair(m_sound, m_soundShown)}) {
        if (!slider)
            continue;
        slider->setScrollRange(kSliderRange);
        slider->setScrollPosition(static_cast<size_t>(position));
    }

    m_soundOff = require<MyGUI::Button>("chk_soundoff");
    m_fullscreen = require<MyGUI::Button>("chk_fullscreen");
    if (m_soundOff)
        m_soundOff->setStateSelected(sound && sound->IsMute());
    if (m_fullscreen)
        m_fullscreen->setStateSelected(core && core->IsFullscreen());
    subscribe(m_soundOff);
    subscribe(m_fullscreen);
    m_ghost = require<MyGUI::Button>("chk_ghost");
    if (base::Config* config = base::Config::getSingleton())
        m_ghostShown = config->getBool(kUiSection, kGhostKey, true);
    if (m_ghost)
        m_ghost->setStateSelected(m_ghostShown);
    subscribe(m_ghost);

    m_resLeft = require<MyGUI::Button>("btn_res_left");
    m_resRight = require<MyGUI::Button>("btn_res_right");
    m_langLeft = require<MyGUI::Button>("btn_lang_left");
    m_langRight = require<MyGUI::Button>("btn_lang_right");
    for (MyGUI::Button* button : {m_resLeft, m_resRight, m_langLeft, m_langRight})
        subscribe(button);

    m_resolutionBox = require<MyGUI::TextBox>("txt_resolution_box");
    showResolution();

    m_languages = manager ? manager->GetLanguages() : nullptr;
    m_currentLanguage = manager ? manager->GetCurrentLanguage() : std::string();
    m_language = FindLanguage(m_languages, m_currentLanguage);
    m_languageBox = require<MyGUI::TextBox>("txt_lang_box");
    showLanguage();

    // The controls are stored as they change, not on accept.
    if (auto* controls = require<MyGUI::Button>("btn_controls"))
        controls->eventMouseButtonClick += MyGUI::newDelegate(this, &OptionsWindow::notifyControls);
    ListFocus();
    showWindow();
}

void OptionsWindow::ListFocus() {
    FocusNavigator& focus = Navigation();
    focus.Add(m_music);
    focus.Add(m_sound);
    focus.AddToggle(m_soundOff);
    focus.AddToggle(m_ghost);
    focus.AddToggle(m_fullscreen);
    focus.AddChoice(m_resolutionBox, m_resLeft, m_resRight);
    focus.AddChoice(m_languageBox, m_langLeft, m_langRight);
    focus.Add(m_window->findWidget("btn_controls"));
    MyGUI::Widget* reject = m_window->findWidget("btn_settings_reject");
    focus.Add(reject);
    focus.Add(m_window->findWidget("btn_settings_accept"));
    focus.SetBack(reject);
}

OptionsWindow::~OptionsWindow() = default;

void OptionsWindow::Resize() {
    if (m_window && m_window->getChildCount() > 0) {
        const MyGUI::IntSize root = m_window->getChildAt(0)->getSize();
        set_size(root.width, root.height);
    }
    CentreOnScreen();
}

void OptionsWindow::subscribe(MyGUI::Widget* widget) {
    if (widget)
        widget->eventMouseButtonClick += MyGUI::newDelegate(this, &OptionsWindow::notifyClick);
}

OptionsWindow::ResolutionList OptionsWindow::OfferedResolutions(const ResolutionList* offered,
                                                                const Ogre::Vector2& running) {
    ResolutionList list = offered ? *offered : ResolutionList();
    const bool listed = std::any_of(list.begin(), list.end(),
                                    [&running](const Ogre::Vector2& size) { return sameSize(size, running); });
    if (!listed) {
        auto at = std::find_if(list.begin(), list.end(), [&running](const Ogre::Vector2& size) {
            return size.x > running.x || (size.x == running.x && size.y > running.y);
        });
        list.insert(at, running);
    }
    return list;
}

std::size_t OptionsWindow::FindResolution(const ResolutionList& list, const Ogre::Vector2& running) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (sameSize(list[i], running))
            return i;
    return 0;
}

std::size_t OptionsWindow::FindLanguage(const LanguageList* languages, const std::string& language) {
    if (!languages)
        return 0;
    for (std::size_t i = 0; i < languages->size(); ++i)
        if ((*languages)[i] == language)
            return i;
    return 0;
}

int OptionsWindow::SliderPosition(float volume) {
    if (!(volume > 0.f))
        return 0;
    return static_cast<int>(std::min(volume, 1.f) / kVolumePerStep + 0.5f);
}

std::string OptionsWindow::ResolutionText(const Ogre::Vector2& resolution) {
    std::ostringstream text;
    text << resolution.x << " x " << resolution.y;
    return text.str();
}

std::string OptionsWindow::SelectedLanguage() const {
    if (!m_languages || m_language >= m_languages->size())
        return m_currentLanguage;
    return (*m_languages)[m_language];
}

void OptionsWindow::showResolution() {
    if (m_resolution < m_resolutions.size())
        SetText(m_resolutionBox, ResolutionText(m_resolutions[m_resolution]));
}

void OptionsWindow::showLanguage() {
    SetText(m_languageBox, SelectedLanguage());
}

void OptionsWindow::notifyControls(MyGUI::Widget*) {
    Manager* manager = Manager::getSingleton();
    if (AcceptsInput() && manager && !manager->GetDialog(ControlsWindow::kDialogType))
        new ControlsWindow();
}

void OptionsWindow::notifyClick(MyGUI::Widget* sender) {
    if (!AcceptsInput() || !sender)
        return;
    const std::string& name = sender->getName();
    if (name == "btn_settings_accept") {
        accept();
    } else if (name == "btn_settings_reject") {
        exitWindow();
    } else if (name == "chk_soundoff" || name == "chk_fullscreen" || name == "chk_ghost") {
        auto* check = sender->castType<MyGUI::Button>(false);
        if (check)
            check->setStateSelected(!check->getStateSelected());
    } else if (name == "btn_res_left") {
        if (m_resolution > 0) {
            --m_resolution;
            showResolution();
        }
    } else if (name == "btn_res_right") {
        if (m_resolution + 1 < m_resolutions.size()) {
            ++m_resolution;
            showResolution();
        }
    } else if (name == "btn_lang_left") {
        if (m_language > 0) {
            --m_language;
            showLanguage();
        }
    } else if (name == "btn_lang_right") {
        if (m_languages && m_language + 1 < m_languages->size()) {
            ++m_language;
            showLanguage();
        }
    }
}

void OptionsWindow::accept() {
    display::Core* core = display::Core::getSingleton();
    Manager* manager = Manager::getSingleton();
    sound::Manager* sound = sound::Manager::getSingleton();
    base::Config* config = base::Config::getSingleton();

    // Only what differs from the stores is written, so accepting an untouched
    // window leaves config.xml as it was.
    if (sound) {
        for (auto [slider, shown, kind] : {std::make_tuple(m_music, m_musicShown, sound::kSoundMusic),
                                           std::make_tuple(m_sound, m_soundShown, sound::kSoundEffect)}) {
            const int position = slider ? static_cast<int>(slider->getScrollPosition()) : shown;
            const float stored = sound->GetVolume(kind);
            const bool outOfRange = !(stored >= 0.f && stored <= 1.f);
            if (position != shown || outOfRange)
                sound->setVolume(kind, static_cast<float>(position) * kVolumePerStep);
        }
        if (isSelected(m_soundOff) != sound->IsMute())
            sound->SetMute(isSelected(m_soundOff));
    }
    if (config && m_ghost && isSelected(m_ghost) != m_ghostShown)
        config->setBool(kUiSection, kGhostKey, isSelected(m_ghost));

    Ogre::Vector2 running(0.f, 0.f);
    if (core && core->getRenderWindow())
        running = Ogre::Vector2(static_cast<float>(core->getRenderWindow()->getWidth()),
                                static_cast<float>(core->getRenderWindow()->getHeight()));
    const std::string language = SelectedLanguage();
    if (manager && config && !language.empty() &&
        config->getString(kUiSection, "language", m_currentLanguage) != language)
        manager->SetLanguage(language);

    const Ogre::Vector2 chosen = m_resolution < m_resolutions.size() ? m_resolutions[m_resolution] : running;
    const bool fullscreen = isSelected(m_fullscreen);
    const bool restartNeeded = !sameSize(chosen, running) || (core && fullscreen != core->IsFullscreen()) ||
                               language != m_currentLanguage;
    if (restartNeeded && manager && !manager->GetDialog(ResolutionHint::kDialogType))
        new ResolutionHint();

    if (core) {
        core->SetFullscreen(fullscreen);
        const Ogre::Vector2 stored(static_cast<float>(config ? config->getInt(kDisplaySection, "width", 0) : 0),
                                   static_cast<float>(config ? config->getInt(kDisplaySection, "height", 0) : 0));
        if (!sameSize(chosen, stored))
            core->SetResolution(static_cast<uint32_t>(chosen.x), static_cast<uint32_t>(chosen.y));
    }
    exitWindow();
}

} // namespace ui
