#pragma once

#include "ui/main/Form1Design.h"

#include <optional>
#include <string>

// What the pointer over the main window highlights: the frame of at most one tile is red, and
// status panel 0 explains that tile or shows the title.
class HoverFeedback {
public:
    // The outcome of one pointer move: the frames that changed, so only they are repainted.
    struct Change {
        std::optional<size_t> unhighlighted;
        std::optional<size_t> highlighted;
        bool statusChanged = false;
    };

    // A pointer move over `element` (the background included). The tool bar's spacer counts as
    // background. Elements without a pointer-move handler change nothing.
    Change PointerMovedOver(form1::Element element);
    Change PointerMovedOverToolBarSpacer() { return PointerMovedOver({}); }

    bool IsHighlighted(size_t tile) const { return highlighted_ == tile; }
    const std::string& StatusText() const { return status_; }

private:
    Change Set(std::optional<size_t> highlighted, bool setFrames, const std::string& status);

    std::optional<size_t> highlighted_;
    std::string status_ = product::kTitle;
};
