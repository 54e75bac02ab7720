// Starts Kelvane inside the current (virtual) Wine desktop, drives it with real pointer input
// and saves the screen around its windows as BMP files at each step, named with SUFFIX:
//   kelvane_screenshots PATH\TO\Kelvane.exe OUTPUT-FOLDER SUFFIX
// Pointer positions are the design's (96 dpi), scaled as the main window is. Each step waits for
// what it brings about (the pointer where it was sent, the report, the tool-tip, the help window)
// rather than for a fixed time: a picture of the wrong moment is no picture. The driver runs inside
// Wine's virtual desktop, which passes on neither its exit code nor its standard error, so it
// writes how it went into OUTPUT-FOLDER\driver-SUFFIX.txt: "done", or what went wrong.
#include "ScreenCapture.h"
#include "ui/Commands.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

template <typename Condition>
bool WaitFor(Condition condition, DWORD milliseconds)
{
    for (const ULONGLONG end = ::GetTickCount64() + milliseconds; ::GetTickCount64() < end; ::Sleep(50)) {
        if (condition())
            return true;
    }
    return condition();
}

HWND FindVisible(const wchar_t* className)
{
    for (int i = 0; i < 300; ++i) {
        HWND window = ::FindWindowW(className, nullptr);
        if (window && ::IsWindowVisible(window))
            return window;
        ::Sleep(100);
    }
    return nullptr;
}

bool MoveTo(HWND window, int x, int y)
{
    POINT point{x, y};
    ::ClientToScreen(window, &point);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = ::MulDiv(point.x, 65536, ::GetSystemMetrics(SM_CXSCREEN)) + 1;
    input.mi.dy = ::MulDiv(point.y, 65536, ::GetSystemMetrics(SM_CYSCREEN)) + 1;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
    const bool arrived = WaitFor(
        [point] {
            POINT now;
            return ::GetCursorPos(&now) && now.x == point.x && now.y == point.y;
        },
        5000);
    ::Sleep(400);  // the program's answer to the move: hover frame and status hint
    if (!arrived)
        std::fprintf(stderr, "screenshots: the pointer did not reach %ld,%ld\n", point.x, point.y);
    return arrived;
}

HWND VisibleTopLevel(const wchar_t* className)
{
    HWND window = ::FindWindowW(className, nullptr);
    return window && ::IsWindowVisible(window) ? window : nullptr;
}

void Click()
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    ::SendInput(1, &input, sizeof input);
    ::Sleep(100);
    input.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ::SendInput(1, &input, sizeof input);
    ::Sleep(600);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4)
        return 2;
    const std::wstring folder = argv[2];
    const std::wstring suffix = argv[3];
    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return 3;

    HWND main = FindVisible(L"TForm1");
    if (!main) {
        TellOutcome(folder, suffix, "Kelvane showed no main window");
        return 4;
    }
    ::Sleep(1000);
    RECT client;
    ::GetClientRect(main, &client);
    const auto design = [&client](int pixels) { return ::MulDiv(pixels, client.right, 468); };
    const auto save = [&](const wchar_t* name, HWND help) {
        SaveScreen(folder + L"\\" + name + L"-" + suffix + L".bmp", ProgramArea({main, help}));
    };

    const auto failed = [&](const char* what) {
        TellOutcome(folder, suffix, what);
        ::PostMessageW(main, WM_CLOSE, 0, 0);
        ::WaitForSingleObject(process.hProcess, 10000);
        return 5;
    };
    HWND report = ::FindWindowExW(main, nullptr, L"EDIT", nullptr);

    if (!MoveTo(main, design(300), design(200)))
        return failed("the pointer did not come to rest beside the tiles");
    save(L"main-idle", nullptr);
    if (!MoveTo(main, design(80), design(125)))  // the label of 系统优化
        return failed("the pointer did not reach 系统优化");
    save(L"main-hover-tile", nullptr);
    if (!MoveTo(main, design(80), design(95)))  // the label of 系统信息
        return failed("the pointer did not reach 系统信息");
    Click();
    // The report area is Kelvane's: another process must ask it for its text (GetWindowText would
    // give the window's own caption).
    const auto reportWritten = [report] {
        DWORD_PTR length = 0;
        return ::SendMessageTimeoutW(report, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 1000, &length) && length > 0;
    };
    if (!WaitFor(reportWritten, 10000))
        return failed("the click on 系统信息 wrote no report");
    save(L"main-report", nullptr);

    if (!MoveTo(main, design(361), design(61)))  // the help button: tool bar at 0,49, button at 345..376 x 0..24
        return failed("the pointer did not reach the help button");
    if (!WaitFor([] { return VisibleTopLevel(TOOLTIPS_CLASSW) != nullptr; }, 5000))
        return failed("the help button showed no tool-tip");
    ::Sleep(300);  // the tool-tip fades in
    save(L"main-tooltip", nullptr);
    Click();
    HWND help = FindVisible(L"TForm3");
    if (!help)
        return failed("the click on the help button opened no help window");
    ::Sleep(500);
    save(L"help-window", help);
    ::PostMessageW(help, WM_COMMAND, form1::HelpTopicItem(form1::Command::SystemOptimisation), 0);
    ::Sleep(500);
    save(L"help-topic", help);

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    TellOutcome(folder, suffix, exitCode == 0 ? "done" : "Kelvane did not end with code 0 when its main window closed");
    return static_cast<int>(exitCode);
}
