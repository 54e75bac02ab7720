#pragma once

#include <windows.h>
#include <oleacc.h>
#include <shellapi.h>

// A function of a DLL every process has loaded (ntdll, user32), looked up by name because older
// Windows lacks it; null there.
template <typename Function>
Function LoadedFunction(const wchar_t* library, const char* name) noexcept
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(library), name)));
}

// Calls into the system DLLs that only some commands need (the shell, COM, accessibility,
// themes), made through functions loaded from the system folder the first time one is called.
// The program starts without those DLLs, which under Wine costs several milliseconds each, and
// never takes a DLL of one of these names from anywhere else, such as its own folder. Where a
// DLL or function is missing, each call fails as the system's own call fails.
namespace late {

HRESULT CoInitializeEx(void* reserved, DWORD model);
void CoUninitialize();
HRESULT CoCreateInstance(REFCLSID type, IUnknown* outer, DWORD context, REFIID id, void** object);
BSTR SysAllocString(const OLECHAR* text);
void SysFreeString(BSTR text);
HRESULT CreateStdAccessibleObject(HWND window, LONG object, REFIID id, void** result);
LRESULT LresultFromObject(REFIID id, WPARAM flags, IUnknown* object);
HRESULT AccessibleObjectFromWindow(HWND window, DWORD object, REFIID id, void** result);
HINSTANCE WINAPI ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show);
HRESULT SetWindowTheme(HWND window, LPCWSTR application, LPCWSTR idList);

} // namespace late
