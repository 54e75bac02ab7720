#pragma once

#include "registry/RegistryApi.h"

#include <functional>

// Every call through the registry function table in one place, for tests and the benchmark to
// count, record or refuse: each entry of the table hands its call to `Hook`, which makes the
// system's own call (`system()`) or not, and says what the caller gets.
enum class RegistryCall { OpenKeyEx, QueryValueEx, SetValueEx, QueryInfoKey, EnumKeyEx, DeleteOpenedKey, CloseKey };

struct RegistryCallFacts {
    RegistryCall call;
    HKEY key;          // the key the call is made on: the base key of an open
    const char* name;  // the path opened, the value queried or set; null for the other calls
    bool sizeOnly;     // a value query that asks for the size of the data only
};

struct RegistryCallHook {
    using Hook = std::function<LSTATUS(const RegistryCallFacts& facts, const std::function<LSTATUS()>& system)>;
    static inline Hook hook;

    // Makes `hook` see every call from now on; the caller puts the table back when done.
    static void Install(Hook seen)
    {
        hook = std::move(seen);
        ActiveRegistryApi() = Table();
    }

    static RegistryApi Table()
    {
        RegistryApi api;
        api.OpenKeyEx = [](HKEY base, LPCSTR path, DWORD options, REGSAM access, PHKEY result) -> LSTATUS {
            return hook({RegistryCall::OpenKeyEx, base, path, false},
                        [&] { return SystemRegistryApi().OpenKeyEx(base, path, options, access, result); });
        };
        api.QueryValueEx = [](HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                              LPDWORD size) -> LSTATUS {
            return hook({RegistryCall::QueryValueEx, key, name, data == nullptr},
                        [&] { return SystemRegistryApi().QueryValueEx(key, name, reserved, type, data, size); });
        };
        api.SetValueEx = [](HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                            DWORD size) -> LSTATUS {
            return hook({RegistryCall::SetValueEx, key, name, false},
                        [&] { return SystemRegistryApi().SetValueEx(key, name, reserved, type, data, size); });
        };
        api.QueryInfoKey = [](HKEY key, LPSTR className, LPDWORD classSize, LPDWORD reserved, LPDWORD subkeys,
                              LPDWORD longestSubkey, LPDWORD longestClass, LPDWORD values, LPDWORD longestValueName,
                              LPDWORD longestValue, LPDWORD security, PFILETIME written) -> LSTATUS {
            return hook({RegistryCall::QueryInfoKey, key, nullptr, false}, [&] {
                return SystemRegistryApi().QueryInfoKey(key, className, classSize, reserved, subkeys, longestSubkey,
                                                        longestClass, values, longestValueName, longestValue,
                                                        security, written);
            });
        };
        api.EnumKeyEx = [](HKEY key, DWORD index, LPSTR name, LPDWORD size, LPDWORD reserved, LPSTR className,
                           LPDWORD classSize, PFILETIME written) -> LSTATUS {
            return hook({RegistryCall::EnumKeyEx, key, nullptr, false}, [&] {
                return SystemRegistryApi().EnumKeyEx(key, index, name, size, reserved, className, classSize,
                                                     written);
            });
        };
        api.DeleteOpenedKey = [](HKEY key) -> LSTATUS {
            return hook({RegistryCall::DeleteOpenedKey, key, nullptr, false},
                        [&] { return SystemRegistryApi().DeleteOpenedKey(key); });
        };
        api.CloseKey = [](HKEY key) -> LSTATUS {
            return hook({RegistryCall::CloseKey, key, nullptr, false},
                        [&] { return SystemRegistryApi().CloseKey(key); });
        };
        return api;
    }
};
