#pragma once

#include <ui/MessageBoxA.h>

#include <string>

namespace ui {

// A short message from the crew over the apron radio, shown for a few
// seconds at the top of the screen.
class RadioMessage : public MessageBoxA {
public:
    // The text may be a language tag such as "#{msg_time_up}".
    explicit RadioMessage(const std::string& text);
    virtual ~RadioMessage() = default;

    RadioMessage(const RadioMessage&) = delete;
    RadioMessage& operator=(const RadioMessage&) = delete;

    void Resize() override;
};

} // namespace ui
