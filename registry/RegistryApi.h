#pragma once

#include <windows.h>

// The registry calls that TRegistry is built on: six of advapi32 and the kernel's deletion of
// an opened key. Every TRegistry calls through the active table, so a test can replace one
// entry and make one chosen call fail.
struct RegistryApi {
    decltype(&::RegOpenKeyExA) OpenKeyEx;
    decltype(&::RegQueryValueExA) QueryValueEx;
    decltype(&::RegSetValueExA) SetValueEx;
    decltype(&::RegQueryInfoKeyA) QueryInfoKey;
    decltype(&::RegEnumKeyExA) EnumKeyEx;
    // Deletes the very key `key` is open on (ntdll's NtDeleteKey), a symbolic link as the link;
    // the key needs DELETE access and no subkeys.
    LSTATUS(WINAPI* DeleteOpenedKey)(HKEY key);
    decltype(&::RegCloseKey) CloseKey;
};

// advapi32's own functions.
const RegistryApi& SystemRegistryApi();

// The table in use; starts as SystemRegistryApi().
RegistryApi& ActiveRegistryApi();
