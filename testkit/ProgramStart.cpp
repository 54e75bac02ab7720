#include "testkit/ProgramStart.h"

#include "testkit/ProcessWindow.h"

ProgramStart StartProgram(const std::wstring& program, const wchar_t* mainWindowClass, const std::wstring& folder,
                          DWORD limitMs)
{
    ProgramStart result;
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER frequency, started, shown;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&started);
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
        result.startError = ::GetLastError();
        return result;
    }
    ::WaitForInputIdle(process.hProcess, limitMs);
    // Looked for at once and then every millisecond, so the time taken is the program's own.
    const ULONGLONG deadline = ::GetTickCount64() + limitMs;
    for (;;) {
        result.mainWindow = FindTopLevelWindow(mainWindowClass, true, process.dwProcessId);
        if (result.mainWindow || ::GetTickCount64() > deadline ||
            ::WaitForSingleObject(process.hProcess, 1) != WAIT_TIMEOUT)
            break;
    }
    ::QueryPerformanceCounter(&shown);
    result.shownAfterMs =
        static_cast<double>(shown.QuadPart - started.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
    ::CloseHandle(process.hThread);
    if (result.mainWindow) {
        result.process = process.hProcess;
        return result;
    }
    if (::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        ::GetExitCodeProcess(process.hProcess, &exitCode);
        result.exitCode = exitCode;
    } else {
        ::TerminateProcess(process.hProcess, 1);
        ::WaitForSingleObject(process.hProcess, limitMs);
    }
    ::CloseHandle(process.hProcess);
    return result;
}

ProgramEnd CloseProgram(HANDLE process, HWND mainWindow, DWORD limitMs)
{
    ProgramEnd end{true, 1};
    ::PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process, limitMs) != WAIT_OBJECT_0) {
        end.endedByItself = false;
        ::TerminateProcess(process, 1);
        ::WaitForSingleObject(process, limitMs);
    }
    ::GetExitCodeProcess(process, &end.exitCode);
    ::CloseHandle(process);
    return end;
}
