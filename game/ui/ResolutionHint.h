#pragma once

#include "ui/NoticeDialog.h"

namespace ui {

// Says that a new resolution, screen mode or language takes effect at the next start.
class ResolutionHint : public NoticeDialog {
public:
    static const base::StringHash kDialogType;

    ResolutionHint();
    virtual ~ResolutionHint();

    const base::StringHash& GetType() const override { return kDialogType; }
};

} // namespace ui
