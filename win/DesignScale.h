#pragma once

#include <windows.h>

// Window designs are laid out for a 96-dpi screen, on which the design font (MS Sans Serif,
// character height 11) has a text height of 13 pixels. On a screen of another dpi, every
// position, size, font and picture of a design is scaled by the font's text height there / 13.
class DesignScale {
public:
    DesignScale() = default;
    DesignScale(int numerator, int denominator) : numerator_(numerator), denominator_(denominator) {}

    // The scale for a screen of `dpi` dots per inch.
    static DesignScale ForDpi(int dpi);
    // The scale for this screen (its system dpi).
    static DesignScale ForScreen();
    // The rule itself: `dpi` of the screen, `textHeight(pixels)` the design font's text height
    // when its character height is `pixels`.
    template <typename TextHeight>
    static DesignScale For(int dpi, TextHeight textHeight)
    {
        if (dpi == 96)
            return {};
        // Where the system substitutes another face for the design font, that face's own
        // height at 96 dpi stands for the design's 13.
        const int designHeight = textHeight(11);
        const int height = textHeight(::MulDiv(11, dpi, 96));
        return designHeight > 0 && height != designHeight ? DesignScale(height, designHeight) : DesignScale();
    }

    int operator()(int designPixels) const { return ::MulDiv(designPixels, numerator_, denominator_); }
    RECT operator()(const RECT& design) const
    {
        return {(*this)(design.left), (*this)(design.top), (*this)(design.right), (*this)(design.bottom)};
    }
    bool IsIdentity() const { return numerator_ == denominator_; }

private:
    int numerator_ = 1;
    int denominator_ = 1;
};

// The dpi a window is shown at: its monitor's where the system scales per monitor (Windows 10
// and later), else the screen's.
int WindowDpi(HWND window);

// The outer size of a window whose client area is `clientSize` at `dpi`, frame and menu bar
// measured at that dpi where the system can.
SIZE FrameSizeForDpi(SIZE clientSize, DWORD style, bool hasMenu, int dpi);

// Moves `window` to `place` with a client area of exactly `clientSize`: the frame is first
// made `frameSize`, then corrected by what the client area turned out to be (a menu bar that
// wraps, or a frame drawn at another dpi than asked).
void PlaceWithClientSize(HWND window, POINT place, SIZE clientSize, SIZE frameSize);
