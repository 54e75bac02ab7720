#pragma once

#include "win/CommonControls.h"

#include <windows.h>

// Whether the system's high contrast is on (SPI_GETHIGHCONTRAST reports HCF_HIGHCONTRASTON).
// While it is, the windows paint what they draw themselves in the system's colours, which are
// then the high-contrast palette. Tests put their own switch in its place: Wine keeps it off.
using HighContrastQuery = bool (*)();
HighContrastQuery& HighContrastSwitch();
inline bool HighContrastIsOn()
{
    return HighContrastSwitch()();
}

// Gives a common control its visual style, or takes it away while high contrast is on: a
// themed control keeps its style's light surfaces, on which the palette's light texts vanish.
void FollowHighContrast(HWND control);

// Keeps a status bar's texts in the palette's button-text colour while high contrast is on, for
// as long as the guard lives.
WindowSubclass StatusTextInSystemColours(HWND statusBar);

// Whether `message` tells the windows that the colours they paint with may have changed: the
// system's colours, the high-contrast switch, or the visual style.
bool ChangesColours(UINT message, WPARAM wParam);
