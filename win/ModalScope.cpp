#include "win/ModalScope.h"

namespace {

BOOL CALLBACK DisableEnabledWindow(HWND window, LPARAM context)
{
    if (::IsWindowEnabled(window)) {
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
        ::EnableWindow(window, FALSE);
    }
    return TRUE;
}

} // namespace

ModalScope::ModalScope() : active_(::GetActiveWindow()), focus_(::GetFocus())
{
    ::EnumThreadWindows(::GetCurrentThreadId(), DisableEnabledWindow, reinterpret_cast<LPARAM>(&disabled_));
}

ModalScope::~ModalScope()
{
    for (HWND window : disabled_)
        if (::IsWindow(window))
            ::EnableWindow(window, TRUE);
    if (active_ && ::IsWindow(active_))
        ::SetActiveWindow(active_);
    if (focus_ && ::IsWindow(focus_))
        ::SetFocus(focus_);
}
