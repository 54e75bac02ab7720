#pragma once

#include "ui/main/Form1Design.h"

#include <span>

namespace form1 {

// The tiles, top to bottom, and the tool buttons, left to right: one row each (Form1Tiles.cpp).
// Painting, hit-testing, hover, commands, shortcuts, the screen-reader view, the help window's
// menu and the resources all follow from these rows.
extern const std::span<const Tile> kTiles;
extern const std::span<const ToolButton> kToolButtons;

// Visits the painted elements in drawing order, `visit(element, bounds)`: the tiles' frames, the
// divider, the labels, the icons (a row's icon drawn last where the row says so), then the
// banner's band, picture and version label.
template <typename Visit>
void ForEachElement(Visit visit)
{
    for (size_t tile = 0; tile < kTiles.size(); ++tile)
        visit(Element{Element::TileFrame, tile}, kTiles[tile].frame);
    visit(Element{Element::Bevel1}, kBevel1);
    for (size_t tile = 0; tile < kTiles.size(); ++tile)
        visit(Element{Element::TileLabel, tile}, kTiles[tile].label);
    for (const bool last : {false, true})
        for (size_t tile = 0; tile < kTiles.size(); ++tile)
            if (kTiles[tile].iconDrawnLast == last)
                visit(Element{Element::TileIcon, tile}, kTiles[tile].icon);
    visit(Element{Element::CoolBar1}, kCoolBar1);
    visit(Element{Element::Image1}, kImage1);
    visit(Element{Element::Label7}, kLabel7);
}

// The element under a client point: the topmost, drawn last; the window background where there
// is none. `toScreen` maps design bounds to the screen's (the design scale).
template <typename ToScreen>
Element HitTest(int x, int y, ToScreen toScreen)
{
    Element topmost;
    ForEachElement([&](const Element& element, const Bounds& bounds) {
        // The band clips the banner picture and the version label.
        const bool insideBand = element.kind == Element::Image1 || element.kind == Element::Label7;
        if (toScreen(bounds).Contains(x, y) && (!insideBand || toScreen(kCoolBar1).Contains(x, y)))
            topmost = element;
    });
    return topmost;
}

inline Element HitTest(int x, int y)
{
    return HitTest(x, y, [](const Bounds& bounds) { return bounds; });
}

} // namespace form1
