#pragma once

#include <windows.h>
#include <oleacc.h>

// Calls into the system DLLs only the windows need, accessibility and themes, loaded from the
// system folder the first time one is called, as common/SystemLibrary.h does for the shell and
// COM: the program starts without them, and never takes them from anywhere else. Where a DLL or
// function is missing, each call fails as the system's own call fails.
namespace late {

HRESULT CreateStdAccessibleObject(HWND window, LONG object, REFIID id, void** result);
LRESULT LresultFromObject(REFIID id, WPARAM flags, IUnknown* object);
HRESULT AccessibleObjectFromWindow(HWND window, DWORD object, REFIID id, void** result);
HRESULT SetWindowTheme(HWND window, LPCWSTR application, LPCWSTR idList);

} // namespace late
