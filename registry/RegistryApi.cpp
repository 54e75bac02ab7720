#include "registry/RegistryApi.h"

const RegistryApi& SystemRegistryApi()
{
    static const RegistryApi api{
        &::RegOpenKeyExA, &::RegQueryValueExA, &::RegSetValueExA, &::RegQueryInfoKeyA,
        &::RegEnumKeyExA, &::RegDeleteKeyA,    &::RegCloseKey,
    };
    return api;
}

RegistryApi& ActiveRegistryApi()
{
    static RegistryApi active = SystemRegistryApi();
    return active;
}
