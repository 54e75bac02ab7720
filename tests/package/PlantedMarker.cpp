// A DLL that only says it was loaded: it writes NAME.loaded beside itself, holding the path of the
// program that loaded it. Copied under the name of a system DLL next to a program, it shows
// whether that program took a DLL of that name from its own folder.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID)
{
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    wchar_t marker[MAX_PATH + 8] = {};
    const DWORD length = ::GetModuleFileNameW(self, marker, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return TRUE;
    ::lstrcpyW(marker + length, L".loaded");
    wchar_t loader[MAX_PATH] = {};
    const DWORD loaderLength = ::GetModuleFileNameW(nullptr, loader, MAX_PATH);
    HANDLE file = ::CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        ::WriteFile(file, loader, loaderLength * sizeof(wchar_t), &written, nullptr);
        ::CloseHandle(file);
    }
    return TRUE;
}
