#pragma once

#include "base/Export.h"
#include "event/IListener.h"
#include "ui/Dialog.h"

#include <string>

namespace ui {

// A character's portrait, name and message, shown for a limited time. The UI
// manager queues message boxes and shows one at a time. Derived classes
// provide Resize.
class DW_API MessageBoxA : public Dialog, public event::IListener {
public:
    static const base::StringHash kDialogType;
    static const double kShowSeconds;

    explicit MessageBoxA(std::string text);
    virtual ~MessageBoxA();

    const base::StringHash& GetType() const override { return kDialogType; }
    void Update(double seconds) override;

    const char* Name() override { return "MessageBox"; }
    // Return (pressed or released) while the box is visible closes it at the next update.
    bool HandleEvent(const event::IEvent& event) override;

    double remaining_time() const { return m_remainingTime; }

private:
    double m_remainingTime = kShowSeconds;
};

} // namespace ui
