#pragma once

#include "win/ApplicationHost.h"
#include "win/BaseWindow.h"

#include <windows.h>

#include <string>
#include <vector>

class Machine;

// Lets a message through to a window of an elevated process from the unelevated ones (UIPI);
// tests replace it to see the call.
using MessageFilterFunction = BOOL(WINAPI*)(HWND window, UINT message, DWORD action, PCHANGEFILTERSTRUCT status);
MessageFilterFunction& WindowMessageFilter();

// The one application object: the hidden owner window that bears the program's only
// task-bar entry, the title, the icon, the tool-tip settings, the thousands separator of the
// user's locale, and the message loop.
class TApplication final : public BaseWindow<TApplication, ApplicationHost> {
public:
    TApplication(HINSTANCE instance, Machine& machine);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    void SetTitle(const std::string& title);
    const std::string& Title() const noexcept override { return title_; }
    HINSTANCE InstanceHandle() const noexcept override { return instance_; }
    HICON Icon() const noexcept override { return icon_; }
    HICON SmallIcon() const noexcept override { return smallIcon_; }
    HWND OwnerWindow() const noexcept override { return Handle(); }

    // The first window created becomes the main window; closing it ends the program.
    void AddWindow(HWND window) override;
    HWND MainWindow() const noexcept { return mainWindow_; }

    // Gives a tool-tip control the application's delays: 500 ms to show, 0 ms from one tipped
    // control to the next, 2500 ms to hide; and the system's tool-tip colours, also under
    // visual styles.
    void ApplyHintSettings(HWND tooltip) override;

    char ThousandsSeparator() const noexcept override { return thousandsSeparator_; }

    void SetShortcuts(HWND window, HACCEL shortcuts) override;
    // Turns a shortcut key into its command; true when `message` was one and is handled.
    bool TranslateShortcut(MSG& message) const;

    // Shows the main window as the program was started (minimised, maximised or normal).
    void ShowMainWindow(int startShowState);
    void Minimize() override;
    void Restore();

    // Takes and dispatches messages until Terminate; then shuts down.
    void Run(int startShowState);
    void Terminate() override;
    bool Ending() const noexcept override { return ending_; }
    // Hides every window, switches the tool-tips off and destroys the windows: at the end of Run,
    // or when the object goes where Run never came (a failed start). Called again, it finds nothing
    // left to do.
    void Shutdown();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void RefreshThousandsSeparator();
    // Closes the main window as its close box does, which ends the program.
    void CloseMainWindow();

    HINSTANCE instance_;
    Machine& machine_;
    std::string title_;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HWND mainWindow_ = nullptr;
    std::vector<HWND> windows_;
    std::vector<HWND> tooltips_;
    std::vector<HWND> hiddenByMinimize_;
    char thousandsSeparator_ = ',';
    UINT taskbarCreatedMessage_ = 0;
    HWND shortcutWindow_ = nullptr;
    HACCEL shortcuts_ = nullptr;
    bool ending_ = false;
};
