#pragma once

#include "common/ProductInfo.h"
#include "resources/Facts.h"
#include "resources/Version.h"
#include "ui/Form1Tiles.h"
#include "win/HighContrast.h"

#include <windows.h>

#include <string>

// The main window's design at 96 dpi: its frame, controls, colours, and the elements it paints,
// among them the parts of the tiles, whose rows stand in ui/Form1Tiles.cpp. Everything is in
// client pixels.
namespace form1 {

// An element the window paints itself, bottom to top: a part of a tile, or one of the
// banner's. The pointer goes to the topmost element under it.
struct Element {
    enum Kind : unsigned char {
        Background,  // the window itself, where no element lies
        TileFrame,
        Bevel1,  // the divider between the tiles and the report area
        TileLabel,
        TileIcon,
        CoolBar1,  // the banner's band
        Image1,  // the banner picture, clipped by the band
        Label7,  // the version over the banner
    };
    Kind kind = Background;
    size_t tile = 0;  // of a tile's part
    constexpr bool operator==(const Element&) const = default;
};

inline constexpr Bounds kBevel1{125, 69, 9, 177};
// The banner band, and the banner picture in it, which the band clips by a column and a row.
inline constexpr Bounds kCoolBar1{0, 0, 468, 49};
inline constexpr Bounds kImage1{0, 0, 469, 50};
inline constexpr Bounds kLabel7{293, 17, 42, 23};

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

// "V2.6": the banner's label, and the caption after the title.
inline constexpr char kVersionLabel[] = "V" KELVANE_VERSION_SHORT;
inline std::string Caption()
{
    return std::string(product::kTitle) + kVersionLabel;
}
inline constexpr POINT kPosition{194, 107};
inline constexpr SIZE kClientSize{468, 274};

// The design's colours, which hold while the system's high contrast is off. The drawing code
// blends the pictures' edges into them, so they are written once, in resources/Facts.txt.
using facts::kTileFill;
using facts::kFrameNormal;
using facts::kFrameHighlighted;
using facts::kVersionColour;
using facts::kReportColour;
// The banner is a light picture that keeps its colours: over it the version stands in black.
inline constexpr COLORREF kVersionColourHighContrast = RGB(0, 0, 0);

// The colours the window paints with: the design's, or the system's palette while high
// contrast is on, so that every text and frame stands out as the user chose.
struct Palette {
    COLORREF tileFill;
    COLORREF caption;
    COLORREF frame;
    COLORREF frameHighlighted;
    COLORREF version;
    COLORREF reportText;
};
inline Palette CurrentPalette()
{
    if (HighContrastIsOn())
        return {::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_BTNTEXT), ::GetSysColor(COLOR_WINDOWTEXT),
                ::GetSysColor(COLOR_HIGHLIGHT), kVersionColourHighContrast, ::GetSysColor(COLOR_WINDOWTEXT)};
    return {kTileFill, ::GetSysColor(COLOR_WINDOWTEXT), kFrameNormal, kFrameHighlighted, kVersionColour, kReportColour};
}

// Controls.
inline constexpr Bounds kToolBar1{0, 49, 468, 30};
inline constexpr Bounds kStatusBar1{0, 253, 468, 21};
inline constexpr Bounds kMemo1{144, 80, 319, 165};
inline constexpr int kToolBarSpacerWidth = 337;  // Label1
inline constexpr int kToolBarRowHeight = 25;
inline constexpr SIZE kToolButtonSize{32, 25};
inline constexpr int kToolSeparatorWidth = 8;
inline constexpr int kStatusPanel0Width = 320;
// The category icons and the tool-bar glyphs are drawn 16 pixels square at 96 dpi.
inline constexpr int kPictureSize = 16;

// A design rectangle in client pixels; `scale` maps design pixels to the screen's.
template <typename Scale>
constexpr RECT ScaledRect(const Bounds& bounds, Scale scale)
{
    const int left = scale(bounds.left);
    const int top = scale(bounds.top);
    return {left, top, left + scale(bounds.width), top + scale(bounds.height)};
}

} // namespace form1
