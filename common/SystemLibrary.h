#pragma once

#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

// A function of a DLL every process has loaded (ntdll, user32), looked up by name because older
// Windows lacks it; null there.
template <typename Function>
Function LoadedFunction(const wchar_t* library, const char* name) noexcept
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(library), name)));
}

// A function of a DLL in the system folder, loaded by its full path there the first time it is
// asked for and kept until the process ends; null where the DLL or the function is missing.
FARPROC SystemFunctionAddress(const wchar_t* library, const char* name) noexcept;
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) noexcept
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemFunctionAddress(library, name)));
}

// Calls into the system DLLs that only some commands need (the shell, COM), made through
// functions loaded from the system folder the first time one is called. The program starts
// without those DLLs, which under Wine costs several milliseconds each, and never takes a DLL of
// one of these names from anywhere else, such as its own folder. Where a DLL or function is
// missing, each call fails as the system's own call fails. (The windows' own, accessibility and
// themes, are in win/UiLibraries.h.)
namespace late {

HRESULT CoInitializeEx(void* reserved, DWORD model);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID type, IUnknown* outer, DWORD context, REFIID id, void** object);
BSTR SysAllocString(const OLECHAR* text);
void SysFreeString(BSTR text);
HINSTANCE WINAPI ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);

} // namespace late
