#pragma once

#include <windows.h>

// Window designs are laid out for a 96-dpi screen, on which the design font (MS Sans Serif,
// character height 11) has a text height of 13 pixels. On a screen of another dpi, every
// position, size and font of a design is scaled by the font's text height there / 13.
class DesignScale {
public:
    DesignScale() = default;
    DesignScale(int numerator, int denominator) : numerator_(numerator), denominator_(denominator) {}

    // The scale for this screen.
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
