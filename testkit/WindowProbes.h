#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Looks at windows from the outside, through the same messages and calls any other program
// could use. Texts come back as GBK bytes, converted with code page 936 whatever the ANSI code
// page of the run.
namespace probe {

struct Rect {
    int left, top, width, height;
    bool operator==(const Rect&) const = default;
};
std::string ToString(const Rect& rect);

std::string Gbk(const std::wstring& wide);
std::wstring Wide(const std::string& gbk);

std::string WindowText(HWND window);
std::string ClassName(HWND window);

// `child`'s window rectangle in the client coordinates of `parent`.
Rect RectIn(HWND parent, HWND child);
Rect ClientSize(HWND window);
Rect ScreenRect(HWND window);

// Status bar panel text (SB_GETTEXTW), as stored, tabs included.
std::string StatusText(HWND statusBar, int panel);

// Every top-level window of this thread.
std::vector<HWND> ThreadWindows();
// The visible dialog-class window ("#32770") of this thread owned by `owner`, if any.
HWND FindOwnedDialog(HWND owner);

// The colour a window shows at a client point, read from its device context.
COLORREF PixelAt(HWND window, int x, int y);

// The font a control draws with (WM_GETFONT), as a LOGFONTW.
LOGFONTW FontOf(HWND control);

// The Windows form of a file path handed over by the build ("/x/y" becomes "Z:\x\y").
std::wstring WindowsPath(const std::string& path);

} // namespace probe
