#include "registry/RegistryApi.h"

#include "common/SystemLibrary.h"

namespace {

using NtDeleteKeyFunction = LONG(NTAPI*)(HANDLE key);
using RtlNtStatusToDosErrorFunction = ULONG(NTAPI*)(LONG status);

// advapi32's RegDeleteKeyA(key, "") opens the empty path once more, without
// REG_OPTION_OPEN_LINK, so on a link the kernel may act on the target. The kernel's own call
// deletes the key this very handle is open on.
LSTATUS WINAPI DeleteOpenedKey(HKEY key)
{
    static const auto ntDeleteKey = LoadedFunction<NtDeleteKeyFunction>(L"ntdll.dll", "NtDeleteKey");
    static const auto toDosError = LoadedFunction<RtlNtStatusToDosErrorFunction>(L"ntdll.dll", "RtlNtStatusToDosError");
    if (!ntDeleteKey || !toDosError)
        return ERROR_CALL_NOT_IMPLEMENTED;
    const LONG status = ntDeleteKey(key);
    return status >= 0 ? ERROR_SUCCESS : static_cast<LSTATUS>(toDosError(status));
}

} // namespace

const RegistryApi& SystemRegistryApi()
{
    static const RegistryApi api{
        &::RegOpenKeyExA, &::RegQueryValueExA, &::RegSetValueExA, &::RegQueryInfoKeyA,
        &::RegEnumKeyExA, &DeleteOpenedKey,    &::RegCloseKey,
    };
    return api;
}

RegistryApi& ActiveRegistryApi()
{
    static RegistryApi active = SystemRegistryApi();
    return active;
}
