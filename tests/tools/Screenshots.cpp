// Starts Kelvane inside the current (virtual) Wine desktop, drives it with real pointer input
// and saves the screen around its windows as BMP files at each step, named with SUFFIX:
//   kelvane_screenshots PATH\TO\Kelvane.exe OUTPUT-FOLDER SUFFIX
// Pointer positions are the design's (96 dpi), scaled as the main window is.
#include "ScreenCapture.h"
#include "ui/Commands.h"

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

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

void MoveTo(HWND window, int x, int y)
{
    POINT point{x, y};
    ::ClientToScreen(window, &point);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = ::MulDiv(point.x, 65536, ::GetSystemMetrics(SM_CXSCREEN)) + 1;
    input.mi.dy = ::MulDiv(point.y, 65536, ::GetSystemMetrics(SM_CYSCREEN)) + 1;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof input);
    ::Sleep(400);
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
    if (!main)
        return 4;
    ::Sleep(1000);
    RECT client;
    ::GetClientRect(main, &client);
    const auto design = [&client](int pixels) { return ::MulDiv(pixels, client.right, 468); };
    const auto save = [&](const wchar_t* name, HWND help) {
        SaveScreen(folder + L"\\" + name + L"-" + suffix + L".bmp", ProgramArea({main, help}));
    };

    MoveTo(main, design(300), design(200));
    save(L"main-idle", nullptr);
    MoveTo(main, design(80), design(125));  // the label of 系统优化
    save(L"main-hover-tile", nullptr);
    MoveTo(main, design(80), design(95));  // the label of 系统信息
    Click();
    save(L"main-report", nullptr);

    MoveTo(main, design(361), design(61));  // the help button: tool bar at 0,49, button at 345..376 x 0..24
    ::Sleep(1200);  // long enough for the tool-tip
    save(L"main-tooltip", nullptr);
    Click();
    HWND help = FindVisible(L"TForm3");
    ::Sleep(500);
    save(L"help-window", help);
    if (help) {
        ::PostMessageW(help, WM_COMMAND, form1::HelpTopicItem(form1::Command::SystemOptimisation), 0);
        ::Sleep(500);
        save(L"help-topic", help);
    }

    ::PostMessageW(main, WM_CLOSE, 0, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}
