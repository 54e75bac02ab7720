#pragma once

#include "common/UniqueHandle.h"
#include "ui/main/Form1Design.h"
#include "ui/main/HoverFeedback.h"
#include "win/DesignScale.h"

#include <windows.h>

#include <vector>

// Paints the main window's own elements, bottom to top: the tiles' frames, labels and icons,
// the divider, and the banner with its version label, in the palette of the moment. It owns the
// fonts and pictures they are drawn with, made anew for each scale.
class Form1Painter {
public:
    explicit Form1Painter(HINSTANCE instance);

    void LayOut(const DesignScale& scale);
    // The size the category icons and tool-bar glyphs are drawn at.
    int PictureSize() const noexcept;

    // Paints the whole client area into `dc`, frames as `hover` has them.
    void Paint(HDC dc, const RECT& client, const HoverFeedback& hover) const;

private:
    void PaintFrame(HDC dc, const RECT& bounds, bool highlighted, const form1::Palette& palette, HBRUSH fill) const;
    void PaintText(HDC dc, const char* text, const RECT& bounds, HFONT font, COLORREF colour, UINT format) const;

    HINSTANCE instance_;
    DesignScale scale_;
    UniqueFont labelFont_;
    UniqueFont versionFont_;
    UniqueBitmap banner_;        // drawn for 100 %
    UniqueBitmap banner2x_;      // drawn for 200 %, loaded once a display asks for more than 100 %
    UniqueBitmap scaledBanner_;  // the banner at any other scale; empty at 100 %
    std::vector<UniqueIcon> categoryIcons_;  // one a tile
};
