#pragma once

#include "ui/Commands.h"

#include <windows.h>

#include <span>
#include <string>

// The main window's tiles and tool buttons as data: the main window paints, hit-tests, hovers,
// dispatches and shows them to screen readers from these rows, and the help window takes its
// topics from them. Everything is in the main window's client pixels at 96 dpi.
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

// A button of the tool bar, after an 8-pixel separator: its glyph, its hint, which its tool-tip
// and a screen reader show, its shortcut and what a click on it runs.
struct ToolButton {
    const char* glyph;  // the name of its icon in the program's resources
    const char* hint;
    Shortcut shortcut;
    Command command;
};

// The tiles, top to bottom, and the tool buttons, left to right: one row each (Form1Tiles.cpp).
extern const std::span<const Tile> kTiles;
extern const std::span<const ToolButton> kToolButtons;

} // namespace form1
