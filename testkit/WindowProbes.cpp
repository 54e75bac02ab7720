#include "testkit/WindowProbes.h"

#include <commctrl.h>

namespace probe {

std::string ToString(const Rect& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " " + std::to_string(rect.width) + "x" +
           std::to_string(rect.height);
}

std::string Gbk(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    const int size = ::WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                           nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(936, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring Wide(const std::string& gbk)
{
    if (gbk.empty())
        return {};
    const int size = ::MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), size);
    return wide;
}

std::string WindowText(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(window, text.data(), length + 1)));
    return Gbk(text);
}

std::string ClassName(HWND window)
{
    wchar_t name[256] = {};
    ::GetClassNameW(window, name, 256);
    return Gbk(name);
}

Rect RectIn(HWND parent, HWND child)
{
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

Rect ClientSize(HWND window)
{
    RECT rect;
    ::GetClientRect(window, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

Rect ScreenRect(HWND window)
{
    RECT rect;
    ::GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::string StatusText(HWND statusBar, int panel)
{
    const LRESULT info = ::SendMessageW(statusBar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(panel), 0);
    std::wstring text(static_cast<size_t>(LOWORD(info)) + 1, L'\0');
    ::SendMessageW(statusBar, SB_GETTEXTW, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(info));
    return Gbk(text);
}

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM windows)
{
    reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> ThreadWindows()
{
    std::vector<HWND> windows;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND FindOwnedDialog(HWND owner)
{
    for (HWND window : ThreadWindows())
        if (ClassName(window) == "#32770" && ::GetWindow(window, GW_OWNER) == owner && ::IsWindowVisible(window))
            return window;
    return nullptr;
}

COLORREF PixelAt(HWND window, int x, int y)
{
    HDC dc = ::GetDC(window);
    const COLORREF colour = ::GetPixel(dc, x, y);
    ::ReleaseDC(window, dc);
    return colour;
}

LOGFONTW FontOf(HWND control)
{
    LOGFONTW font{};
    auto handle = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
    if (handle)
        ::GetObjectW(handle, sizeof font, &font);
    return font;
}

std::wstring WindowsPath(const std::string& path)
{
    std::wstring wide(path.begin(), path.end());
    for (wchar_t& character : wide)
        if (character == L'/')
            character = L'\\';
    // A path from a Linux build tree lies on Wine's drive Z:, which maps the root folder.
    if (!wide.empty() && wide[0] == L'\\')
        wide = L"Z:" + wide;
    return wide;
}

} // namespace probe
