#include "common/SystemLibrary.h"

#include <uxtheme.h>

namespace {

// Loaded by its full path in the system folder, and kept until the process ends.
FARPROC SystemFunction(const wchar_t* library, const char* name) noexcept
{
    wchar_t path[MAX_PATH + 32];
    const UINT length = ::GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || ::lstrlenW(library) >= 30)
        return nullptr;
    path[length] = L'\\';
    ::lstrcpyW(path + length + 1, library);
    HMODULE module = ::GetModuleHandleW(path);
    if (!module)
        module = ::LoadLibraryW(path);
    return module ? ::GetProcAddress(module, name) : nullptr;
}

template <typename Function>
Function Late(const wchar_t* library, const char* name) noexcept
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemFunction(library, name)));
}

} // namespace

namespace late {

HRESULT CoInitializeEx(void* reserved, DWORD model)
{
    static const auto function = Late<decltype(&::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    return function ? function(reserved, model) : E_NOTIMPL;
}

void CoUninitialize()
{
    static const auto function = Late<decltype(&::CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    if (function)
        function();
}

HRESULT CoCreateInstance(REFCLSID type, IUnknown* outer, DWORD context, REFIID id, void** object)
{
    static const auto function = Late<decltype(&::CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    return function ? function(type, outer, context, id, object) : REGDB_E_CLASSNOTREG;
}

BSTR SysAllocString(const OLECHAR* text)
{
    static const auto function = Late<decltype(&::SysAllocString)>(L"oleaut32.dll", "SysAllocString");
    return function ? function(text) : nullptr;
}

void SysFreeString(BSTR text)
{
    static const auto function = Late<decltype(&::SysFreeString)>(L"oleaut32.dll", "SysFreeString");
    if (function)
        function(text);
}

HRESULT CreateStdAccessibleObject(HWND window, LONG object, REFIID id, void** result)
{
    static const auto function =
        Late<decltype(&::CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
    return function ? function(window, object, id, result) : E_NOTIMPL;
}

LRESULT LresultFromObject(REFIID id, WPARAM flags, IUnknown* object)
{
    static const auto function = Late<decltype(&::LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    return function ? function(id, flags, object) : E_NOTIMPL;
}

HRESULT AccessibleObjectFromWindow(HWND window, DWORD object, REFIID id, void** result)
{
    static const auto function =
        Late<decltype(&::AccessibleObjectFromWindow)>(L"oleacc.dll", "AccessibleObjectFromWindow");
    return function ? function(window, object, id, result) : E_NOTIMPL;
}

HINSTANCE WINAPI ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)
{
    static const auto function = Late<decltype(&::ShellExecuteA)>(L"shell32.dll", "ShellExecuteA");
    return function ? function(owner, verb, file, parameters, directory, show)
                    : reinterpret_cast<HINSTANCE>(SE_ERR_NOASSOC);
}

HRESULT SetWindowTheme(HWND window, LPCWSTR application, LPCWSTR idList)
{
    static const auto function = Late<decltype(&::SetWindowTheme)>(L"uxtheme.dll", "SetWindowTheme");
    return function ? function(window, application, idList) : E_NOTIMPL;
}

} // namespace late
