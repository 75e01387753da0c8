#include "ui/HUDScore.h"

#include "event/ScoreEvent.h"

#include <event/Manager.h>
#include <ui/Manager.h>

#include <MyGUI.h>

namespace ui {

const base::StringHash HUDScore::kDialogType("HUDScore");

namespace {
// Registered on construction and withdrawn on destruction, from this one list.
const base::StringHash* const kEvents[] = {&event::ScoreEvent::kEventType};
} // namespace

HUDScore::HUDScore() : Dialog("Middle", "HUDScore", "HUDScore", NONE) {
    LoadLayout("hud_score.layout");
    Resize();
    m_score = require<MyGUI::TextBox>("hud_score");
    SetText(m_score, "0");
    showWindow();
    if (auto* events = event::Manager::getSingleton())
        for (const base::StringHash* type : kEvents)
            events->AddListener(*this, *type);
}

HUDScore::~HUDScore() {
    if (auto* events = event::Manager::getSingleton())
        for (const base::StringHash* type : kEvents)
            events->RemoveListener(*this, *type);
}

void HUDScore::Resize() {
    if (const Manager* manager = Manager::getSingleton())
        set_position(static_cast<int>(manager->getWidth() - m_size.x), 0);
}

bool HUDScore::HandleEvent(const event::IEvent& event) {
    if (event.event_type() != event::ScoreEvent::kEventType)
        return false;
    const auto& score = static_cast<const event::ScoreEvent&>(event);
    if (score.kind() == event::ScoreEvent::kTotal)
        SetScore(score.value());
    return false;
}

std::string HUDScore::FormatScore(std::uint32_t score) {
    return std::to_string(score);
}

void HUDScore::SetScore(std::uint32_t score) {
    SetText(m_score, FormatScore(score));
}

} // namespace ui
