#pragma once

#include "common/ProductInfo.h"
#include "resources/Version.h"

#include <windows.h>

#include <array>
#include <string>

// The main window's design at 96 dpi: the lightweight elements it paints itself, bottom to
// top, and the places of its controls. Everything is in client pixels.
namespace form1 {

enum class Element {
    None,
    Shape1, Shape2, Shape3, Shape4, Shape5,
    Bevel1,
    Label2, Label3, Label4, Label5, Label6,
    Image2, Image3, Image4, Image5, Image6,
    CoolBar1, Image1, Label7,
};

struct Bounds {
    int left, top, width, height;
    constexpr bool Contains(int x, int y) const
    {
        return x >= left && x < left + width && y >= top && y < top + height;
    }
};

struct ElementDesign {
    Element element;
    Bounds bounds;
};

// The banner band, and the banner picture in it, which the band clips by a column and a row.
inline constexpr Bounds kCoolBar1{0, 0, 468, 49};
inline constexpr Bounds kImage1{0, 0, 469, 50};

// Drawing order; the pointer goes to the last element that contains it. Image1 and Label7 lie
// inside CoolBar1 and are clipped to it.
inline constexpr std::array<ElementDesign, 19> kElements{{
    {Element::Shape1, {17, 79, 106, 25}},
    {Element::Shape2, {17, 111, 106, 25}},
    {Element::Shape3, {17, 143, 106, 25}},
    {Element::Shape4, {17, 175, 106, 25}},
    {Element::Shape5, {17, 207, 106, 25}},
    {Element::Bevel1, {125, 69, 9, 177}},
    {Element::Label2, {17, 85, 109, 19}},
    {Element::Label3, {16, 117, 109, 19}},
    {Element::Label4, {16, 149, 109, 19}},
    {Element::Label5, {17, 181, 109, 19}},
    {Element::Label6, {16, 213, 109, 19}},
    {Element::Image3, {22, 116, 32, 32}},
    {Element::Image4, {22, 148, 32, 32}},
    {Element::Image5, {21, 180, 32, 32}},
    {Element::Image6, {21, 212, 32, 32}},
    {Element::Image2, {23, 84, 32, 32}},
    {Element::CoolBar1, kCoolBar1},
    {Element::Image1, kImage1},
    {Element::Label7, {293, 17, 42, 23}},
}};

// What the tiles and tool buttons run, from a click, a shortcut key or a screen reader.
enum Command : UINT {
    Label2 = 102,  // the tiles, in order
    Label3,
    Label4,
    Label5,
    Label6,
    ToolButton3 = 203,  // help
    ToolButton5 = 205,  // mail
    ToolButton9 = 209,  // exit
};

// A category tile: its frame, its label (which takes the clicks), its icon, caption, the status
// text that explains it, and its command.
struct Tile {
    Element shape;
    Element label;
    Element image;
    const char* caption;
    const char* statusText;
    Command command;
};

inline constexpr std::array<Tile, 5> kTiles{{
    {Element::Shape1, Element::Label2, Element::Image2, "     系统信息   ", "检测并显示系统信息", Label2},
    {Element::Shape2, Element::Label3, Element::Image3, "     系统优化   ", "系统内部优化达到最佳的运行状态", Label3},
    {Element::Shape3, Element::Label4, Element::Image4, "     网络加速   ", "优化网络配置使上网速度达到最快", Label4},
    {Element::Shape4, Element::Label5, Element::Image5, "     清理维护   ", "清理系统内部的垃圾文件和垃圾信息", Label5},
    {Element::Shape5, Element::Label6, Element::Image6, "     自动修复   ", "网络自动修复、IE修复、广告拦截", Label6},
}};

// "V2.6": the banner's label, and the caption after the title.
inline constexpr char kVersionLabel[] = "V" KELVANE_VERSION_SHORT;
inline std::string Caption()
{
    return std::string(product::kTitle) + kVersionLabel;
}
inline constexpr POINT kPosition{194, 107};
inline constexpr SIZE kClientSize{468, 274};

inline constexpr COLORREF kTileFill = RGB(134, 216, 247);
inline constexpr COLORREF kFrameNormal = RGB(0, 0, 0);
inline constexpr COLORREF kFrameHighlighted = RGB(255, 0, 0);
inline constexpr COLORREF kVersionColour = RGB(128, 0, 0);
inline constexpr COLORREF kReportColour = RGB(0, 128, 128);

// Controls.
inline constexpr Bounds kToolBar1{0, 49, 468, 30};
inline constexpr Bounds kStatusBar1{0, 253, 468, 21};
inline constexpr Bounds kMemo1{144, 80, 319, 165};
inline constexpr int kToolBarSpacerWidth = 337;  // Label1
inline constexpr int kToolBarRowHeight = 25;
inline constexpr SIZE kToolButtonSize{32, 25};
inline constexpr int kToolSeparatorWidth = 8;
inline constexpr int kStatusPanel0Width = 320;

struct ToolButton {
    Command command;
    int glyph;
    const char* hint;
};

// Left to right, each after an 8-pixel separator.
inline constexpr std::array<ToolButton, 3> kToolButtons{{
    {ToolButton3, 1, "常见问题"},
    {ToolButton5, 0, "给我写信"},
    {ToolButton9, 3, "退出"},
}};

// A design rectangle in client pixels; `scale` maps design pixels to the screen's.
template <typename Scale>
constexpr RECT ScaledRect(const Bounds& bounds, Scale scale)
{
    const int left = scale(bounds.left);
    const int top = scale(bounds.top);
    return {left, top, left + scale(bounds.width), top + scale(bounds.height)};
}

// The frame of a tile (its Shape), which holds its label and icon.
constexpr Bounds TileFrame(int tile)
{
    for (const ElementDesign& design : kElements)
        if (design.element == kTiles[static_cast<size_t>(tile)].shape)
            return design.bounds;
    return {};
}

// The element under a client point, or None for the window background. `toScreen` maps
// design bounds to the screen's (the design scale).
template <typename ToScreen>
constexpr Element HitTest(int x, int y, ToScreen toScreen)
{
    for (auto it = kElements.rbegin(); it != kElements.rend(); ++it) {
        const bool insideBand = it->element == Element::Image1 || it->element == Element::Label7;
        if (toScreen(it->bounds).Contains(x, y) && (!insideBand || toScreen(kCoolBar1).Contains(x, y)))
            return it->element;
    }
    return Element::None;
}

constexpr Element HitTest(int x, int y)
{
    return HitTest(x, y, [](const Bounds& bounds) { return bounds; });
}

// The tile whose label is `element`, or -1.
constexpr int TileOfLabel(Element element)
{
    for (int i = 0; i < static_cast<int>(kTiles.size()); ++i)
        if (kTiles[static_cast<size_t>(i)].label == element)
            return i;
    return -1;
}

} // namespace form1
