#pragma once

#include <windows.h>

// The first top-level window of class `className` (visible ones only, where asked) whose
// process `acceptProcess(processId)` takes; null when there is none. Shared by the tests that
// start the program, the installer check and the start-up benchmark.
template <typename AcceptProcess>
HWND FindTopLevelWindow(const wchar_t* className, bool visibleOnly, AcceptProcess acceptProcess)
{
    struct Search {
        const wchar_t* className;
        bool visibleOnly;
        AcceptProcess& acceptProcess;
        HWND found;
    } search{className, visibleOnly, acceptProcess, nullptr};
    ::EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto& wanted = *reinterpret_cast<Search*>(parameter);
            wchar_t name[64] = {};
            DWORD process = 0;
            ::GetWindowThreadProcessId(window, &process);
            if ((wanted.visibleOnly && !::IsWindowVisible(window)) ||
                ::GetClassNameW(window, name, static_cast<int>(sizeof name / sizeof name[0])) == 0 ||
                ::lstrcmpW(name, wanted.className) != 0 || !wanted.acceptProcess(process))
                return TRUE;
            wanted.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND FindTopLevelWindow(const wchar_t* className, bool visibleOnly, DWORD processId)
{
    return FindTopLevelWindow(className, visibleOnly, [processId](DWORD process) { return process == processId; });
}
