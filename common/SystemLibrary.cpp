#include "common/SystemLibrary.h"

#include <shellapi.h>

FARPROC SystemFunctionAddress(const wchar_t* library, const char* name) noexcept
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

namespace late {

HRESULT CoInitializeEx(void* reserved, DWORD model)
{
    static const auto function = SystemFunction<decltype(&::CoInitializeEx)>(L"ole32.dll", "CoInitializeEx");
    return function ? function(reserved, model) : E_NOTIMPL;
}

void CoUninitialize()
{
    static const auto function = SystemFunction<decltype(&::CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    if (function)
        function();
}

HRESULT CoCreateInstance(REFCLSID type, IUnknown* outer, DWORD context, REFIID id, void** object)
{
    static const auto function = SystemFunction<decltype(&::CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    return function ? function(type, outer, context, id, object) : REGDB_E_CLASSNOTREG;
}

BSTR SysAllocString(const OLECHAR* text)
{
    static const auto function = SystemFunction<decltype(&::SysAllocString)>(L"oleaut32.dll", "SysAllocString");
    return function ? function(text) : nullptr;
}

void SysFreeString(BSTR text)
{
    static const auto function = SystemFunction<decltype(&::SysFreeString)>(L"oleaut32.dll", "SysFreeString");
    if (function)
        function(text);
}

HINSTANCE WINAPI ShellExecuteA(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, INT show)
{
    static const auto function = SystemFunction<decltype(&::ShellExecuteA)>(L"shell32.dll", "ShellExecuteA");
    return function ? function(owner, verb, file, parameters, directory, show)
                    : reinterpret_cast<HINSTANCE>(SE_ERR_NOASSOC);
}

} // namespace late
