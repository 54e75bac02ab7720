// Both windows under a high-contrast palette, read from their pixels. The palette is real: the
// run's Wine prefix holds High Contrast Black or White as its system colours (KELVANE_PALETTE
// names which; other runs skip these tests). Wine keeps the switch itself off, so the tests turn
// it on through the program's seam, while the windows are up, as a user would.
#include "testkit/KelvaneWindowsTest.h"

#include "ui/Form1Tiles.h"
#include "win/DeviceContext.h"
#include "win/HighContrast.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

// WCAG's contrast ratio of two colours, from their relative luminance.
double Luminance(COLORREF colour)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(colour)) + 0.7152 * channel(GetGValue(colour)) +
           0.0722 * channel(GetBValue(colour));
}

double Contrast(COLORREF a, COLORREF b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// What a window shows, copied once from its client area.
class Snapshot {
public:
    explicit Snapshot(HWND window)
    {
        RECT client;
        ::GetClientRect(window, &client);
        width_ = client.right;
        height_ = client.bottom;
        WindowDC dc(window);
        UniqueMemoryDC memory = CreateMemoryDC(dc.Get());
        UniqueBitmap bitmap(::CreateCompatibleBitmap(dc.Get(), width_, height_));
        {
            SelectedObject selected(memory.Get(), bitmap.Get());
            ::BitBlt(memory.Get(), 0, 0, width_, height_, dc.Get(), 0, 0, SRCCOPY);
        }
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
        ::GetDIBits(memory.Get(), bitmap.Get(), 0, static_cast<UINT>(height_), pixels_.data(), &info, DIB_RGB_COLORS);
    }

    COLORREF At(int x, int y) const
    {
        const RGBQUAD& p = pixels_.at(static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x));
        return RGB(p.rgbRed, p.rgbGreen, p.rgbBlue);
    }
    // The colour within `area` that stands out most from `background`: a text's own colour.
    COLORREF MostDistinctFrom(COLORREF background, const RECT& area) const
    {
        COLORREF found = background;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (Contrast(At(x, y), background) > Contrast(found, background))
                    found = At(x, y);
        return found;
    }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<RGBQUAD> pixels_;
};

// The client area of `control` in the client coordinates of `parent`: inside its border and
// scroll bar, where only its text and background show.
RECT ClientRectIn(HWND parent, HWND control)
{
    RECT area;
    ::GetClientRect(control, &area);
    ::MapWindowPoints(control, parent, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

bool gHighContrast = false;

class HighContrast : public KelvaneWindowsTest {
protected:
    void SetUp() override
    {
        const char* palette = std::getenv("KELVANE_PALETTE");
        if (!palette)
            GTEST_SKIP() << "needs a run whose prefix holds a high-contrast palette";
        palette_ = palette;
        KelvaneWindowsTest::SetUp();
        const bool black = palette_ == "HighContrastBlack";
        ASSERT_EQ(::GetSysColor(COLOR_WINDOW), black ? RGB(0, 0, 0) : RGB(255, 255, 255)) << palette_;
        ASSERT_EQ(::GetSysColor(COLOR_WINDOWTEXT), black ? RGB(255, 255, 255) : RGB(0, 0, 0)) << palette_;
        saved_ = HighContrastSwitch();
        Switch(true);
    }
    void TearDown() override
    {
        if (palette_.empty())
            return;  // skipped: nothing was set up
        if (saved_)
            HighContrastSwitch() = saved_;
        KelvaneWindowsTest::TearDown();
    }

    // Turns high contrast on or off while the windows are up, as the system tells them.
    void Switch(bool on)
    {
        gHighContrast = on;
        HighContrastSwitch() = [] { return gHighContrast; };
        for (HWND window : {Main(), Help()})
            ::SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        Painted();
    }
    void Painted()
    {
        for (HWND window : {Main(), Help()})
            ::UpdateWindow(window);
        Pump();
        ::HideCaret(nullptr);  // the report area's caret would pass for its text
    }

    RECT Scaled(const form1::Bounds& bounds) { return form1::ScaledRect(bounds, Form1().Scale()); }
    int Scaled(int pixels) { return Form1().Scale()(pixels); }

    void ExpectAtLeast(double wanted, COLORREF a, COLORREF b, const std::string& what)
    {
        const double ratio = Contrast(a, b);
        std::cout << palette_ << ": " << what << " " << std::round(ratio * 10) / 10 << " : 1" << std::endl;
        EXPECT_GE(ratio, wanted) << what;
    }

    std::string palette_;
    HighContrastQuery saved_ = nullptr;
};

TEST_F(HighContrast, EveryTextAndFrameTheWindowsPaintStandsOut)
{
    Form1().Report().AppendLine("计算机系统：");
    ::ShowWindow(Help(), SW_SHOWNA);
    Painted();
    const Snapshot main(Main());
    const COLORREF client = main.At(Scaled(5), Scaled(150));
    EXPECT_EQ(client, ::GetSysColor(COLOR_BTNFACE));
    for (size_t tile = 0; tile < form1::kTiles.size(); ++tile) {
        const form1::Tile& row = form1::kTiles[tile];
        const RECT frame = Scaled(row.frame);
        const COLORREF fill = main.At(frame.left + Scaled(3), frame.top + Scaled(3));
        EXPECT_EQ(fill, ::GetSysColor(COLOR_BTNFACE));
        // The label inside the frame's outline, clear of the icon.
        const RECT caption{Scaled(row.icon.left + 32), Scaled(row.label.top), frame.right - Scaled(2),
                           frame.bottom - Scaled(2)};
        ExpectAtLeast(7, main.MostDistinctFrom(fill, caption), fill, "caption " + std::to_string(tile + 1));
        ExpectAtLeast(3, main.At((frame.left + frame.right) / 2, frame.top), client, "frame");
    }

    const RECT report = ClientRectIn(Main(), Form1().Memo1());
    const COLORREF reportBackground = main.At(report.right - 2, report.bottom - 2);
    ExpectAtLeast(7, main.MostDistinctFrom(reportBackground, report), reportBackground, "report text");

    const RECT version = Scaled(form1::kLabel7);
    const COLORREF banner = main.At(version.right - 1, version.top);
    ExpectAtLeast(7, main.MostDistinctFrom(banner, version), banner, "version over the banner");

    const Snapshot status(Form1().StatusBar1());
    for (int panel = 0; panel < 2; ++panel) {
        RECT area{};
        ::SendMessageW(Form1().StatusBar1(), SB_GETRECT, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(&area));
        ::InflateRect(&area, -3, -3);  // inside the panel's edge
        const COLORREF background = status.At(panel == 0 ? area.right - 10 : area.left + 10, area.top + 4);
        ExpectAtLeast(7, status.MostDistinctFrom(background, area), background,
                      "status panel " + std::to_string(panel));
    }

    const Snapshot help(Help());
    const RECT text = ClientRectIn(Help(), Form3().Memo1());
    const COLORREF helpBackground = help.At(text.right - 2, text.bottom - 2);
    EXPECT_EQ(helpBackground, ::GetSysColor(COLOR_WINDOW));
    ExpectAtLeast(7, help.MostDistinctFrom(helpBackground, text), helpBackground, "help text");

    // The frame under the pointer.
    MoveTo(90, 126);
    Painted();
    const RECT hovered = Scaled(form1::kTiles[1].frame);
    const COLORREF highlight = Snapshot(Main()).At((hovered.left + hovered.right) / 2, hovered.top + Scaled(1));
    EXPECT_EQ(highlight, ::GetSysColor(COLOR_HIGHLIGHT));
    ExpectAtLeast(3, highlight, client, "highlighted frame");
}

TEST_F(HighContrast, SwitchedOffTheDesignsOwnColoursComeBack)
{
    Switch(false);
    Form1().Report().AppendLine("计算机系统：");
    Painted();
    const Snapshot main(Main());
    const RECT frame = Scaled(form1::kTiles[0].frame);
    EXPECT_EQ(main.At(frame.left + Scaled(3), frame.top + Scaled(3)), form1::kTileFill);
    EXPECT_EQ(main.At((frame.left + frame.right) / 2, frame.top), form1::kFrameNormal);
    EXPECT_EQ(main.MostDistinctFrom(::GetSysColor(COLOR_WINDOW), ClientRectIn(Main(), Form1().Memo1())),
              form1::kReportColour);
    EXPECT_EQ(main.MostDistinctFrom(main.At(Scaled(form1::kLabel7.left + 41), Scaled(form1::kLabel7.top)),
                                    Scaled(form1::kLabel7)),
              form1::kVersionColour);
}

} // namespace
