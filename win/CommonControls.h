#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>

// Typed messages of the common controls the windows use, so no call site casts a WPARAM or an
// LPARAM of its own.
namespace statusbar {

inline void SetParts(HWND statusBar, int count, const int* rightEdges)
{
    ::SendMessageW(statusBar, SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(rightEdges));
}

inline void SetText(HWND statusBar, int panel, const std::wstring& text)
{
    ::SendMessageW(statusBar, SB_SETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace statusbar

namespace toolbar {

inline HWND ToolTips(HWND toolBar)
{
    return reinterpret_cast<HWND>(::SendMessageW(toolBar, TB_GETTOOLTIPS, 0, 0));
}

inline RECT ButtonRect(HWND toolBar, UINT command)
{
    RECT rect{};
    ::SendMessageW(toolBar, TB_GETRECT, command, reinterpret_cast<LPARAM>(&rect));
    return rect;
}

} // namespace toolbar

inline void SetFont(HWND control, HFONT font, bool redraw = true)
{
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

// A subclass procedure set on a window for the guard's lifetime.
class WindowSubclass {
public:
    WindowSubclass() = default;
    WindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) noexcept
        : window_(window), procedure_(procedure), id_(id)
    {
        if (!::SetWindowSubclass(window, procedure, id, data))
            window_ = nullptr;
    }
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;
    WindowSubclass& operator=(WindowSubclass&& other) noexcept
    {
        Remove();
        window_ = std::exchange(other.window_, nullptr);
        procedure_ = other.procedure_;
        id_ = other.id_;
        return *this;
    }
    ~WindowSubclass() { Remove(); }

private:
    void Remove() noexcept
    {
        if (window_ && ::IsWindow(window_))
            ::RemoveWindowSubclass(window_, procedure_, id_);
        window_ = nullptr;
    }

    HWND window_ = nullptr;
    SUBCLASSPROC procedure_ = nullptr;
    UINT_PTR id_ = 0;
};
