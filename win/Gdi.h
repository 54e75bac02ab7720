#pragma once

#include "common/UniqueHandle.h"

#include <windows.h>

// The pictures and fonts the windows make for themselves, at the size a display asks for.

// A font of `characterHeight` pixels (the height of its characters, not of its cells). The
// character set lets the font mapper stand in a face that has the texts' letters where `face`
// is missing; `family` tells it what kind of face to stand in.
UniqueFont CreateDesignFont(int characterHeight, const wchar_t* face, BYTE charset, int weight = FW_NORMAL,
                            BYTE family = FF_DONTCARE);

// An icon resource drawn at (or nearest to) `size` pixels, which the system picks.
UniqueIcon LoadIconOfSize(HINSTANCE instance, const wchar_t* name, int size);

UniqueBitmap LoadBitmapResource(HINSTANCE instance, int id);
SIZE BitmapSize(HBITMAP bitmap);

// `source` stretched to `size`, averaged (HALFTONE) so that a larger picture scaled down stays
// sharp.
UniqueBitmap Stretched(HBITMAP source, SIZE size);
