#pragma once

#include "minigames/MiniGamePanel.h"

namespace MyGUI {
class ImageBox;
}

namespace ui {

// The catering loading scale: a needle showing how far the trolleys are in.
class CateringLoadPanel : public MiniGamePanel {
public:
    static const base::StringHash kDialogType;

    CateringLoadPanel();
    ~CateringLoadPanel() override = default;

    const base::StringHash& GetType() const override { return kDialogType; }

    void SetValue(double value);

    int travel() const { return m_travel; }

private:
    MyGUI::ImageBox* m_indicator = nullptr;
    int m_travel = 0;
};

} // namespace ui
