#pragma once

#include "minigames/MiniGamePanel.h"

namespace MyGUI {
class ImageBox;
}

namespace ui {

// The baggage scale: a needle showing how much of the load is on board.
class BaggagePanel : public MiniGamePanel {
public:
    static const base::StringHash kDialogType;

    BaggagePanel();
    ~BaggagePanel() override = default;

    const base::StringHash& GetType() const override { return kDialogType; }

    void SetProgress(double value);

    int travel() const { return m_travel; }

private:
    MyGUI::ImageBox* m_indicator = nullptr;
    int m_travel = 0;
};

} // namespace ui
