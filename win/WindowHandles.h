#pragma once

#include "common/UniqueHandle.h"

#include <windows.h>
#include <commctrl.h>

// Owners of the handles only windows hold: a tool bar's image list, from the common controls,
// and a window's table of shortcut keys.
struct ImageListDeleter {
    void operator()(HIMAGELIST list) const noexcept { ::ImageList_Destroy(list); }
};
struct AcceleratorsDeleter {
    void operator()(HACCEL table) const noexcept { ::DestroyAcceleratorTable(table); }
};

using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListDeleter>;
using UniqueAccelerators = UniqueHandle<HACCEL, AcceleratorsDeleter>;
