#pragma once

#include <windows.h>

#include <memory>

// The owners of what the folder helper and its rules hold: memory the system gave with LocalAlloc
// (SIDs, descriptors, their text) and kernel handles (files, tokens, processes).
namespace install_folder {

struct LocalDeleter {
    void operator()(void* memory) const noexcept { ::LocalFree(memory); }
};
using LocalMemory = std::unique_ptr<void, LocalDeleter>;

struct HandleCloser {
    void operator()(HANDLE handle) const noexcept { ::CloseHandle(handle); }
};
using KernelHandle = std::unique_ptr<void, HandleCloser>;

// CreateFile and the snapshot functions say INVALID_HANDLE_VALUE where the others say null.
inline KernelHandle OwnHandle(HANDLE handle) noexcept
{
    return KernelHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

} // namespace install_folder
