#pragma once

#include <event/IListener.h>
#include <ui/Dialog.h>

#include <cstdint>
#include <string>

namespace ui {

// Running mission score, top right; follows the score totals.
class HUDScore : public Dialog, public event::IListener {
public:
    static const base::StringHash kDialogType;

    HUDScore();
    virtual ~HUDScore();

    const base::StringHash& GetType() const override { return kDialogType; }
    void Resize() override;

    const char* Name() override { return "HUDScore"; }
    // Totals set the score; increments are left to the mission. Never consumes.
    bool HandleEvent(const event::IEvent& event) override;

    void SetScore(std::uint32_t score);
    static std::string FormatScore(std::uint32_t score);

    MyGUI::TextBox* text() const { return m_score; }

private:
    MyGUI::TextBox* m_score = nullptr;
};

} // namespace ui
