#include "testkit/RegistrySandbox.h"

#include "common/Text.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace {

const HKEY kRedirectedRoots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG};
constexpr const char* kRootNames[] = {"HKCU", "HKLM", "HKU", "HKCC"};

void Check(LSTATUS status, const char* what)
{
    if (status != ERROR_SUCCESS)
        throw std::runtime_error(std::string(what) + " failed with " + std::to_string(status));
}

struct KeyCloser {
    HKEY key = nullptr;
    ~KeyCloser()
    {
        if (key)
            ::RegCloseKey(key);
    }
};

// NtQueryKey is exported by ntdll on Windows and Wine alike; the SDK headers lack it.
struct KeyNameInformation {
    ULONG NameLength;
    WCHAR Name[1];
};
using NtQueryKeyFunction = LONG(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
constexpr int kKeyNameInformationClass = 3;

void ExportKey(HKEY key, const std::wstring& path, RegistrySandbox::Snapshot& snapshot)
{
    DWORD subkeyCount = 0, longestSubkey = 0, valueCount = 0, longestValueName = 0, longestData = 0;
    Check(::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeyCount, &longestSubkey, nullptr, &valueCount,
                             &longestValueName, &longestData, nullptr, nullptr),
          "RegQueryInfoKeyW");
    RegistrySandbox::KeyValues& values = snapshot[path];
    std::wstring name(std::max(longestSubkey, longestValueName) + 1, L'\0');
    std::string data(longestData + 1, '\0');
    for (DWORD index = 0; index < valueCount; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        Check(::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type,
                              reinterpret_cast<BYTE*>(data.data()), &size),
              "RegEnumValueW");
        values[name.substr(0, nameLength)] = {type, data.substr(0, size)};
    }
    std::vector<std::wstring> subkeys;
    for (DWORD index = 0; index < subkeyCount; ++index) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        Check(::RegEnumKeyExW(key, index, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr),
              "RegEnumKeyExW");
        subkeys.push_back(name.substr(0, nameLength));
    }
    for (const std::wstring& subkey : subkeys) {
        KeyCloser child;
        Check(::RegOpenKeyExW(key, subkey.c_str(), REG_OPTION_OPEN_LINK, KEY_READ, &child.key), "RegOpenKeyExW");
        ExportKey(child.key, path + L"\\" + subkey, snapshot);
    }
}

} // namespace

RegistrySandbox::RegistrySandbox()
    // A key of its own for each sandbox: test processes running side by side never share a
    // parent that one of them could delete while another creates its key under it.
    : scratchPath_("Software\\KelvaneTestSandbox-" + std::to_string(::GetCurrentProcessId()) + "-" +
                   std::to_string(::GetTickCount64()))
{
    // Every scratch key is made under the real HKEY_CURRENT_USER before any root is redirected:
    // made after, the later ones would land inside the first one's scratch key.
    KeyCloser scratch[std::size(kRedirectedRoots)];
    for (size_t i = 0; i < std::size(kRedirectedRoots); ++i)
        Check(::RegCreateKeyExA(HKEY_CURRENT_USER, (scratchPath_ + "\\" + kRootNames[i]).c_str(), 0, nullptr, 0,
                                KEY_ALL_ACCESS, nullptr, &scratch[i].key, nullptr),
              "creating the scratch key");
    for (size_t i = 0; i < std::size(kRedirectedRoots); ++i)
        Check(::RegOverridePredefKey(kRedirectedRoots[i], scratch[i].key), "RegOverridePredefKey");
}

RegistrySandbox::~RegistrySandbox()
{
    for (HKEY root : kRedirectedRoots)
        ::RegOverridePredefKey(root, nullptr);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, scratchPath_.c_str());
}

void RegistrySandbox::CreateKey(HKEY root, const std::string& path)
{
    KeyCloser key;
    Check(::RegCreateKeyExW(root, WideFromGbk(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key.key,
                            nullptr),
          "RegCreateKeyExW");
}

void RegistrySandbox::SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                               const std::string& data)
{
    KeyCloser key;
    Check(::RegCreateKeyExW(root, WideFromGbk(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key.key,
                            nullptr),
          "RegCreateKeyExW");
    // Through the ANSI call, as the program sees values: string data is taken as ANSI bytes.
    Check(::RegSetValueExA(key.key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(data.size())),
          "RegSetValueExA");
}

void RegistrySandbox::SetText(HKEY root, const std::string& path, const std::string& name, const std::string& text)
{
    SetValue(root, path, name, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

std::optional<RegistrySandbox::Value> RegistrySandbox::GetValue(HKEY root, const std::string& path,
                                                                const std::string& name)
{
    KeyCloser key;
    if (::RegOpenKeyExW(root, WideFromGbk(path).c_str(), 0, KEY_READ, &key.key) != ERROR_SUCCESS)
        return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string data(size, '\0');
    Check(::RegQueryValueExA(key.key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size),
          "RegQueryValueExA");
    data.resize(size);
    return Value{type, data};
}

bool RegistrySandbox::KeyExists(HKEY root, const std::string& path)
{
    KeyCloser key;
    return ::RegOpenKeyExW(root, WideFromGbk(path).c_str(), REG_OPTION_OPEN_LINK, KEY_READ, &key.key) ==
           ERROR_SUCCESS;
}

DWORD RegistrySandbox::SubkeyCount(HKEY root, const std::string& path)
{
    KeyCloser key;
    Check(::RegOpenKeyExW(root, WideFromGbk(path).c_str(), 0, KEY_READ, &key.key), "RegOpenKeyExW");
    DWORD count = 0;
    Check(::RegQueryInfoKeyW(key.key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                             nullptr, nullptr, nullptr),
          "RegQueryInfoKeyW");
    return count;
}

bool RegistrySandbox::NoCase::operator()(const std::wstring& left, const std::wstring& right) const
{
    return ::CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right.data(),
                                  static_cast<int>(right.size()), TRUE) == CSTR_LESS_THAN;
}

RegistrySandbox::Snapshot RegistrySandbox::Export()
{
    Snapshot snapshot;
    for (size_t i = 0; i < std::size(kRedirectedRoots); ++i)
        ExportKey(kRedirectedRoots[i], WideFromGbk(kRootNames[i]), snapshot);
    return snapshot;
}

std::wstring RegistrySandbox::KernelPathOf(HKEY root, const std::string& path)
{
    KeyCloser key;
    Check(::RegOpenKeyExW(root, WideFromGbk(path).c_str(), 0, KEY_READ, &key.key), "RegOpenKeyExW");
    auto ntQueryKey = reinterpret_cast<NtQueryKeyFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryKey")));
    if (!ntQueryKey)
        throw std::runtime_error("ntdll has no NtQueryKey");
    std::vector<BYTE> buffer(4096);
    ULONG needed = 0;
    if (ntQueryKey(key.key, kKeyNameInformationClass, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) < 0)
        throw std::runtime_error("NtQueryKey failed");
    const auto* info = reinterpret_cast<const KeyNameInformation*>(buffer.data());
    return std::wstring(info->Name, info->NameLength / sizeof(WCHAR));
}

void RegistrySandbox::CreateLink(HKEY root, const std::string& path, const std::wstring& targetKernelPath)
{
    KeyCloser link;
    Check(::RegCreateKeyExW(root, WideFromGbk(path).c_str(), 0, nullptr, REG_OPTION_CREATE_LINK,
                            KEY_ALL_ACCESS | KEY_CREATE_LINK, nullptr, &link.key, nullptr),
          "RegCreateKeyExW(REG_OPTION_CREATE_LINK)");
    // The link's target is stored without a terminating zero.
    Check(::RegSetValueExW(link.key, L"SymbolicLinkValue", 0, REG_LINK,
                           reinterpret_cast<const BYTE*>(targetKernelPath.data()),
                           static_cast<DWORD>(targetKernelPath.size() * sizeof(WCHAR))),
          "RegSetValueExW(SymbolicLinkValue)");
}
