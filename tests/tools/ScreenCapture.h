#pragma once

// Saving what a screenshot driver sees: the program's windows on the screen, as BMP files.
#include <windows.h>

#include <cstdio>
#include <initializer_list>
#include <string>

// A driver runs inside Wine's virtual desktop, which passes on neither its exit code nor its
// standard error: it says how it went ("done", or what went wrong) in FOLDER\driver-SUFFIX.txt,
// which scripts/screenshot.sh reads.
inline void TellOutcome(const std::wstring& folder, const std::wstring& suffix, const char* outcome)
{
    if (FILE* file = _wfopen((folder + L"\\driver-" + suffix + L".txt").c_str(), L"w")) {
        std::fprintf(file, "%s\n", outcome);
        std::fclose(file);
    }
}

// The program's visible windows with a margin, from the screen's top-left corner.
inline RECT ProgramArea(std::initializer_list<HWND> windows)
{
    RECT area{0, 0, 0, 0};
    for (HWND window : windows) {
        RECT bounds;
        if (window && ::IsWindowVisible(window) && ::GetWindowRect(window, &bounds)) {
            area.right = bounds.right > area.right ? bounds.right : area.right;
            area.bottom = bounds.bottom > area.bottom ? bounds.bottom : area.bottom;
        }
    }
    area.right = (area.right + 24 + 3) / 4 * 4;
    area.bottom += 24;
    return area;
}

// Writes `area` of the screen as a 24-bit BMP.
inline bool SaveScreen(const std::wstring& path, const RECT& area)
{
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    ::GdiFlush();
    const DWORD stride = ((width * 3 + 3) / 4) * 4;
    const DWORD imageSize = stride * height;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + imageSize;
    info.bmiHeader.biSizeImage = imageSize;
    HANDLE output = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    const bool ok = output != INVALID_HANDLE_VALUE && ::WriteFile(output, &file, sizeof file, &written, nullptr) &&
                    ::WriteFile(output, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
                    ::WriteFile(output, bits, imageSize, &written, nullptr);
    if (output != INVALID_HANDLE_VALUE)
        ::CloseHandle(output);
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return ok;
}
