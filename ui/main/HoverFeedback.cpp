#include "ui/main/HoverFeedback.h"

#include "common/ProductInfo.h"

using form1::Element;

HoverFeedback::Change HoverFeedback::PointerMovedOver(Element element)
{
    if (element == Element::None)
        return Set(-1, true, product::kTitle);
    if (element == Element::Image1)  // the banner restores the title but leaves the frames
        return Set(-1, false, product::kTitle);
    const int tile = form1::TileOfLabel(element);
    if (tile >= 0)
        return Set(tile, true, form1::kTiles[static_cast<size_t>(tile)].statusText);
    return {};
}

HoverFeedback::Change HoverFeedback::Set(int highlightedTile, bool setFrames, const std::string& status)
{
    Change change;
    if (setFrames) {
        for (int i = 0; i < static_cast<int>(highlighted_.size()); ++i) {
            const bool highlighted = i == highlightedTile;
            change.framesChanged[static_cast<size_t>(i)] = highlighted_[static_cast<size_t>(i)] != highlighted;
            highlighted_[static_cast<size_t>(i)] = highlighted;
        }
    }
    change.statusChanged = status_ != status;
    status_ = status;
    return change;
}
