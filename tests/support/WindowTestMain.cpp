// The window tests' entry point.
#include "support/TestRun.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

// The test display has no window manager, yet Wine hands top-level windows to one and waits two
// seconds for it at every hide. This program's own setting keeps them to Wine. Wine reads it when
// a process starts, so it holds from the next start on (ctest's listing of the tests is the
// first); the program itself runs as it always does. On Windows the key is inert.
void KeepWindowsUnmanagedOnTheTestDisplay()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path);
    name = name.substr(name.find_last_of(L"\\/") + 1);
    const std::wstring key = L"Software\\Wine\\AppDefaults\\" + name + L"\\X11 Driver";
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr) ==
        ERROR_SUCCESS) {
        const wchar_t value[] = L"N";
        ::RegSetValueExW(handle, L"Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
        ::RegCloseKey(handle);
    }
}

} // namespace

int main(int argc, char** argv)
{
    KeepWindowsUnmanagedOnTheTestDisplay();
    testing::InitGoogleTest(&argc, argv);
    return RunSelectedTests();
}
