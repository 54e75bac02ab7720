#pragma once

#include <windows.h>

#include <optional>
#include <string>

// A program started as the shell starts it and followed until it is idle and shows its main
// window, with the time that took. The installer check and the start-up benchmark both start the
// program this way, so the start the benchmark times is the one the check holds to account.
struct ProgramStart {
    HANDLE process = nullptr;          // the running program, for CloseProgram; null when it is not running
    HWND mainWindow = nullptr;         // its visible main window; null when none showed in time
    DWORD startError = ERROR_SUCCESS;  // why the program could not be started at all
    std::optional<DWORD> exitCode;     // the code it ended with before showing its main window
    double shownAfterMs = 0;           // from just before the start until the main window was seen
};

// Starts `program` in `folder` (this process's own folder when empty) and waits up to `limitMs`
// until it is idle and shows a visible top-level window of class `mainWindowClass`. When no such
// window shows, a program still running is ended, and `process` is null.
ProgramStart StartProgram(const std::wstring& program, const wchar_t* mainWindowClass, const std::wstring& folder,
                          DWORD limitMs);

struct ProgramEnd {
    bool endedByItself;  // false: it had not ended within the limit and was terminated
    DWORD exitCode;
};

// Closes `mainWindow` as the user does and waits up to `limitMs` for the program to end; one
// that does not end is terminated. Releases `process`.
ProgramEnd CloseProgram(HANDLE process, HWND mainWindow, DWORD limitMs);
