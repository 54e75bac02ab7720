#include "app/MessageDialog.h"

#include "common/Exception.h"
#include "common/Text.h"
#include "common/UniqueHandle.h"
#include "win/CommonControls.h"
#include "win/DeviceContext.h"
#include "win/ModalScope.h"
#include "win/WindowFailure.h"

#include <algorithm>

namespace {

constexpr int kTextId = 100;

struct DialogState {
    std::wstring text;
    std::wstring caption;
    UniqueFont font;
};

// Lays the dialog out in dialog units of the message font, as the system's own boxes do.
void LayOut(HWND dialog, DialogState& state)
{
    HWND label = ::GetDlgItem(dialog, kTextId);
    HWND button = ::GetDlgItem(dialog, IDOK);
    WindowDC dc(dialog);
    SelectedObject selected(dc.Get(), state.font.Get());
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc.Get(), &metrics);
    SIZE alphabet{};
    ::GetTextExtentPoint32W(dc.Get(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &alphabet);
    const int unitX = (alphabet.cx / 26 + 1) / 2;
    const int unitY = metrics.tmHeight;
    auto horizontal = [&](int units) { return ::MulDiv(units, unitX, 4); };
    auto vertical = [&](int units) { return ::MulDiv(units, unitY, 8); };

    RECT textRect{0, 0, ::GetSystemMetrics(SM_CXSCREEN) / 2, 0};
    ::DrawTextW(dc.Get(), state.text.c_str(), static_cast<int>(state.text.size()), &textRect,
                DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);

    const int margin = horizontal(8);
    const int top = vertical(8);
    const int spacing = vertical(10);
    const int buttonWidth = horizontal(50);
    const int buttonHeight = vertical(14);
    const int clientWidth = std::max<int>(textRect.right, buttonWidth) + 2 * margin;
    const int clientHeight = top + textRect.bottom + spacing + buttonHeight + top;

    ::MoveWindow(label, margin, top, textRect.right, textRect.bottom, FALSE);
    ::MoveWindow(button, (clientWidth - buttonWidth) / 2, top + textRect.bottom + spacing, buttonWidth,
                 buttonHeight, FALSE);

    RECT frame{0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowPos(dialog, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Initialise(HWND dialog, DialogState& state)
{
    ::SetWindowTextW(dialog, state.caption.c_str());
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    state.font.Reset(::CreateFontIndirectW(&metrics.lfMessageFont));

    HINSTANCE instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    HWND label = ::CreateWindowExW(0, L"STATIC", state.text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                                   0, 0, 0, 0, dialog, reinterpret_cast<HMENU>(kTextId), instance, nullptr);
    HWND button = ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0,
                                    0, 0, dialog, reinterpret_cast<HMENU>(IDOK), instance, nullptr);
    for (HWND control : {dialog, label, button})
        SetFont(control, state.font.Get(), false);
    LayOut(dialog, state);
    ::SetFocus(button);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    try {
        switch (message) {
        case WM_INITDIALOG:
            ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            Initialise(dialog, *reinterpret_cast<DialogState*>(lParam));
            return FALSE;  // the focus is set on the button
        case WM_COMMAND:
            // The button is both the default (Enter) and the cancel button (Esc, close box).
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                ::EndDialog(dialog, IDOK);
                return TRUE;
            }
            break;
        }
    } catch (const std::exception& failure) {
        ReportWindowFailure(failure);
    }
    return FALSE;
}

// An empty dialog template; the controls are made to measure when the dialog opens.
struct alignas(4) EmptyDialogTemplate {
    DLGTEMPLATE header;
    WORD menu = 0;
    WORD windowClass = 0;
    WORD title = 0;
};

} // namespace

void ShowMessageDialog(const ApplicationHost& application, const std::string& text)
{
    DialogState state;
    state.text = WideFromGbk(text);
    state.caption = WideFromGbk(application.Title());

    EmptyDialogTemplate dialogTemplate{};
    dialogTemplate.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    dialogTemplate.header.dwExtendedStyle = WS_EX_DLGMODALFRAME;

    ModalScope modal;
    if (::DialogBoxIndirectParamW(application.InstanceHandle(), &dialogTemplate.header, application.OwnerWindow(),
                                  DialogProc, reinterpret_cast<LPARAM>(&state)) == -1)
        throw Exception("cannot show the message dialog");
}
