#include "win/DesignScale.h"

#include "common/SystemLibrary.h"
#include "win/DeviceContext.h"
#include "win/Gdi.h"

namespace {

int ScreenDpi()
{
    const WindowDC screen(nullptr);
    return ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

} // namespace

DesignScale DesignScale::ForDpi(int dpi)
{
    const WindowDC screen(nullptr);
    return For(dpi, [&screen](int characterHeight) {
        const UniqueFont font = CreateDesignFont(characterHeight, L"MS Sans Serif", DEFAULT_CHARSET);
        SelectedObject selected(screen.Get(), font.Get());
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(screen.Get(), &metrics);
        return static_cast<int>(metrics.tmHeight);
    });
}

DesignScale DesignScale::ForScreen()
{
    return ForDpi(ScreenDpi());
}

// The per-monitor calls came with Windows 10 (1607); on older systems the screen's dpi holds.
int WindowDpi(HWND window)
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = LoadedFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
    const UINT dpi = getDpiForWindow && window ? getDpiForWindow(window) : 0;
    return dpi ? static_cast<int>(dpi) : ScreenDpi();
}

SIZE FrameSizeForDpi(SIZE clientSize, DWORD style, bool hasMenu, int dpi)
{
    using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = LoadedFunction<AdjustForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT frame{0, 0, clientSize.cx, clientSize.cy};
    if (!adjustForDpi || !adjustForDpi(&frame, style, hasMenu, 0, static_cast<UINT>(dpi)))
        ::AdjustWindowRectEx(&frame, style, hasMenu, 0);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void PlaceWithClientSize(HWND window, POINT place, SIZE clientSize, SIZE frameSize)
{
    RECT frame;
    RECT client;
    ::GetWindowRect(window, &frame);
    ::GetClientRect(window, &client);
    if (frame.left == place.x && frame.top == place.y && client.right == clientSize.cx &&
        client.bottom == clientSize.cy)
        return;  // created where and as large as it belongs
    ::SetWindowPos(window, nullptr, place.x, place.y, frameSize.cx, frameSize.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    ::GetClientRect(window, &client);
    if (client.right != clientSize.cx || client.bottom != clientSize.cy)
        ::SetWindowPos(window, nullptr, 0, 0, frameSize.cx + clientSize.cx - client.right,
                       frameSize.cy + clientSize.cy - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
