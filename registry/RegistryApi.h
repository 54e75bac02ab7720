#pragma once

#include <windows.h>

// The seven advapi32 calls that TRegistry is built on. Every TRegistry calls through the
// active table, so a test can replace one entry and make one chosen call fail.
struct RegistryApi {
    decltype(&::RegOpenKeyExA) OpenKeyEx;
    decltype(&::RegQueryValueExA) QueryValueEx;
    decltype(&::RegSetValueExA) SetValueEx;
    decltype(&::RegQueryInfoKeyA) QueryInfoKey;
    decltype(&::RegEnumKeyExA) EnumKeyEx;
    decltype(&::RegDeleteKeyA) DeleteKey;
    decltype(&::RegCloseKey) CloseKey;
};

// advapi32's own functions.
const RegistryApi& SystemRegistryApi();

// The table in use; starts as SystemRegistryApi().
RegistryApi& ActiveRegistryApi();
