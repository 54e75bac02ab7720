#pragma once

#include <windows.h>

#include <string>

// Handing a mail address or a web page to the user's shell. An elevated process that starts the
// browser itself starts it elevated too; the desktop's own shell starts it as the signed-in user.
struct ShellHandOffPlatform {
    bool (*processIsElevated)();
    // Whether the account also runs unelevated (a split token, as Windows gives administrators
    // under UAC), so that what this process starts would have more rights than the user's own
    // programs. Never under Wine, which runs every process with the same full token.
    bool (*accountAlsoRunsUnelevated)();
    bool (*desktopShellIsRunning)();
    // Asks the desktop's shell to open `file`; false when it could not be asked.
    bool (*openThroughDesktopShell)(const std::string& file);
    HINSTANCE(WINAPI* shellExecute)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
};

// The system's own calls.
const ShellHandOffPlatform& SystemShellHandOff();

// Elevated with a desktop shell running: through that shell. Elevated while the account also runs
// unelevated, only that way: where it fails, nothing is started and the answer is false. Otherwise
// ShellExecuteA(owner, no verb, file, no parameters, no directory, SW_SHOWNORMAL), its result
// ignored, and the answer is true.
bool HandToShell(const ShellHandOffPlatform& platform, HWND owner, const std::string& file);
