#include "win/UiLibraries.h"

#include "common/SystemLibrary.h"

#include <uxtheme.h>

namespace late {

HRESULT CreateStdAccessibleObject(HWND window, LONG object, REFIID id, void** result)
{
    static const auto function =
        SystemFunction<decltype(&::CreateStdAccessibleObject)>(L"oleacc.dll", "CreateStdAccessibleObject");
    return function ? function(window, object, id, result) : E_NOTIMPL;
}

LRESULT LresultFromObject(REFIID id, WPARAM flags, IUnknown* object)
{
    static const auto function = SystemFunction<decltype(&::LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    return function ? function(id, flags, object) : E_NOTIMPL;
}

HRESULT AccessibleObjectFromWindow(HWND window, DWORD object, REFIID id, void** result)
{
    static const auto function =
        SystemFunction<decltype(&::AccessibleObjectFromWindow)>(L"oleacc.dll", "AccessibleObjectFromWindow");
    return function ? function(window, object, id, result) : E_NOTIMPL;
}

HRESULT SetWindowTheme(HWND window, LPCWSTR application, LPCWSTR idList)
{
    static const auto function = SystemFunction<decltype(&::SetWindowTheme)>(L"uxtheme.dll", "SetWindowTheme");
    return function ? function(window, application, idList) : E_NOTIMPL;
}

} // namespace late
