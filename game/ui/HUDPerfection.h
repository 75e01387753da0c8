#pragma once

#include <ui/Dialog.h>

#include <cstdint>
#include <string>

namespace MyGUI {
class ProgressBar;
}

namespace ui {

// Parking precision as a bar and a percentage; slides in from the top while
// the vehicle stands in a service zone.
class HUDPerfection : public Dialog {
public:
    static const base::StringHash kDialogType;
    static const std::uint32_t kRange;

    HUDPerfection();
    virtual ~HUDPerfection();

    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override;

    // Percent; values above the bar's range are shown full.
    void SetPerfection(std::uint32_t perfection);
    static std::string FormatPerfection(std::uint32_t perfection);

    MyGUI::ProgressBar* bar() const { return m_bar; }
    MyGUI::TextBox* text() const { return m_percentage; }

private:
    MyGUI::ProgressBar* m_bar = nullptr;
    MyGUI::TextBox* m_percentage = nullptr;
};

} // namespace ui
