// Holds the test display's Wine desktop open for a whole test run. Wine closes a desktop a
// moment after its last program ends; short-lived test programs would then each start a new
// desktop process, which inherits their output and keeps CTest waiting for it to end.
#include <windows.h>

#include <cstdio>

int wmain()
{
    // A window that is never shown: it ties this process to the desktop and takes no focus.
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                    ::GetModuleHandleW(nullptr), nullptr);
    if (!window) {
        std::fprintf(stderr, "cannot make the keeper's window (error %lu)\n", ::GetLastError());
        return 1;
    }
    // scripts/test.sh waits for this line before it starts the tests.
    std::printf("holding the desktop\n");
    std::fflush(stdout);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0)
        ::DispatchMessageW(&message);
    return 0;
}
