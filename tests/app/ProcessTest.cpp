// The built program as a whole: started as the shell starts it, driven through its windows
// from outside, and watched until it ends. Every wait has a limit, so a program that hangs
// fails the test instead of blocking it.
#include "testkit/ProjectVersion.h"
#include "testkit/ProcessWindow.h"
#include "testkit/WindowProbes.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#ifndef KELVANE_EXE
#error "KELVANE_EXE names the built program"
#endif

namespace {

constexpr DWORD kStartLimit = 20000;
constexpr DWORD kEndLimit = 20000;

HWND WindowOf(DWORD process, const char* className)
{
    return FindTopLevelWindow(probe::Wide(className).c_str(), false, process);
}

template <typename Condition>
bool WaitFor(Condition condition, DWORD limit)
{
    const ULONGLONG end = ::GetTickCount64() + limit;
    while (!condition()) {
        if (::GetTickCount64() > end)
            return false;
        ::Sleep(50);
    }
    return true;
}

HWND ChildOfClass(HWND parent, const wchar_t* className)
{
    return ::FindWindowExW(parent, nullptr, className, nullptr);
}

void PostClick(HWND window, int x, int y)
{
    ::PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

class ApplicationProcess : public testing::Test {
protected:
    void Start(int showState = -1)
    {
        std::wstring path = probe::WindowsPath(KELVANE_EXE);
        std::wstring commandLine = L"\"" + path + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (showState >= 0) {
            startup.dwFlags = STARTF_USESHOWWINDOW;
            startup.wShowWindow = static_cast<WORD>(showState);
        }
        ASSERT_TRUE(::CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                     &startup, &process_))
            << "cannot start " << probe::Gbk(path) << ", error " << ::GetLastError();
        ::WaitForInputIdle(process_.hProcess, kStartLimit);
        const DWORD id = process_.dwProcessId;
        ASSERT_TRUE(WaitFor([&] { return WindowOf(id, "TForm1") && WindowOf(id, "TForm3"); }, kStartLimit))
            << "the program's windows did not come up";
        application_ = WindowOf(id, "TApplication");
        main_ = WindowOf(id, "TForm1");
        help_ = WindowOf(id, "TForm3");
        ASSERT_NE(application_, nullptr);
    }

    // The exit code once the program has ended on its own, or a failure after the limit.
    DWORD ExitCode()
    {
        if (::WaitForSingleObject(process_.hProcess, kEndLimit) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the program did not end within " << kEndLimit << " ms";
            return STILL_ACTIVE;
        }
        DWORD code = STILL_ACTIVE;
        ::GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

    bool StillRunning() const { return ::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }

    // A message sent to `window` and answered: the program has handled everything posted to it
    // before, so what it did with that can be seen now.
    static bool RoundTrip(HWND window)
    {
        DWORD_PTR answer = 0;
        return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, kEndLimit, &answer) != 0;
    }

    void TearDown() override
    {
        if (process_.hProcess) {
            if (StillRunning()) {
                ::TerminateProcess(process_.hProcess, 99);
                ::WaitForSingleObject(process_.hProcess, kEndLimit);
            }
            ::CloseHandle(process_.hProcess);
            ::CloseHandle(process_.hThread);
        }
    }

    PROCESS_INFORMATION process_{};
    HWND application_ = nullptr;
    HWND main_ = nullptr;
    HWND help_ = nullptr;
};

TEST_F(ApplicationProcess, StartsWithTheMainWindowShownAndTheHelpWindowHidden)
{
    Start();
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main_) != FALSE; }, kStartLimit));
    EXPECT_EQ(probe::WindowText(main_), "系统优化KelvaneV" + ProjectVersion::Short());
    EXPECT_EQ(probe::WindowText(application_), "系统优化Kelvane");
    EXPECT_EQ(::GetWindow(main_, GW_OWNER), application_);
    EXPECT_FALSE(::IsWindowVisible(help_));
    const probe::Rect frame = probe::ScreenRect(main_);
    EXPECT_EQ(frame.left, 194);
    EXPECT_EQ(frame.top, 107);
    ::PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(ApplicationProcess, ExitButtonEndsTheProgramWithCodeZero)
{
    Start();
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main_) != FALSE; }, kStartLimit));
    HWND toolBar = ChildOfClass(main_, L"ToolbarWindow32");
    ASSERT_NE(toolBar, nullptr);
    PostClick(toolBar, 441, 12);
    EXPECT_EQ(ExitCode(), 0u);
    EXPECT_FALSE(::IsWindow(main_));
    EXPECT_FALSE(::IsWindow(help_));
}

TEST_F(ApplicationProcess, ClosingTheHelpWindowLeavesTheProgramRunning)
{
    Start();
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main_) != FALSE; }, kStartLimit));
    HWND toolBar = ChildOfClass(main_, L"ToolbarWindow32");
    PostClick(toolBar, 361, 12);  // the help button
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(help_) != FALSE; }, kStartLimit));
    ::PostMessageW(help_, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(help_); }, kStartLimit));
    ASSERT_TRUE(RoundTrip(main_));
    EXPECT_TRUE(StillRunning());
    EXPECT_TRUE(::IsWindow(help_));
    EXPECT_TRUE(::IsWindowVisible(main_));
    ::PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(ApplicationProcess, ClosingTheMainWindowWhileHelpIsOpenEndsTheProgram)
{
    Start();
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main_) != FALSE; }, kStartLimit));
    HWND toolBar = ChildOfClass(main_, L"ToolbarWindow32");
    PostClick(toolBar, 361, 12);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(help_) != FALSE; }, kStartLimit));
    ::PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCode(), 0u);
    EXPECT_FALSE(::IsWindow(main_));
    EXPECT_FALSE(::IsWindow(help_));
}

TEST_F(ApplicationProcess, ClosedByAnotherProgramThroughItsOwnerWindowItEndsWithZero)
{
    Start();
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main_) != FALSE; }, kStartLimit));
    // What taskkill without /F and window closers do: WM_CLOSE to every top-level window.
    ::PostMessageW(application_, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(ApplicationProcess, RestartManagerRequestEndsItWithZero)
{
    Start();
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main_) != FALSE; }, kStartLimit));
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(application_, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_ABORTIFHUNG,
                                      kEndLimit, &answer));
    EXPECT_TRUE(answer);
    ::PostMessageW(application_, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(ApplicationProcess, EndedWhileTheOnlineRepairNoticeIsUpItEndsWithZero)
{
    // The owner window closed from outside; the session's end.
    const std::vector<std::vector<std::pair<UINT, WPARAM>>> endings = {
        {{WM_CLOSE, 0}}, {{WM_QUERYENDSESSION, 0}, {WM_ENDSESSION, TRUE}}};
    for (const auto& messages : endings) {
        SCOPED_TRACE(messages.size() == 1 ? "closed" : "session end");
        Start();
        ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main_) != FALSE; }, kStartLimit));
        PostClick(main_, 90, 222);  // 自动修复
        ASSERT_TRUE(WaitFor([&] { return WindowOf(process_.dwProcessId, "#32770") != nullptr; }, kStartLimit))
            << "the notice did not come up";
        for (const auto& [message, wParam] : messages) {
            DWORD_PTR answer = 0;
            ::SendMessageTimeoutW(application_, message, wParam, 0, SMTO_ABORTIFHUNG, kEndLimit, &answer);
        }
        EXPECT_EQ(ExitCode(), 0u);
        TearDown();
        process_ = {};
    }
}

TEST_F(ApplicationProcess, StartedMinimisedShowsOnlyTheIconicTaskBarEntryAndStillEndsWithZero)
{
    Start(SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(application_) != FALSE; }, kStartLimit))
        << "the application window did not become iconic";
    ASSERT_TRUE(RoundTrip(application_));
    EXPECT_FALSE(::IsWindowVisible(main_));
    EXPECT_FALSE(::IsWindowVisible(help_));
    EXPECT_EQ(probe::WindowText(application_), "系统优化Kelvane");
    // The task-bar entry's close command.
    ::PostMessageW(application_, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(ApplicationProcess, StartedMinimisedAndRestoredShowsTheMainWindow)
{
    Start(SW_SHOWMINNOACTIVE);
    ASSERT_TRUE(WaitFor([&] { return ::IsIconic(application_) != FALSE; }, kStartLimit));
    ::PostMessageW(application_, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(main_) != FALSE; }, kStartLimit));
    EXPECT_FALSE(::IsIconic(application_));
    ::PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCode(), 0u);
}

TEST_F(ApplicationProcess, StartedMaximisedShowsTheMainWindowMaximised)
{
    Start(SW_SHOWMAXIMIZED);
    ASSERT_TRUE(WaitFor([&] { return ::IsWindowVisible(main_) != FALSE; }, kStartLimit));
    EXPECT_TRUE(::IsZoomed(main_));
    ::PostMessageW(main_, WM_CLOSE, 0, 0);
    EXPECT_EQ(ExitCode(), 0u);
}

} // namespace
