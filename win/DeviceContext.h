#pragma once

#include "common/UniqueHandle.h"

#include <windows.h>

// Scope guards for device contexts. Declare a SelectedObject after the guard of its device
// context, so the old object goes back before the context itself is given up.

// A window's device context, borrowed with GetDC and given back at the end of the scope.
class WindowDC {
public:
    explicit WindowDC(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC()
    {
        if (dc_)
            ::ReleaseDC(window_, dc_);
    }

    HDC Get() const noexcept { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// One WM_PAINT: BeginPaint on entry, EndPaint on every way out.
class PaintDC {
public:
    explicit PaintDC(HWND window) noexcept : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    ~PaintDC() { ::EndPaint(window_, &paint_); }

    HDC Get() const noexcept { return dc_; }
    const RECT& Area() const noexcept { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a device context for the guard's lifetime.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { ::SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

struct MemoryDCDeleter {
    void operator()(HDC dc) const noexcept { ::DeleteDC(dc); }
};

// A memory device context made with CreateCompatibleDC.
using UniqueMemoryDC = UniqueHandle<HDC, MemoryDCDeleter>;
inline UniqueMemoryDC CreateMemoryDC(HDC compatibleWith)
{
    return UniqueMemoryDC(::CreateCompatibleDC(compatibleWith));
}
