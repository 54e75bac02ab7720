#include "app/DesignScale.h"

#include "common/UniqueHandle.h"

DesignScale DesignScale::ForScreen()
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    DesignScale scale = For(dpi, [screen](int characterHeight) {
        UniqueFont font(::CreateFontW(-characterHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                      DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
        SelectedObject selected(screen, font.Get());
        TEXTMETRICW metrics{};
        ::GetTextMetricsW(screen, &metrics);
        return static_cast<int>(metrics.tmHeight);
    });
    ::ReleaseDC(nullptr, screen);
    return scale;
}
