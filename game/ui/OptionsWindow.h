#pragma once

#include <ui/Dialog.h>

#include <OGRE/OgreVector.h>

#include <cstddef>
#include <string>
#include <vector>

namespace MyGUI {
class Button;
class ScrollBar;
}

namespace ui {

// Volumes, sound off, screen mode, resolution and language. Accept applies
// the volumes and sound off at once and stores the rest for the next start;
// Reject applies nothing.
class OptionsWindow : public Dialog {
public:
    static const base::StringHash kDialogType;
    static const int kSliderRange;

    using ResolutionList = std::vector<Ogre::Vector2>;
    using LanguageList = std::vector<std::string>;

    OptionsWindow();
    virtual ~OptionsWindow();

    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override;

    // The one click handler of every button, told apart by widget name.
    void notifyClick(MyGUI::Widget* sender);
    // Opens the controls window over the options.
    void notifyControls(MyGUI::Widget* sender);

    // The offered sizes with the running size among them: it is inserted
    // (in ascending order) when the list lacks it, so it can always be shown.
    static ResolutionList OfferedResolutions(const ResolutionList* offered, const Ogre::Vector2& running);
    // The entry equal to the running size, else the first.
    static std::size_t FindResolution(const ResolutionList& list, const Ogre::Vector2& running);
    // The entry equal to the language, else the first.
    static std::size_t FindLanguage(const LanguageList* languages, const std::string& language);
    // Slider position of a volume, clamped to [0, 1].
    static int SliderPosition(float volume);
    // "1024 x 768".
    static std::string ResolutionText(const Ogre::Vector2& resolution);

    const ResolutionList& resolutions() const { return m_resolutions; }
    std::size_t selected_resolution() const { return m_resolution; }
    std::size_t selected_language() const { return m_language; }
    // The language shown; the current one when no list is offered.
    std::string SelectedLanguage() const;

private:
    void accept();
    void showResolution();
    void showLanguage();
    void subscribe(MyGUI::Widget* widget);
    // The keyboard order, top to bottom; Escape rejects.
    void ListFocus();

    MyGUI::ScrollBar* m_music = nullptr;
    MyGUI::ScrollBar* m_sound = nullptr;
    MyGUI::Button* m_soundOff = nullptr;
    MyGUI::Button* m_fullscreen = nullptr;
    MyGUI::Button* m_ghost = nullptr;
    bool m_ghostShown = true;
    MyGUI::Button* m_resLeft = nullptr;
    MyGUI::Button* m_resRight = nullptr;
    MyGUI::Button* m_langLeft = nullptr;
    MyGUI::Button* m_langRight = nullptr;
    MyGUI::TextBox* m_resolutionBox = nullptr;
    MyGUI::TextBox* m_languageBox = nullptr;
    // A copy: the running size is added when the render core does not offer it.
    ResolutionList m_resolutions;
    std::size_t m_resolution = 0;
    const LanguageList* m_languages = nullptr;
    std::size_t m_language = 0;
    std::string m_currentLanguage;
    // What the sliders showed on opening: an untouched slider writes nothing.
    int m_musicShown = 0;
    int m_soundShown = 0;
};

} // namespace ui
