// The main window as built: its frame, place and texts, and each control at its designed
// rectangle with its styles, fonts and contents. Measured from the outside, through the
// messages and calls any other program could use.
#include "testkit/ProjectVersion.h"
#include "testkit/KelvaneWindowsTest.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

using probe::Rect;

class Form1Layout : public KelvaneWindowsTest {};

LONG_PTR Style(HWND window)
{
    return ::GetWindowLongPtrW(window, GWL_STYLE);
}

TEST_F(Form1Layout, TestDisplayIs96DpiSoTheDesignIsNotScaled)
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 96) << "the layout tests assume the test display's 96 dpi";
    EXPECT_TRUE(Form1().Scale().IsIdentity());
    EXPECT_EQ(Form1().Scale()(468), 468);
}

TEST_F(Form1Layout, ClientAreaAndPlaceAreAsDesigned)
{
    EXPECT_EQ(probe::ClientSize(Main()), (Rect{0, 0, 468, 274}));
    const Rect frame = probe::ScreenRect(Main());
    EXPECT_EQ(frame.left, 194);
    EXPECT_EQ(frame.top, 107);
}

TEST_F(Form1Layout, FrameIsFixedWithSystemMenuAndMinimiseBoxOnly)
{
    const LONG_PTR style = Style(Main());
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME) << "the window must not be resizable";
    EXPECT_FALSE(::GetWindowLongPtrW(Main(), GWL_EXSTYLE) & WS_EX_APPWINDOW)
        << "the window must not have a task-bar entry of its own";
}

TEST_F(Form1Layout, CaptionIsTheProductTitleAndVersion)
{
    EXPECT_EQ(probe::WindowText(Main()), "系统优化KelvaneV" + ProjectVersion::Short());
    EXPECT_EQ(std::string(form1::kVersionLabel), "V" + ProjectVersion::Short());
}

TEST_F(Form1Layout, IsOwnedByTheApplicationWindowWhichBearsTheTitle)
{
    EXPECT_EQ(::GetWindow(Main(), GW_OWNER), AppWindow());
    EXPECT_EQ(probe::WindowText(AppWindow()), "系统优化Kelvane");
    EXPECT_EQ(probe::ClassName(AppWindow()), "TApplication");
    EXPECT_EQ(Application().MainWindow(), Main());
}

TEST_F(Form1Layout, ShowsTheApplicationIconOf32Pixels)
{
    auto icon = reinterpret_cast<HICON>(::GetClassLongPtrW(Main(), GCLP_HICON));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon, Application().Icon());
    ICONINFO info{};
    ASSERT_TRUE(::GetIconInfo(icon, &info));
    BITMAP mask{};
    ::GetObjectW(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(info.hbmColor ? mask.bmHeight : mask.bmHeight / 2, 32);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
}

TEST_F(Form1Layout, BackgroundIsButtonFaceAndTilesAreFilledLightBlue)
{
    // A point of window background between the tiles and the report area.
    EXPECT_EQ(probe::PixelAt(Main(), 138, 150), ::GetSysColor(COLOR_BTNFACE));
    // Inside Shape1, above its label.
    EXPECT_EQ(probe::PixelAt(Main(), 100, 82), RGB(134, 216, 247));
    // The banner's light-blue top edge, drawn from column 0.
    EXPECT_EQ(probe::PixelAt(Main(), 2, 0), RGB(126, 178, 229));
}

TEST_F(Form1Layout, ToolBarStatusBarAndReportAreaHaveTheirDesignedRectangles)
{
    EXPECT_EQ(probe::RectIn(Main(), Form1().ToolBar1()), (Rect{0, 49, 468, 30}));
    EXPECT_EQ(probe::RectIn(Main(), Form1().StatusBar1()), (Rect{0, 253, 468, 21}));
    EXPECT_EQ(probe::RectIn(Main(), Form1().Memo1()), (Rect{144, 80, 319, 165}));
    EXPECT_EQ(probe::ClassName(Form1().ToolBar1()), "ToolbarWindow32");
    EXPECT_EQ(probe::ClassName(Form1().StatusBar1()), "msctls_statusbar32");
    EXPECT_EQ(probe::ClassName(Form1().Memo1()), "Edit");
}

TEST_F(Form1Layout, StatusBarHasTwoPanelsTheLastReachingTheRightEnd)
{
    HWND statusBar = Form1().StatusBar1();
    int parts[4] = {};
    ASSERT_EQ(::SendMessageW(statusBar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(parts)), 2);
    EXPECT_EQ(parts[0], 320);
    EXPECT_EQ(parts[1], -1);
    RECT panel{};
    ::SendMessageW(statusBar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&panel));
    int borders[3] = {};  // horizontal edge, vertical edge, gap between panels
    ::SendMessageW(statusBar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    EXPECT_EQ(panel.left, 320 + borders[2]) << "panel 1 starts at " << panel.left;
    EXPECT_EQ(panel.right, 468) << "panel 1 ends at " << panel.right;
}

TEST_F(Form1Layout, StatusPanelsShowTheTitleAndTheHomePageCentred)
{
    EXPECT_EQ(probe::StatusText(Form1().StatusBar1(), 0), "系统优化Kelvane");
    // A leading tab is how a status panel centres its text.
    EXPECT_EQ(probe::StatusText(Form1().StatusBar1(), 1), "\twww.kelvane.example");
}

TEST_F(Form1Layout, StatusBarWritesInTheWindowsDefaultFont)
{
    const LOGFONTW font = probe::FontOf(Form1().StatusBar1());
    EXPECT_EQ(probe::Gbk(font.lfFaceName), "MS Sans Serif");
    EXPECT_EQ(font.lfHeight, -11);
}

TEST_F(Form1Layout, VersionLabelIsWrittenInMaroonInTheGapOfTheBanner)
{
    ::UpdateWindow(Main());
    int maroonInside = 0;
    int maroonOutside = 0;
    for (int y = 0; y < 49; ++y) {
        for (int x = 0; x < 468; ++x) {
            if (probe::PixelAt(Main(), x, y) != RGB(128, 0, 0))
                continue;
            // Label7: 293, 17, 42 x 23.
            if (x >= 293 && x < 335 && y >= 17 && y < 40)
                ++maroonInside;
            else
                ++maroonOutside;
        }
    }
    EXPECT_GT(maroonInside, 30) << "\"V2.6\" is drawn";
    EXPECT_EQ(maroonOutside, 0);
}

TEST_F(Form1Layout, ReportAreaIsReadOnlyWrappingWithVerticalScrollBarAndStartsEmpty)
{
    HWND memo = Form1().Memo1();
    const LONG_PTR style = Style(memo);
    EXPECT_TRUE(style & ES_READONLY);
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_FALSE(style & ES_AUTOHSCROLL) << "without it the lines wrap";
    EXPECT_FALSE(style & WS_HSCROLL);
    EXPECT_EQ(::GetWindowTextLengthW(memo), 0);
}

TEST_F(Form1Layout, ReportAreaWritesInSimSun12PixelsTeal)
{
    const LOGFONTW font = probe::FontOf(Form1().Memo1());
    EXPECT_EQ(probe::Gbk(font.lfFaceName), "宋体");
    EXPECT_EQ(font.lfHeight, -12) << "character height 12, not cell height";
    EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
    EXPECT_LE(font.lfWeight, FW_NORMAL);

    // A read-only edit control asks its parent for its colours with WM_CTLCOLORSTATIC.
    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SendMessageW(Main(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                   reinterpret_cast<LPARAM>(Form1().Memo1()));
    EXPECT_EQ(::GetTextColor(dc), RGB(0, 128, 128));
    ::DeleteDC(dc);
}

TEST_F(Form1Layout, ReportAreaHasTheFocusWhileTheWindowIsActive)
{
    ::SetActiveWindow(Main());
    EXPECT_TRUE(WaitUntil([this] { return ::GetActiveWindow() == Main(); }));
    EXPECT_TRUE(WaitUntil([this] { return ::GetFocus() == Form1().Memo1(); }));
}

struct ExpectedToolButton {
    const char* glyph;
    int left;
    const char* hint;
};
constexpr ExpectedToolButton kExpectedButtons[] = {
    {"ToolHelp", 345, "常见问题"},
    {"ToolMail", 385, "给我写信"},
    {"ToolExit", 425, "退出"},
};

TEST_F(Form1Layout, ToolBarHoldsThreeGlyphButtonsAfterTheSpacerAndSeparators)
{
    HWND toolBar = Form1().ToolBar1();
    const auto count = static_cast<int>(::SendMessageW(toolBar, TB_BUTTONCOUNT, 0, 0));
    std::vector<TBBUTTON> buttons;
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        ::SendMessageW(toolBar, TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        if (!(button.fsStyle & BTNS_SEP))
            buttons.push_back(button);
    }
    ASSERT_EQ(buttons.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(kExpectedButtons[i].hint);
        EXPECT_EQ(static_cast<UINT>(buttons[i].idCommand), ToolButtonCommand(kExpectedButtons[i].hint));
        // The glyph list holds the rows' glyphs in the rows' order.
        ASSERT_LT(static_cast<size_t>(buttons[i].iBitmap), form1::kToolButtons.size());
        EXPECT_STREQ(form1::kToolButtons[static_cast<size_t>(buttons[i].iBitmap)].glyph, kExpectedButtons[i].glyph);
        EXPECT_TRUE(buttons[i].fsState & TBSTATE_ENABLED);
    }
}

TEST_F(Form1Layout, ToolButtonsStandAt345And385And425With32By25Pixels)
{
    for (const ExpectedToolButton& expected : kExpectedButtons) {
        SCOPED_TRACE(expected.hint);
        const RECT rect = ToolButtonRect(expected.hint);
        EXPECT_EQ(rect.left, expected.left);
        EXPECT_EQ(rect.top, 0);
        EXPECT_EQ(rect.right - rect.left, 32);
        EXPECT_EQ(rect.bottom - rect.top, 25);
    }
}

TEST_F(Form1Layout, ToolBarGlyphsAre16PixelsSquare)
{
    auto glyphs = reinterpret_cast<HIMAGELIST>(::SendMessageW(Form1().ToolBar1(), TB_GETIMAGELIST, 0, 0));
    ASSERT_NE(glyphs, nullptr);
    int width = 0;
    int height = 0;
    ::ImageList_GetIconSize(glyphs, &width, &height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    EXPECT_EQ(::ImageList_GetImageCount(glyphs), static_cast<int>(form1::kToolButtons.size())) << "one glyph a button";
}

TEST_F(Form1Layout, ToolButtonHintsComeFromTheWindowAsToolTips)
{
    HWND tooltip = reinterpret_cast<HWND>(::SendMessageW(Form1().ToolBar1(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tooltip, nullptr);
    for (const ExpectedToolButton& expected : kExpectedButtons) {
        SCOPED_TRACE(expected.hint);
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = tooltip;
        info.hdr.idFrom = ToolButtonCommand(expected.hint);
        info.hdr.code = TTN_GETDISPINFOW;
        ::SendMessageW(Main(), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
        ASSERT_NE(info.lpszText, nullptr);
        EXPECT_EQ(probe::Gbk(info.lpszText), expected.hint);
    }
}

TEST_F(Form1Layout, ToolTipsWaitHalfASecondAndHideAfterTwoAndAHalf)
{
    HWND tooltip = reinterpret_cast<HWND>(::SendMessageW(Form1().ToolBar1(), TB_GETTOOLTIPS, 0, 0));
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(::SendMessageW(tooltip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 500);
    EXPECT_EQ(::SendMessageW(tooltip, TTM_GETDELAYTIME, TTDT_RESHOW, 0), 0);
    EXPECT_EQ(::SendMessageW(tooltip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 2500);
    EXPECT_EQ(static_cast<COLORREF>(::SendMessageW(tooltip, TTM_GETTIPBKCOLOR, 0, 0)), ::GetSysColor(COLOR_INFOBK));
}

// ---- The help window ----

class Form3Layout : public KelvaneWindowsTest {};

TEST_F(Form3Layout, IsAFixedHelpWindowOwnedByTheApplicationAndHiddenAtStart)
{
    EXPECT_EQ(probe::WindowText(Help()), "帮助文件");
    EXPECT_EQ(::GetWindow(Help(), GW_OWNER), AppWindow());
    EXPECT_FALSE(::IsWindowVisible(Help()));
    const LONG_PTR style = Style(Help());
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_EQ(reinterpret_cast<HICON>(::GetClassLongPtrW(Help(), GCLP_HICON)), Application().Icon());
}

TEST_F(Form3Layout, ClientAreaBelowTheMenuBarAndTextAreaLeaveATwoPixelStrip)
{
    EXPECT_EQ(probe::ClientSize(Help()), (Rect{0, 0, 314, 147}));
    EXPECT_EQ(probe::RectIn(Help(), Form3().Memo1()), (Rect{0, 0, 312, 145}));
}

TEST_F(Form3Layout, StripRightOfAndBelowTheTextAreaShowsButtonFace)
{
    Form3().Show();
    Pump();
    ::UpdateWindow(Help());
    EXPECT_EQ(probe::PixelAt(Help(), 313, 60), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(probe::PixelAt(Help(), 150, 146), ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(probe::PixelAt(Help(), 100, 100), ::GetSysColor(COLOR_WINDOW)) << "inside the text area";
}

TEST_F(Form3Layout, TextAreaIsEditableWrappingWithoutScrollBars)
{
    const LONG_PTR style = Style(Form3().Memo1());
    EXPECT_TRUE(style & ES_MULTILINE);
    EXPECT_FALSE(style & ES_READONLY);
    EXPECT_FALSE(style & ES_AUTOHSCROLL);
    EXPECT_FALSE(style & WS_VSCROLL);
    EXPECT_FALSE(style & WS_HSCROLL);
    EXPECT_TRUE(::GetWindowLongPtrW(Form3().Memo1(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(Form3Layout, TextAreaWritesInSimSun12PixelsBlue)
{
    const LOGFONTW font = probe::FontOf(Form3().Memo1());
    EXPECT_EQ(probe::Gbk(font.lfFaceName), "宋体");
    EXPECT_EQ(font.lfHeight, -12);
    EXPECT_EQ(font.lfCharSet, GB2312_CHARSET);
    EXPECT_LE(font.lfWeight, FW_NORMAL);

    HDC dc = ::CreateCompatibleDC(nullptr);
    ::SendMessageW(Help(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Form3().Memo1()));
    EXPECT_EQ(::GetTextColor(dc), static_cast<COLORREF>(12615680));
    ::DeleteDC(dc);
}

TEST_F(Form3Layout, MenuBarHasTheFiveCategoriesWithoutSubMenusOrAccessKeys)
{
    HMENU menu = ::GetMenu(Help());
    ASSERT_NE(menu, nullptr);
    const char* captions[] = {"系统信息", "系统优化", "网络加速", "清理维护", "自动修复"};
    ASSERT_EQ(::GetMenuItemCount(menu), 5);
    for (int i = 0; i < 5; ++i) {
        wchar_t text[64] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        EXPECT_EQ(probe::Gbk(text), captions[i]) << "item " << i;
        EXPECT_EQ(::GetSubMenu(menu, i), nullptr);
        EXPECT_NE(::GetMenuItemID(menu, i), static_cast<UINT>(-1));
    }
}

} // namespace

namespace {

// ---- Tool tips, with the real pointer ----

class Form1ToolTips : public KelvaneWindowsTest {
protected:
    HWND ToolTip()
    {
        return reinterpret_cast<HWND>(::SendMessageW(Form1().ToolBar1(), TB_GETTOOLTIPS, 0, 0));
    }

    // Puts the pointer on a client point of `window` and waits up to `limit` for the tip to show;
    // the milliseconds it took, or -1.
    int RestPointerAt(HWND window, POINT point, DWORD limit)
    {
        ::ClientToScreen(window, &point);
        ::SetCursorPos(point.x, point.y);
        const ULONGLONG start = ::GetTickCount64();
        if (!WaitUntil([this] { return ::IsWindowVisible(ToolTip()) != FALSE; }, limit))
            return -1;
        return static_cast<int>(::GetTickCount64() - start);
    }
};

TEST_F(Form1ToolTips, RestingOnTheExitButtonShowsItsHintAfterHalfASecond)
{
    const RECT button = ToolButtonRect("退出");
    const int shownAfter =
        RestPointerAt(Form1().ToolBar1(), {(button.left + button.right) / 2, (button.top + button.bottom) / 2}, 10000);
    ASSERT_GE(shownAfter, 0) << "no tool tip came up";
    EXPECT_GE(shownAfter, 400);
    EXPECT_EQ(probe::WindowText(ToolTip()), "退出");
    // In the system's tool-tip colour, also where visual styles would paint it otherwise.
    ::UpdateWindow(ToolTip());
    EXPECT_EQ(probe::PixelAt(ToolTip(), 2, 2), ::GetSysColor(COLOR_INFOBK));
}

// Only the three tool buttons are tools of the tip window: a tile or the report area has none
// to show, whatever the pointer does.
TEST_F(Form1ToolTips, OnlyTheThreeToolButtonsHaveTips)
{
    ASSERT_EQ(::SendMessageW(ToolTip(), TTM_GETTOOLCOUNT, 0, 0), 3);
    for (WPARAM index = 0; index < 3; ++index) {
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        ASSERT_TRUE(::SendMessageW(ToolTip(), TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(&tool)));
        EXPECT_EQ(tool.hwnd, Form1().ToolBar1()) << "tool " << index;
        EXPECT_EQ(tool.uId, ToolButtonCommand(kExpectedButtons[index].hint));
    }
}

} // namespace
