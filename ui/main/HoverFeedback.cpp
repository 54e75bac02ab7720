#include "ui/main/HoverFeedback.h"

#include "ui/Form1Tiles.h"

using form1::Element;

HoverFeedback::Change HoverFeedback::PointerMovedOver(Element element)
{
    switch (element.kind) {
    case Element::Background:
        return Set(std::nullopt, true, product::kTitle);
    case Element::Image1:  // the banner restores the title but leaves the frames
        return Set(std::nullopt, false, product::kTitle);
    case Element::TileLabel:
        return Set(element.tile, true, form1::kTiles[element.tile].statusHint);
    default:
        return {};
    }
}

HoverFeedback::Change HoverFeedback::Set(std::optional<size_t> highlighted, bool setFrames, const std::string& status)
{
    Change change;
    if (setFrames && highlighted != highlighted_) {
        change.unhighlighted = highlighted_;
        change.highlighted = highlighted;
        highlighted_ = highlighted;
    }
    change.statusChanged = status_ != status;
    status_ = status;
    return change;
}
