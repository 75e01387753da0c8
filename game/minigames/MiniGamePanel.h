#pragma once

#include <ui/Dialog.h>

#include <functional>
#include <string>

namespace MyGUI {
class TextBox;
class Widget;
}

namespace ui {

// The frame every mini-game panel shares: a panel layout with a remaining-time
// text, a scale layout loaded into a container of it, centred below the top
// edge, sliding in from the left. Panels are passive views; their owner
// drives the setters and closes them with exitWindow.
class MiniGamePanel : public Dialog {
public:
    static const int kTopOffset;

    MiniGamePanel(const MiniGamePanel&) = delete;
    MiniGamePanel& operator=(const MiniGamePanel&) = delete;
    ~MiniGamePanel() override;

    // Centres the panel 60 pixels below the top edge, sized as its layout.
    void Resize() override;
    // Remaining seconds, written as the HUD's time display writes them; may be negative.
    void SetTime(double seconds);

    // Called once when the panel is deleted, however it was closed, so an
    // owner never keeps a pointer to a panel that is gone.
    void SetGoneHandler(std::function<void()> handler) { m_gone = std::move(handler); }

protected:
    // Loads the panel layout and the scale layout into the named container.
    MiniGamePanel(const std::string& name, const std::string& panelLayout, const std::string& scaleContainer,
                  const std::string& scaleLayout);

    // The value limited to [0, 1]; anything that is not a number counts as 0.
    static double Clamp01(double value);
    // Pixels between the scale's start and the last place the marker fits; never negative.
    static int Travel(int scaleLength, int markerLength);
    // Moves a marker along a horizontal scale to value x travel.
    static void MoveAlong(MyGUI::Widget* marker, double value, int travel);
    // Writes a whole number, with a minus sign when negative.
    static void WriteNumber(MyGUI::TextBox* text, int value);

    MyGUI::TextBox* m_time = nullptr;

private:
    std::function<void()> m_gone;
};

} // namespace ui
