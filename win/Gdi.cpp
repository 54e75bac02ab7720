#include "win/Gdi.h"

#include "win/DeviceContext.h"

UniqueFont CreateDesignFont(int characterHeight, const wchar_t* face, BYTE charset, int weight, BYTE family)
{
    return UniqueFont(::CreateFontW(-characterHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | family,
                                    face));
}

UniqueIcon LoadIconOfSize(HINSTANCE instance, const wchar_t* name, int size)
{
    return UniqueIcon(static_cast<HICON>(::LoadImageW(instance, name, IMAGE_ICON, size, size, 0)));
}

UniqueBitmap LoadBitmapResource(HINSTANCE instance, int id)
{
    return UniqueBitmap(static_cast<HBITMAP>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

UniqueBitmap Stretched(HBITMAP source, SIZE size)
{
    WindowDC screen(nullptr);
    UniqueBitmap result(::CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
    UniqueMemoryDC from = CreateMemoryDC(screen.Get());
    UniqueMemoryDC to = CreateMemoryDC(screen.Get());
    SelectedObject selectedFrom(from.Get(), source);
    SelectedObject selectedTo(to.Get(), result.Get());
    ::SetStretchBltMode(to.Get(), HALFTONE);
    ::SetBrushOrgEx(to.Get(), 0, 0, nullptr);
    const SIZE sourceSize = BitmapSize(source);
    ::StretchBlt(to.Get(), 0, 0, size.cx, size.cy, from.Get(), 0, 0, sourceSize.cx, sourceSize.cy, SRCCOPY);
    return result;
}
