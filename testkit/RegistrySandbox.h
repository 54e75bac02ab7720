#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>

// Redirects HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS and HKEY_CURRENT_CONFIG of this
// process into a scratch key, so tests and the benchmark build their fixtures on the real
// registry without touching a real key. The scratch key is removed again on destruction. What
// cannot be set up or built is thrown as std::runtime_error, for each user to report its own way.
class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox&) = delete;
    RegistrySandbox& operator=(const RegistrySandbox&) = delete;

    struct Value {
        DWORD type;
        std::string data;
        bool operator==(const Value&) const = default;
    };

    // Fixture helpers, working through the (redirected) predefined roots. Paths have no leading
    // backslash. Key names are GBK whatever the code page; values go through the ANSI calls,
    // so they are stored and read back exactly as the program sees them.

    static void CreateKey(HKEY root, const std::string& path);
    static void SetValue(HKEY root, const std::string& path, const std::string& name, DWORD type,
                         const std::string& data);
    static void SetText(HKEY root, const std::string& path, const std::string& name, const std::string& text);
    static std::optional<Value> GetValue(HKEY root, const std::string& path, const std::string& name);
    static bool KeyExists(HKEY root, const std::string& path);
    static DWORD SubkeyCount(HKEY root, const std::string& path);

    // Names compare as the registry compares them: without regard to letter case.
    struct NoCase {
        bool operator()(const std::wstring& left, const std::wstring& right) const;
    };
    using KeyValues = std::map<std::wstring, Value, NoCase>;
    using Snapshot = std::map<std::wstring, KeyValues, NoCase>;
    // Every key under the four redirected roots ("HKCU\Software\…", the roots themselves
    // included) with its values, read through the wide calls so that any name survives any code
    // page; string data stays as stored (UTF-16). Links are taken as links, not followed.
    static Snapshot Export();

    // The kernel's full name of a key ("\REGISTRY\USER\…"), the form a symbolic link points at.
    static std::wstring KernelPathOf(HKEY root, const std::string& path);
    // Creates `path` as a symbolic link to the key `targetKernelPath`.
    static void CreateLink(HKEY root, const std::string& path, const std::wstring& targetKernelPath);

private:
    std::string scratchPath_;
};
