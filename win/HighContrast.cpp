#include "win/HighContrast.h"

#include "win/DeviceContext.h"
#include "win/UiLibraries.h"

namespace {

bool SystemHighContrastIsOn()
{
    HIGHCONTRASTW state{sizeof state, 0, nullptr};
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof state, &state, 0) &&
           (state.dwFlags & HCF_HIGHCONTRASTON);
}

} // namespace

HighContrastQuery& HighContrastSwitch()
{
    static HighContrastQuery query = SystemHighContrastIsOn;
    return query;
}

void FollowHighContrast(HWND control)
{
    // A class list no visual style has turns the style off (an empty one is taken as none given).
    if (HighContrastIsOn())
        late::SetWindowTheme(control, L" ", L" ");
    else
        late::SetWindowTheme(control, nullptr, nullptr);
}

namespace {

// Wine's status bar leaves its texts in the colour its device context starts with, black, which
// vanishes on a black face; handed a context in the button-text colour it paints with that
// (Windows' own sets the colour itself).
LRESULT CALLBACK StatusTextProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR) noexcept
{
    if (message == WM_PAINT && !wParam && HighContrastIsOn()) {
        PaintDC paint(window);
        ::SetTextColor(paint.Get(), ::GetSysColor(COLOR_BTNTEXT));
        return ::DefSubclassProc(window, WM_PAINT, reinterpret_cast<WPARAM>(paint.Get()), 0);
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

WindowSubclass StatusTextInSystemColours(HWND statusBar)
{
    return WindowSubclass(statusBar, StatusTextProcedure, 1, 0);
}

bool ChangesColours(UINT message, WPARAM wParam)
{
    return message == WM_SYSCOLORCHANGE || message == WM_THEMECHANGED ||
           (message == WM_SETTINGCHANGE && wParam == SPI_SETHIGHCONTRAST);
}
