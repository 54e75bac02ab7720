#pragma once

#include "ui/main/Form1Design.h"

#include <array>
#include <string>

// What the pointer over the main window highlights: which tile frames are red and what status
// panel 0 says.
class HoverFeedback {
public:
    // The outcome of one pointer move: which frames changed, so only they are repainted.
    struct Change {
        std::array<bool, 5> framesChanged{};
        bool statusChanged = false;
    };

    // A pointer move over `element` (None: the window background). The tool bar's spacer
    // counts as background. Elements without a pointer-move handler change nothing.
    Change PointerMovedOver(form1::Element element);
    Change PointerMovedOverToolBarSpacer() { return PointerMovedOver(form1::Element::None); }

    bool IsHighlighted(int tile) const { return highlighted_[static_cast<size_t>(tile)]; }
    const std::string& StatusText() const { return status_; }

private:
    Change Set(int highlightedTile, bool setFrames, const std::string& status);

    std::array<bool, 5> highlighted_{};
    std::string status_ = "系统优化Kelvane";
};
