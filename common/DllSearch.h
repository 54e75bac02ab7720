#pragma once

#include <windows.h>

// The program runs as administrator, and Windows looks for a DLL loaded by name (a system DLL
// loading another one, say) in the program's own folder first: whoever can put a DLL beside the
// program would run it as administrator. Called first thing in the entry point, so that every
// DLL loaded from then on comes from the system folder; what Windows loads for the program's
// imports before the entry point runs stays Windows' choice. Looked up rather than imported: a
// missing import would stop the program on a Windows 7 without the 2011 loader update, where
// only the current folder leaves the search and this says false.
inline bool RestrictDllSearchToSystemFolder() noexcept
{
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    ::SetDllDirectoryW(L"");
    return setDefaultDllDirectories && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
