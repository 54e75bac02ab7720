#pragma once

#include "common/Exception.h"
#include "win/WindowFailure.h"

#include <windows.h>

// One C++ object per window: the static procedure finds the object through GWLP_USERDATA
// (set on WM_NCCREATE, cleared on WM_NCDESTROY) and forwards to Derived::HandleMessage.
// No C++ exception ever leaves the procedure: a failure goes to the window failure sink (the
// application's error report) and the message loop goes on.
// `Interface` is what the window offers others, if anything: taken in as the one base, it keeps
// the class hierarchy a single line (the program carries no support for several bases).
struct NoInterface {};
template <typename Derived, typename Interface = NoInterface>
class BaseWindow : public Interface {
public:
    HWND Handle() const noexcept { return window_; }

protected:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    // By now the derived object is gone: the window is detached from it first, so that its last
    // messages go to the default procedure, not to a destroyed object.
    ~BaseWindow()
    {
        if (window_ && ::IsWindow(window_)) {
            ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            ::DestroyWindow(window_);
        }
    }

    // For a window whose one control takes the keyboard focus: it passes the focus on
    // whenever it is activated or given the focus itself.
    static LRESULT PassFocusTo(HWND control, UINT message, WPARAM wParam)
    {
        if (control && (message == WM_SETFOCUS || LOWORD(wParam) != WA_INACTIVE))
            ::SetFocus(control);
        return 0;
    }

    static void Register(HINSTANCE instance, const wchar_t* className, HICON icon, HICON smallIcon, UINT style = 0)
    {
        WNDCLASSEXW windowClass{};
        if (::GetClassInfoExW(instance, className, &windowClass))
            return;
        windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = style;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = icon;
        windowClass.hIconSm = smallIcon;
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = className;
        if (!::RegisterClassExW(&windowClass))
            throw Exception("cannot register a window class");
    }

    void Create(HINSTANCE instance, const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle,
                const RECT& bounds, HWND owner, HMENU menu)
    {
        if (!::CreateWindowExW(exStyle, className, caption, style, bounds.left, bounds.top,
                               bounds.right - bounds.left, bounds.bottom - bounds.top, owner, menu, instance,
                               static_cast<Derived*>(this)))
            throw Exception("cannot create a window");
    }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
    {
        if (message == WM_NCCREATE) {
            auto* self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->window_ = window;
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<Derived*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_NCDESTROY) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            if (self)
                self->window_ = nullptr;
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
        if (!self)
            return ::DefWindowProcW(window, message, wParam, lParam);
        try {
            return self->HandleMessage(message, wParam, lParam);
        } catch (const std::exception& failure) {
            ReportWindowFailure(failure);
        } catch (...) {
            ReportWindowFailure(Exception("unexpected failure"));
        }
        return 0;
    }

    HWND window_ = nullptr;
};
