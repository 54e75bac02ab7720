// A right click on the part of the fifth tile's frame that no label or icon covers opens the
// help window; a right click anywhere else does nothing.
#include "testkit/KelvaneWindowsTest.h"

#include <string>

namespace {

// Shape5 spans columns 17 to 122 and rows 207 to 231. Label6 covers all of its rows from 213
// on; Image5 covers columns 21 to 52 of rows 207 to 211 and Image6 the same columns of row 212.
bool OnShape5UncoveredStrip(int x, int y)
{
    return y >= 207 && y <= 212 && ((x >= 17 && x <= 20) || (x >= 53 && x <= 122));
}

class Form1RightClick : public KelvaneWindowsTest {
protected:
    // Whether a right click at the client point opened the help window.
    bool RightClickOpensHelp(int x, int y)
    {
        if (::IsWindowVisible(Help()))
            ::ShowWindow(Help(), SW_HIDE);
        RightClickAt(x, y);
        return ::IsWindowVisible(Help()) != FALSE;
    }
};

TEST_F(Form1RightClick, UncoveredStripOfShape5OpensTheHelpWindowInFront)
{
    RightClickAt(80, 209);
    EXPECT_TRUE(::IsWindowVisible(Help()));
    EXPECT_EQ(::GetActiveWindow(), Help());
    EXPECT_TRUE(ReportLines().empty()) << "nothing else happens";
    EXPECT_TRUE(messagesShown_.empty());
    EXPECT_TRUE(machine_.shellCalls.empty());
}

// Every point of the design is hit-tested without a window (DesignLogicTest); here the corners
// of the strip and their neighbours outside it, through real right clicks.
TEST_F(Form1RightClick, StripCornersOpenHelpAndTheirNeighboursOutsideDoNot)
{
    const POINT points[] = {{17, 207}, {20, 212}, {53, 207}, {122, 212}, {16, 207}, {21, 207},
                            {52, 212}, {123, 207}, {80, 206}, {80, 213}};
    for (POINT point : points)
        EXPECT_EQ(RightClickOpensHelp(point.x, point.y), OnShape5UncoveredStrip(point.x, point.y))
            << "client point " << point.x << "," << point.y;
}

TEST_F(Form1RightClick, ContextMenuRequestAtAScreenPointOfTheStripOpensHelp)
{
    POINT point{100, 210};
    ::ClientToScreen(Main(), &point);
    ::SendMessageW(Main(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Main()), MAKELPARAM(point.x, point.y));
    Pump();
    EXPECT_TRUE(::IsWindowVisible(Help()));
}

TEST_F(Form1RightClick, Label6IconsOtherTilesAndTheRestOfTheWindowDoNothing)
{
    const POINT elsewhere[] = {
        {80, 222}, {120, 231},             // Label6
        {30, 208}, {30, 212}, {40, 230},   // Image5, Image6
        {80, 81}, {80, 113}, {80, 145}, {80, 177},  // the other frames, clear of their labels
        {90, 94}, {90, 126}, {90, 158}, {90, 190},  // the other labels
        {129, 210},                        // Bevel1
        {138, 150}, {8, 210},              // window background
        {100, 30}, {310, 28},              // banner, Label7
        {100, 60}, {361, 61},              // tool bar: spacer, help button
        {100, 262},                        // status bar
    };
    for (POINT point : elsewhere)
        EXPECT_FALSE(RightClickOpensHelp(point.x, point.y)) << "client point " << point.x << "," << point.y;
    EXPECT_TRUE(ReportLines().empty());
    EXPECT_TRUE(messagesShown_.empty());
}

// Watches, from inside the menu's modal loop, for the window menu; answers it with Esc, and ends
// it by force should Esc not close it, so the test fails instead of hanging. Its state starts anew
// with each watch: in a run of the whole program in one process, another test's watch came first.
struct WindowMenuWatch {
    static inline bool shown = false;
    static inline bool closedByEscape = true;
    static inline int ticks = 0;
    static inline int waited = 0;

    static UINT_PTR Start()
    {
        shown = false;
        closedByEscape = true;
        ticks = waited = 0;
        return ::SetTimer(nullptr, 0, 50, Tick);
    }

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        HWND menu = ::FindWindowW(L"#32768", nullptr);
        if (!menu || !::IsWindowVisible(menu)) {
            if (++waited > 60)
                ::EndMenu();  // whatever menu loop runs unseen ends, and the test fails
            return;
        }
        shown = true;
        if (++ticks == 1)
            ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        else if (ticks > 40) {
            closedByEscape = false;
            ::EndMenu();
        }
    }
};

TEST_F(Form1RightClick, RightClickOnTheCaptionShowsTheWindowMenuAndEscClosesIt)
{
    RECT frame;
    ::GetWindowRect(Main(), &frame);
    POINT client{0, 0};
    ::ClientToScreen(Main(), &client);
    const POINT caption{(frame.left + frame.right) / 2, (frame.top + client.y) / 2};
    const UINT_PTR timer = WindowMenuWatch::Start();
    // What the system sends for a right click on the caption; it returns when the menu closes.
    ::SendMessageW(Main(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Main()), MAKELPARAM(caption.x, caption.y));
    ::KillTimer(nullptr, timer);
    EXPECT_TRUE(WindowMenuWatch::shown) << "no window menu at " << caption.x << "," << caption.y;
    EXPECT_TRUE(WindowMenuWatch::closedByEscape);
    EXPECT_FALSE(::IsWindowVisible(Help()));
}

TEST_F(Form1RightClick, KeyboardContextMenuRequestDoesNotOpenHelp)
{
    ::SendMessageW(Main(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Main()), static_cast<LPARAM>(-1));
    Pump();
    EXPECT_FALSE(::IsWindowVisible(Help()));
}

} // namespace
