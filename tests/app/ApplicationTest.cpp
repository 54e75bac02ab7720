// The application object: its owner window and task-bar entry, minimising and restoring the
// program as a whole, ending, and the rule by which window designs follow the screen's dpi.
#include "win/DesignScale.h"
#include "testkit/KelvaneWindowsTest.h"

namespace {

// ---- The dpi rule ----

// A design font whose text height is 13 at character height 11 and grows with it.
int TextHeightOf(int characterHeight)
{
    return characterHeight + 2;
}

TEST(ApplicationDesignScale, At96DpiTheDesignIsUsedAsItIs)
{
    EXPECT_TRUE(DesignScale::For(96, TextHeightOf).IsIdentity());
    // Whatever face the system gives for the design font.
    EXPECT_TRUE(DesignScale::For(96, [](int) { return 16; }).IsIdentity());
}

TEST(ApplicationDesignScale, AtAnotherDpiEverythingScalesByTheNewTextHeightOver13)
{
    // 120 dpi: character height 11 * 120 / 96 = 13.75, rounded to 14; text height 16.
    const DesignScale scale = DesignScale::For(120, TextHeightOf);
    EXPECT_FALSE(scale.IsIdentity());
    EXPECT_EQ(scale(13), 16);
    EXPECT_EQ(scale(468), ::MulDiv(468, 16, 13));
    EXPECT_EQ(scale(274), ::MulDiv(274, 16, 13));
}

TEST(ApplicationDesignScale, AnotherDpiWithTheSameTextHeightLeavesTheDesignAlone)
{
    // A font whose text height does not change between the two character heights.
    EXPECT_TRUE(DesignScale::For(100, [](int) { return 13; }).IsIdentity());
}

TEST(ApplicationDesignScale, TestDisplayGivesTheIdentity)
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 96);
    EXPECT_TRUE(DesignScale::ForScreen().IsIdentity());
}

// ---- The application window ----

class ApplicationWindow : public KelvaneWindowsTest {};

TEST_F(ApplicationWindow, BearsTheTitleAndTheOnlyTaskBarEntry)
{
    EXPECT_EQ(probe::ClassName(AppWindow()), "TApplication");
    EXPECT_EQ(probe::WindowText(AppWindow()), "系统优化Kelvane");
    EXPECT_TRUE(::IsWindowVisible(AppWindow()));
    EXPECT_EQ(::GetWindow(AppWindow(), GW_OWNER), nullptr);
    EXPECT_FALSE(::GetWindowLongPtrW(AppWindow(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    // The program's windows are owned by it, so they have no entries of their own.
    EXPECT_EQ(::GetWindow(Main(), GW_OWNER), AppWindow());
    EXPECT_EQ(::GetWindow(Help(), GW_OWNER), AppWindow());
    EXPECT_FALSE(::GetWindowLongPtrW(Main(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_FALSE(::GetWindowLongPtrW(Help(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
}

TEST_F(ApplicationWindow, ActivationLandingOnItGoesOnToTheMainWindow)
{
    ::SetActiveWindow(AppWindow());
    EXPECT_TRUE(WaitUntil([this] { return ::GetActiveWindow() == Main(); }));
}

TEST_F(ApplicationWindow, MinimisingTheMainWindowHidesTheProgramBehindItsEntryAndRestoringBringsItBack)
{
    Form3().Show();
    Pump();
    ::SendMessageW(Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump();
    EXPECT_TRUE(::IsIconic(AppWindow()));
    EXPECT_FALSE(::IsWindowVisible(Main()));
    EXPECT_FALSE(::IsWindowVisible(Help()));
    EXPECT_FALSE(QuitPosted());

    ::SendMessageW(AppWindow(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump();
    EXPECT_FALSE(::IsIconic(AppWindow()));
    EXPECT_TRUE(::IsWindowVisible(Main()));
    EXPECT_TRUE(::IsWindowVisible(Help()));
}

TEST_F(ApplicationWindow, TaskBarCloseCommandClosesTheMainWindow)
{
    ::SendMessageW(AppWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_TRUE(QuitPosted());
}

TEST_F(ApplicationWindow, ClosedByAnotherProgramItClosesTheMainWindowAndStaysUntilTheLoopEnds)
{
    ::SendMessageW(AppWindow(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(QuitPosted());
    EXPECT_TRUE(::IsWindow(AppWindow())) << "destroyed, it would leave the loop running with no window";
    EXPECT_TRUE(::IsWindow(Main()));
}

TEST_F(ApplicationWindow, SessionEndOrRestartManagerEndsTheProgram)
{
    EXPECT_TRUE(::SendMessageW(AppWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP));
    Pump();
    EXPECT_FALSE(QuitPosted()) << "only asked so far";
    ::SendMessageW(AppWindow(), WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    Pump();
    EXPECT_TRUE(QuitPosted());
}

TEST(ApplicationMessageFilter, LetsTheShellsTaskbarCreatedThroughToTheApplicationWindow)
{
    struct Call {
        HWND window;
        UINT message;
        DWORD action;
    };
    static std::vector<Call> calls;
    calls.clear();
    const MessageFilterFunction saved = WindowMessageFilter();
    WindowMessageFilter() = [](HWND window, UINT message, DWORD action, PCHANGEFILTERSTRUCT) -> BOOL {
        calls.push_back({window, message, action});
        return TRUE;
    };
    FakeMachine machine;
    {
        TApplication application(::GetModuleHandleW(nullptr), machine);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].window, application.Handle());
        EXPECT_EQ(calls[0].message, ::RegisterWindowMessageW(L"TaskbarCreated"));
        EXPECT_EQ(calls[0].action, static_cast<DWORD>(MSGFLT_ALLOW));
    }
    WindowMessageFilter() = saved;
}

TEST_F(ApplicationWindow, EndingDestroysBothWindowsVisibleOrNot)
{
    HWND main = Main();
    HWND help = Help();
    HWND tooltip = reinterpret_cast<HWND>(::SendMessageW(Form1().ToolBar1(), TB_GETTOOLTIPS, 0, 0));
    Application().Shutdown();
    EXPECT_FALSE(::IsWindow(main));
    EXPECT_FALSE(::IsWindow(help));
    EXPECT_FALSE(::IsWindow(tooltip));
}

} // namespace
