#pragma once

#include "ui/main/Form1Accessibility.h"
#include "win/AccessibleItems.h"
#include "win/ApplicationHost.h"
#include "win/CommonControls.h"
#include "win/DesignScale.h"
#include "win/WindowHandles.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

// The main window's tool bar: the spacer Label1 at its left, then the tool buttons of the
// design's table with their glyphs and tool-tips. A button's click reaches the main window as
// its command.
class Form1ToolBar {
public:
    Form1ToolBar() = default;
    Form1ToolBar(const Form1ToolBar&) = delete;
    Form1ToolBar& operator=(const Form1ToolBar&) = delete;

    // Makes the control on `parent` at `bounds`; `onSpacerHover` runs on every pointer move over
    // the spacer.
    void Create(HWND parent, const RECT& bounds, ApplicationHost& application, std::function<void()> onSpacerHover);
    HWND Handle() const noexcept { return window_; }

    // Glyphs and buttons at `scale`.
    void LayOut(const DesignScale& scale);
    // Fills in a button's tool-tip text; true when `header` asked for one.
    bool AnswerToolTip(const NMHDR& header);
    // No screen reader is answered from now on.
    void CloseAccessibility() noexcept { accessible_.Close(); }

private:
    static LRESULT CALLBACK Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self) noexcept;

    HWND window_ = nullptr;
    HINSTANCE instance_ = nullptr;
    DesignScale scale_;
    std::function<void()> onSpacerHover_;
    UniqueImageList glyphs_;
    std::wstring tooltipText_;
    WindowSubclass subclass_;
    ToolBarButtons readerItems_{nullptr, nullptr};
    AccessibleObject accessible_;
};
