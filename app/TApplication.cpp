#include "app/TApplication.h"

#include "actions/Machine.h"
#include "actions/ThousandsSeparator.h"
#include "app/ErrorReport.h"
#include "common/Text.h"
#include "resources/ResourceIds.h"
#include "win/UiLibraries.h"
#include "win/WindowFailure.h"

#include <commctrl.h>

namespace {

constexpr wchar_t kWindowClass[] = L"TApplication";

// Failures that escape the windows' message handling reach the user through the error report,
// owned by the application window and captioned with the title.
void ReportToUser(const std::exception& failure, const void* context) noexcept
{
    const auto& application = *static_cast<const TApplication*>(context);
    ReportError(failure, application.Handle(), application.Title());
}

} // namespace

MessageFilterFunction& WindowMessageFilter()
{
    static MessageFilterFunction function = ::ChangeWindowMessageFilterEx;
    return function;
}

TApplication::TApplication(HINSTANCE instance, Machine& machine) : instance_(instance), machine_(machine)
{
    // The tool bar, the status bar and the tool-tips are all the common controls the windows use.
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);

    icon_ = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON, 0, 0,
                                            LR_DEFAULTSIZE | LR_SHARED));
    smallIcon_ = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));

    Register(instance, kWindowClass, icon_, smallIcon_);

    // A zero-size window in the middle of the screen: it owns every other window, so it alone
    // has a task-bar entry, and that entry shows the application title.
    const int x = ::GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = ::GetSystemMetrics(SM_CYSCREEN) / 2;
    Create(instance, kWindowClass, L"", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0,
           {x, y, x, y}, nullptr, nullptr);
    SetWindowFailureSink(ReportToUser, this);
    taskbarCreatedMessage_ = ::RegisterWindowMessageW(L"TaskbarCreated");
    // The shell that broadcasts it runs unelevated; elevated, the window hears it only so.
    WindowMessageFilter()(Handle(), taskbarCreatedMessage_, MSGFLT_ALLOW, nullptr);
    thousandsSeparator_ = machine_.QueryThousandsSeparator();
}

TApplication::~TApplication()
{
    Shutdown();
    RemoveWindowFailureSink(this);
}

void TApplication::SetTitle(const std::string& title)
{
    title_ = title;
    ::SetWindowTextW(Handle(), WideFromGbk(title).c_str());
}

void TApplication::AddWindow(HWND window)
{
    if (!mainWindow_)
        mainWindow_ = window;
    windows_.push_back(window);
}

void TApplication::ApplyHintSettings(HWND tooltip)
{
    if (!tooltip)
        return;
    ::SendMessageW(tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(500, 0));
    ::SendMessageW(tooltip, TTM_SETDELAYTIME, TTDT_RESHOW, MAKELPARAM(0, 0));
    ::SendMessageW(tooltip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(2500, 0));
    ::SendMessageW(tooltip, TTM_ACTIVATE, TRUE, 0);
    // A themed tip paints its own background; without the theme it takes the system's colour.
    late::SetWindowTheme(tooltip, L"", L"");
    tooltips_.push_back(tooltip);
}

void TApplication::ShowMainWindow(int startShowState)
{
    ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    if (startShowState == SW_SHOWMINNOACTIVE) {
        Minimize();
        return;
    }
    ::ShowWindow(mainWindow_, startShowState == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL);
    ::SetForegroundWindow(mainWindow_);
}

void TApplication::Minimize()
{
    // Only the task-bar entry stays: the program's windows are hidden until it is restored.
    if (::IsIconic(Handle()))
        return;
    hiddenByMinimize_.clear();
    for (HWND window : windows_)
        if (::IsWindowVisible(window)) {
            hiddenByMinimize_.push_back(window);
            ::ShowWindow(window, SW_HIDE);
        }
    ::ShowWindow(Handle(), SW_MINIMIZE);
}

void TApplication::Restore()
{
    ::ShowWindow(Handle(), SW_RESTORE);
    // Started minimised, the main window has never been shown; show it now.
    if (hiddenByMinimize_.empty() && mainWindow_)
        hiddenByMinimize_.push_back(mainWindow_);
    for (HWND window : hiddenByMinimize_)
        if (::IsWindow(window))
            ::ShowWindow(window, SW_SHOWNA);
    hiddenByMinimize_.clear();
    if (mainWindow_)
        ::SetForegroundWindow(mainWindow_);
}

void TApplication::SetShortcuts(HWND window, HACCEL shortcuts)
{
    shortcutWindow_ = window;
    shortcuts_ = shortcuts;
}

bool TApplication::TranslateShortcut(MSG& message) const
{
    if (!shortcuts_ || !::IsWindow(shortcutWindow_) ||
        (message.hwnd != shortcutWindow_ && !::IsChild(shortcutWindow_, message.hwnd)))
        return false;
    return ::TranslateAcceleratorW(shortcutWindow_, shortcuts_, &message) != 0;
}

void TApplication::Run(int startShowState)
{
    ShowMainWindow(startShowState);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        try {
            if (TranslateShortcut(message))
                continue;
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        } catch (const std::exception& failure) {
            ReportWindowFailure(failure);
        }
    }
    Shutdown();
}

void TApplication::CloseMainWindow()
{
    // Said at once: a modal notice may be up, and the close reaches the main window only through
    // its loop.
    ending_ = true;
    if (mainWindow_)
        ::PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
    else
        Terminate();
}

void TApplication::Terminate()
{
    ending_ = true;
    ::PostQuitMessage(0);
}

void TApplication::Shutdown()
{
    for (HWND window : windows_)
        if (::IsWindow(window))
            ::ShowWindow(window, SW_HIDE);
    for (HWND tooltip : tooltips_)
        if (::IsWindow(tooltip))
            ::SendMessageW(tooltip, TTM_ACTIVATE, FALSE, 0);
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if (::IsWindow(*it))
            ::DestroyWindow(*it);
    windows_.clear();
    tooltips_.clear();
    mainWindow_ = nullptr;
}

void TApplication::RefreshThousandsSeparator()
{
    thousandsSeparator_ = ::RefreshThousandsSeparator(machine_);
}

LRESULT TApplication::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SYSCOMMAND:
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
            Minimize();
            return 0;
        case SC_RESTORE:
            Restore();
            return 0;
        case SC_CLOSE:
            // The task-bar entry's close command closes the main window.
            CloseMainWindow();
            return 0;
        }
        break;
    case WM_CLOSE:
        // Another program closing the owner window (taskkill, a window closer) closes the
        // program as the task-bar entry does; destroyed by default, it would leave the message
        // loop running with no window.
        CloseMainWindow();
        return 0;
    case WM_QUERYENDSESSION:
        // Nothing to save: the session or the restart manager may always end the program.
        return TRUE;
    case WM_ENDSESSION:
        if (wParam)
            CloseMainWindow();
        return 0;
    case WM_SETFOCUS:
    case WM_ACTIVATE:
        // Activation that lands on the hidden owner goes on to the main window.
        if ((message == WM_SETFOCUS || LOWORD(wParam) != WA_INACTIVE) && mainWindow_ &&
            ::IsWindowVisible(mainWindow_) && ::IsWindowEnabled(mainWindow_)) {
            ::SetActiveWindow(mainWindow_);
            return 0;
        }
        break;
    case WM_WININICHANGE:
        RefreshThousandsSeparator();
        break;
    default:
        if (message == taskbarCreatedMessage_ && message != 0)
            RefreshThousandsSeparator();
        break;
    }
    return ::DefWindowProcW(Handle(), message, wParam, lParam);
}
