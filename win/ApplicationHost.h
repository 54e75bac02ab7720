#pragma once

#include <windows.h>

#include <string>

// What the windows need of the application object, which owns the message loop and the
// program's only task-bar entry. The windows know the application only through this.
class ApplicationHost {
public:
    virtual HINSTANCE InstanceHandle() const noexcept = 0;
    // The application title (GBK), which captions the program's dialogs and error boxes.
    virtual const std::string& Title() const noexcept = 0;
    virtual HICON Icon() const noexcept = 0;
    virtual HICON SmallIcon() const noexcept = 0;
    // The hidden window that owns every other window of the program.
    virtual HWND OwnerWindow() const noexcept = 0;
    // Takes a new window into the program's set; the first one becomes the main window.
    virtual void AddWindow(HWND window) = 0;
    // Gives a tool-tip control the application's delays and colours.
    virtual void ApplyHintSettings(HWND tooltip) = 0;
    // Keyboard shortcuts of `window`, for keys pressed in it or any of its controls.
    virtual void SetShortcuts(HWND window, HACCEL shortcuts) = 0;
    // The user's thousands separator, as the system information report prints counts.
    virtual char ThousandsSeparator() const noexcept = 0;
    virtual void Minimize() = 0;
    // Ends the message loop, and with it the program.
    virtual void Terminate() = 0;
    // True once the program has begun to end: closed by the user or another program, or by the
    // end of the session. Nothing is started from then on.
    virtual bool Ending() const noexcept = 0;

protected:
    ~ApplicationHost() = default;
};
