// The design's composition at the display's scale: pictures scale with the layout, and a dpi
// change lays both windows out again. These run at the test display's 96 dpi and once more in a
// prefix set to 144 dpi (WindowTests.cmake), where the scale is 1.5.
#include "testkit/KelvaneWindowsTest.h"

#include "win/DeviceContext.h"
#include "common/ProductInfo.h"
#include "common/Text.h"
#include "resources/ResourceIds.h"
#include "ui/Form1Tiles.h"

#include <commctrl.h>

#include <cstdlib>

namespace {

using probe::Rect;

class DisplayScale : public KelvaneWindowsTest {
protected:
    int Scaled(int designPixels) { return Form1().Scale()(designPixels); }

    static bool Near(COLORREF a, COLORREF b, int tolerance)
    {
        return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
               std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
    }

    // The columns of the band (rows 0 to the band's bottom) holding pixels that `matches`.
    template <typename Match>
    std::pair<int, int> InkColumns(Match matches)
    {
        ::UpdateWindow(Main());
        WindowDC dc(Main());
        int first = -1;
        int last = -1;
        for (int x = 0; x < Scaled(468); ++x)
            for (int y = 0; y < Scaled(49); ++y)
                if (matches(::GetPixel(dc.Get(), x, y))) {
                    first = first < 0 ? x : first;
                    last = x;
                    break;
                }
        return {first, last};
    }

    // Everything the layout sets, to compare one layout with another.
    struct Layout {
        Rect client, toolBar, statusBar, memo;
        int frameWidth, statusFont, memoFont, glyphs;
        Rect helpClient, helpMemo;
        int helpFont;
        bool operator==(const Layout&) const = default;
    };
    Layout Current()
    {
        auto glyphs = reinterpret_cast<HIMAGELIST>(::SendMessageW(Form1().ToolBar1(), TB_GETIMAGELIST, 0, 0));
        int glyphSize = 0;
        int ignored = 0;
        ::ImageList_GetIconSize(glyphs, &glyphSize, &ignored);
        return {probe::ClientSize(Main()),
                probe::RectIn(Main(), Form1().ToolBar1()),
                probe::RectIn(Main(), Form1().StatusBar1()),
                probe::RectIn(Main(), Form1().Memo1()),
                probe::ScreenRect(Main()).width,
                probe::FontOf(Form1().StatusBar1()).lfHeight,
                probe::FontOf(Form1().Memo1()).lfHeight,
                glyphSize,
                probe::ClientSize(Help()),
                probe::RectIn(Help(), Form3().Memo1()),
                probe::FontOf(Form3().Memo1()).lfHeight};
    }
    void ChangeDpi(HWND window, int dpi)
    {
        RECT suggested;
        ::GetWindowRect(window, &suggested);
        ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }
};

TEST_F(DisplayScale, RunsAtTheDpiTheRunAsksFor)
{
    const char* expected = std::getenv("KELVANE_EXPECTED_DPI");
    ASSERT_EQ(WindowDpi(Main()), expected ? std::atoi(expected) : 96) << "the display scale fell back";
}

TEST_F(DisplayScale, BannerFillsItsBandToTheLastColumnAndRow)
{
    ::UpdateWindow(Main());
    const int right = Scaled(468) - 1;
    const int bottom = Scaled(49) - 1;
    // The band's light-blue top edge reaches its right end, and its white foot the bottom row.
    EXPECT_TRUE(Near(probe::PixelAt(Main(), right, 0), RGB(126, 178, 229), 4));
    EXPECT_TRUE(Near(probe::PixelAt(Main(), right, bottom), RGB(255, 255, 255), 8));
    EXPECT_TRUE(Near(probe::PixelAt(Main(), 1, bottom), RGB(255, 255, 255), 8));
}

TEST_F(DisplayScale, VersionStandsInTheGapBetweenTitleAndTagline)
{
    const auto title = InkColumns([](COLORREF c) { return Near(c, RGB(51, 102, 153), 24); });
    const auto tagline = InkColumns([](COLORREF c) { return GetRValue(c) > 170 && GetGValue(c) < 60; });
    const auto version = InkColumns([](COLORREF c) { return c == RGB(128, 0, 0); });
    ASSERT_GE(version.first, 0) << "\"V2.6\" is drawn";
    EXPECT_GT(version.first, title.second) << "title ends at " << title.second;
    EXPECT_LT(version.second, tagline.first) << "tagline starts at " << tagline.first;
    // The design's proportions: title from column 26, tagline to column 438.
    EXPECT_NEAR(title.first, Scaled(26), Scaled(3));
    EXPECT_NEAR(tagline.second, Scaled(438), Scaled(3));
}

TEST_F(DisplayScale, CategoryIconsStandAtTheTopLeftOfTheirCellsAtTheScaledSize)
{
    const int size = Scaled(16);
    EXPECT_EQ(Form1().PictureSize(), size);
    ::UpdateWindow(Main());
    constexpr POINT kCells[] = {{23, 84}, {22, 116}, {22, 148}, {21, 180}, {21, 212}};
    WindowDC window(Main());
    for (int tile = 0; tile < 5; ++tile) {
        SCOPED_TRACE(tile);
        // The same icon drawn alone on the tile's fill, beside what the window shows.
        UniqueMemoryDC expected = CreateMemoryDC(window.Get());
        UniqueBitmap bitmap(::CreateCompatibleBitmap(window.Get(), size, size));
        SelectedObject selected(expected.Get(), bitmap.Get());
        UniqueBrush fill(::CreateSolidBrush(RGB(134, 216, 247)));
        const RECT all{0, 0, size, size};
        ::FillRect(expected.Get(), &all, fill.Get());
        UniqueIcon icon(static_cast<HICON>(
            ::LoadImageW(::GetModuleHandleW(nullptr), WideFromGbk(form1::kTiles[static_cast<size_t>(tile)].iconResource).c_str(),
                         IMAGE_ICON, size, size, 0)));
        ::DrawIconEx(expected.Get(), 0, 0, icon.Get(), size, size, 0, nullptr, DI_NORMAL);
        const int left = Scaled(kCells[tile].x);
        const int top = Scaled(kCells[tile].y);
        int same = 0;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                same += ::GetPixel(window.Get(), left + x, top + y) == ::GetPixel(expected.Get(), x, y);
        // A corner of the caption may reach under the icon's transparent edge.
        EXPECT_GE(same * 10, size * size * 9) << same << " of " << size * size << " pixels";
    }
}

TEST_F(DisplayScale, ToolBarGlyphsAndButtonsScaleAlike)
{
    auto glyphs = reinterpret_cast<HIMAGELIST>(::SendMessageW(Form1().ToolBar1(), TB_GETIMAGELIST, 0, 0));
    int width = 0;
    int height = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(glyphs, &width, &height));
    EXPECT_EQ(width, Scaled(16));
    EXPECT_EQ(height, Scaled(16));
    const RECT exit = ToolButtonRect("退出");
    EXPECT_EQ(exit.left, Scaled(337) + 2 * (Scaled(32) + Scaled(8)) + Scaled(8));
    EXPECT_EQ(exit.right - exit.left, Scaled(32));
    EXPECT_EQ(exit.bottom - exit.top, Scaled(25));
}

TEST_F(DisplayScale, HomePageStandsWholeInStatusPanel1WithRoomOnBothSides)
{
    // Under Wine, a code page other than 936 gives the status bar's face no Latin letters.
    if (::GetACP() != 936)
        GTEST_SKIP() << "the status bar's face under Wine needs code page 936";
    HWND statusBar = Form1().StatusBar1();
    RECT panel{};
    ::SendMessageW(statusBar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&panel));
    WindowDC dc(statusBar);
    SelectedObject font(dc.Get(), reinterpret_cast<HFONT>(::SendMessageW(statusBar, WM_GETFONT, 0, 0)));
    const std::wstring text = probe::Wide(product::kHomePageShown);
    SIZE extent{};
    ::GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
    const int margin = Scaled(6);
    EXPECT_LE(extent.cx + 2 * margin, panel.right - panel.left) << "the text is " << extent.cx << " wide";

    // What the user sees: the letters lie inside the panel, clear of both its edges.
    ::UpdateWindow(statusBar);
    int first = -1;
    int last = -1;
    for (int x = panel.left; x < panel.right; ++x)
        for (int y = panel.top + 2; y < panel.bottom - 2; ++y)
            if (::GetPixel(dc.Get(), x, y) == ::GetSysColor(COLOR_BTNTEXT)) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
    ASSERT_GE(first, 0) << "no letters in panel 1";
    EXPECT_GE(first - panel.left, margin);
    EXPECT_GE(panel.right - 1 - last, margin);
}

TEST_F(DisplayScale, DpiChangeLaysBothWindowsOutAgainAndBackGivesTheFirstLayout)
{
    const Layout before = Current();
    const int startDpi = WindowDpi(Main());
    const int otherDpi = startDpi == 96 ? 144 : 96;
    const ::DesignScale other = ::DesignScale::ForDpi(otherDpi);

    ChangeDpi(Main(), otherDpi);
    ChangeDpi(Help(), otherDpi);
    const Layout changed = Current();
    EXPECT_EQ(changed.client, (Rect{0, 0, other(468), other(274)}));
    EXPECT_EQ(changed.memo, (Rect{other(144), other(80), other(319), other(165)}));
    EXPECT_EQ(changed.statusBar, (Rect{0, other(253), other(468), other(21)}));
    EXPECT_EQ(changed.statusFont, -other(11));
    EXPECT_EQ(changed.memoFont, -other(12));
    EXPECT_EQ(changed.glyphs, other(16));
    EXPECT_EQ(Form1().PictureSize(), other(16));
    EXPECT_EQ(changed.helpClient, (Rect{0, 0, other(314), other(147)}));
    EXPECT_EQ(changed.helpMemo, (Rect{0, 0, other(312), other(145)}));
    EXPECT_EQ(changed.helpFont, -other(12));

    ChangeDpi(Main(), startDpi);
    ChangeDpi(Help(), startDpi);
    EXPECT_EQ(Current(), before);
}

} // namespace
