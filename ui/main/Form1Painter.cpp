#include "ui/main/Form1Painter.h"

#include "common/Text.h"
#include "resources/ResourceIds.h"
#include "ui/Form1Tiles.h"
#include "win/DeviceContext.h"
#include "win/Gdi.h"

using form1::Element;

Form1Painter::Form1Painter(HINSTANCE instance)
    : instance_(instance), banner_(LoadBitmapResource(instance, IDB_BANNER)), categoryIcons_(form1::kTiles.size())
{
}

int Form1Painter::PictureSize() const noexcept
{
    return scale_(form1::kPictureSize);
}

void Form1Painter::LayOut(const DesignScale& scale)
{
    scale_ = scale;
    labelFont_ = CreateDesignFont(scale_(14), L"宋体", GB2312_CHARSET, FW_BOLD);
    // Latin letters only: the Latin character set keeps a serif face where Times New Roman is
    // missing, not the Chinese face of the locale.
    versionFont_ = CreateDesignFont(scale_(21), L"Times New Roman", ANSI_CHARSET, FW_NORMAL, FF_ROMAN);
    for (size_t tile = 0; tile < form1::kTiles.size(); ++tile)
        categoryIcons_[tile] =
            LoadIconOfSize(instance_, WideFromGbk(form1::kTiles[tile].iconResource).c_str(), PictureSize());

    // The banner fills its band at every scale: drawn for 100 % and 200 %, and in between
    // the nearest larger drawing scaled down.
    scaledBanner_.Reset();
    const SIZE size{scale_(form1::kImage1.width), scale_(form1::kImage1.height)};
    if (scale_.IsIdentity() || !banner_)
        return;
    if (size.cx <= BitmapSize(banner_.Get()).cx) {
        scaledBanner_ = Stretched(banner_.Get(), size);
        return;
    }
    if (!banner2x_)
        banner2x_ = LoadBitmapResource(instance_, IDB_BANNER_2X);
    scaledBanner_ = Stretched(banner2x_ ? banner2x_.Get() : banner_.Get(), size);
}

void Form1Painter::PaintFrame(HDC dc, const RECT& bounds, bool highlighted, const form1::Palette& palette,
                              HBRUSH fill) const
{
    // The outline lies inside the frame's bounds, half its width in from the edge. Its width
    // (1 pixel, 2 when highlighted) scales with the design.
    const int penWidth = scale_(highlighted ? 2 : 1);
    UniquePen pen(::CreatePen(PS_SOLID, penWidth, highlighted ? palette.frameHighlighted : palette.frame));
    SelectedObject selectedPen(dc, pen.Get());
    SelectedObject selectedBrush(dc, fill);
    const int inset = penWidth / 2;
    const int width = bounds.right - bounds.left - penWidth + 1;
    const int height = bounds.bottom - bounds.top - penWidth + 1;
    ::Rectangle(dc, bounds.left + inset, bounds.top + inset, bounds.left + inset + width,
                bounds.top + inset + height);
}

void Form1Painter::PaintText(HDC dc, const char* text, const RECT& bounds, HFONT font, COLORREF colour,
                             UINT format) const
{
    const std::wstring wide = WideFromGbk(text);
    SelectedObject selected(dc, font);
    ::SetTextColor(dc, colour);
    RECT textBounds = bounds;
    ::DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &textBounds, format | DT_EXPANDTABS);
}

void Form1Painter::Paint(HDC dc, const RECT& client, const HoverFeedback& hover) const
{
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetBkMode(dc, TRANSPARENT);
    // Asked at every paint: the user may switch high contrast on or off at any time.
    const form1::Palette palette = form1::CurrentPalette();
    const UniqueBrush tileFill(::CreateSolidBrush(palette.tileFill));

    form1::ForEachElement([&](const Element& element, const form1::Bounds& design) {
        const RECT bounds = form1::ScaledRect(design, scale_);
        const size_t tile = element.tile;
        switch (element.kind) {
        case Element::TileFrame:
            PaintFrame(dc, bounds, hover.IsHighlighted(tile), palette, tileFill.Get());
            break;
        case Element::Bevel1: {
            // A lowered line along the right edge: shadow, then highlight, a pixel each at 100 %.
            const int line = scale_(1);
            RECT shadow{bounds.right - 2 * line, bounds.top, bounds.right - line, bounds.bottom};
            RECT light{bounds.right - line, bounds.top, bounds.right, bounds.bottom};
            ::FillRect(dc, &shadow, ::GetSysColorBrush(COLOR_BTNSHADOW));
            ::FillRect(dc, &light, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
            break;
        }
        case Element::TileLabel:
            PaintText(dc, form1::kTiles[tile].caption, bounds, labelFont_.Get(), palette.caption, DT_CENTER);
            break;
        case Element::TileIcon:
            if (categoryIcons_[tile])
                ::DrawIconEx(dc, bounds.left, bounds.top, categoryIcons_[tile].Get(), PictureSize(), PictureSize(),
                             0, nullptr, DI_NORMAL);
            break;
        case Element::CoolBar1:
            ::FillRect(dc, &bounds, ::GetSysColorBrush(COLOR_BTNFACE));
            break;
        case Element::Image1: {
            // The band clips the picture's last column and row.
            const RECT band = form1::ScaledRect(form1::kCoolBar1, scale_);
            UniqueMemoryDC source = CreateMemoryDC(dc);
            SelectedObject selected(source.Get(), scaledBanner_ ? scaledBanner_.Get() : banner_.Get());
            ::BitBlt(dc, band.left, band.top, band.right - band.left, band.bottom - band.top, source.Get(), 0, 0,
                     SRCCOPY);
            break;
        }
        case Element::Label7:
            PaintText(dc, form1::kVersionLabel, bounds, versionFont_.Get(), palette.version, DT_LEFT);
            break;
        case Element::Background:
            break;
        }
    });
}
