#pragma once

#include <windows.h>

// Whether the program runs under Wine, told by the export that only Wine's ntdll has. Wine gives
// every file to the prefix's one user and runs every process of a session with the same full
// administrator token: it has no unelevated half of an account that rules made for Windows' split
// tokens could guard against, and those rules adapt there, by name, through this.
inline bool RunsUnderWine() noexcept
{
    const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}
