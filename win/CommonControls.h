#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

// Typed messages sent to the controls the windows use: a handle, a pointer or a structure
// goes into a WPARAM or an LPARAM only here. (Messages a window receives are unpacked where it
// handles them.)
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

inline void SetButtonStructSize(HWND toolBar)
{
    ::SendMessageW(toolBar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
}

inline void SetImageList(HWND toolBar, HIMAGELIST list)
{
    ::SendMessageW(toolBar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
}

inline void SetButtonSize(HWND toolBar, SIZE size)
{
    ::SendMessageW(toolBar, TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy));
}

inline void SetIndent(HWND toolBar, int pixels)
{
    ::SendMessageW(toolBar, TB_SETINDENT, static_cast<WPARAM>(pixels), 0);
}

inline void AddButtons(HWND toolBar, const std::vector<TBBUTTON>& buttons)
{
    ::SendMessageW(toolBar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
}

inline void DeleteAllButtons(HWND toolBar)
{
    while (::SendMessageW(toolBar, TB_BUTTONCOUNT, 0, 0) > 0)
        ::SendMessageW(toolBar, TB_DELETEBUTTON, 0, 0);
}

// The button under the pointer, as its TBBUTTON; none when no button is hot.
inline bool HotButton(HWND toolBar, TBBUTTON& button)
{
    const auto hot = static_cast<int>(::SendMessageW(toolBar, TB_GETHOTITEM, 0, 0));
    return hot >= 0 &&
           ::SendMessageW(toolBar, TB_GETBUTTON, static_cast<WPARAM>(hot), reinterpret_cast<LPARAM>(&button));
}

} // namespace toolbar

namespace edit {

// Puts `text` at the end of an EDIT's text.
inline void Append(HWND edit, const std::wstring& text)
{
    const LRESULT end = ::GetWindowTextLengthW(edit);
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
    ::SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

} // namespace edit

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
