#pragma once

#include "common/ProductInfo.h"
#include "resources/Version.h"
#include "ui/Commands.h"
#include "win/HighContrast.h"

#include <windows.h>

#include <span>
#include <string>

// The main window's design at 96 dpi: its frame, controls, colours and the shape of its tiles
// and tool buttons, whose rows stand in Form1Tiles.cpp. Everything is in client pixels.
namespace form1 {

struct Bounds {
    int left, top, width, height;
    constexpr bool Contains(int x, int y) const
    {
        return x >= left && x < left + width && y >= top && y < top + height;
    }
};

// A key that runs a command: a virtual key, with Ctrl where asked. A digit with Ctrl works from
// either row of digits.
struct Shortcut {
    WORD key = 0;  // none
    bool control = false;
    // As a screen reader says it: "Ctrl+1", "F1".
    std::wstring Text() const;
};

// The help window's topic of a tile: its menu caption, and its text, lines ended by "\n".
struct HelpTopic {
    const char* menuCaption;
    const char* text;
};

// A category tile, in the design's own bounds (irregular by a pixel here and there). Its frame
// lies under its label, and its icon over the label's left, reaching into the next frame.
struct Tile {
    Bounds frame;  // the Shape, outlined; highlighted while the pointer is on the label
    Bounds label;  // the Label, which takes the clicks
    Bounds icon;   // the Image, which has no handler
    bool iconDrawnLast;  // drawn after the other tiles' icons
    const char* caption;
    const char* statusHint;  // status panel 0 while the pointer is on the label
    const char* iconResource;  // the name of its icon in the program's resources
    Shortcut shortcut;
    Command command;  // what a click on its label runs
    HelpTopic help;
};

// A button of the tool bar, after an 8-pixel separator: its glyph in the image list, its hint,
// which its tool-tip and a screen reader show, its shortcut and what a click on it runs.
struct ToolButton {
    int glyph;
    const char* hint;
    Shortcut shortcut;
    Command command;
};

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

// "V2.6": the banner's label, and the caption after the title.
inline constexpr char kVersionLabel[] = "V" KELVANE_VERSION_SHORT;
inline std::string Caption()
{
    return std::string(product::kTitle) + kVersionLabel;
}
inline constexpr POINT kPosition{194, 107};
inline constexpr SIZE kClientSize{468, 274};

// The design's colours, which hold while the system's high contrast is off.
inline constexpr COLORREF kTileFill = RGB(134, 216, 247);
inline constexpr COLORREF kFrameNormal = RGB(0, 0, 0);
inline constexpr COLORREF kFrameHighlighted = RGB(255, 0, 0);
inline constexpr COLORREF kVersionColour = RGB(128, 0, 0);
inline constexpr COLORREF kReportColour = RGB(0, 128, 128);
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
