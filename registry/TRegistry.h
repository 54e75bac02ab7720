#pragma once

#include "common/UniqueHandle.h"

#include <windows.h>

#include <cstdint>
#include <string>

// A key handle opened through the active RegistryApi and closed through it again.
struct RegistryKeyCloser {
    void operator()(HKEY key) const noexcept;
};
using RegistryKey = UniqueHandle<HKEY, RegistryKeyCloser>;

// What became of a key handed to DeleteTree.
enum class TreeDeletion {
    Deleted,
    NotFound,  // there was no such key
    Refused,   // the key is still there, whole or in part
};

// The registry access object: one per command. Names and string data are GBK (ANSI) bytes,
// passed through to the …A registry functions unchanged. Every key is opened with
// KEY_ALL_ACCESS and no key is ever created.
//
// A path that starts with one backslash is absolute (resolved from the root key); any other
// path, the empty one included, is resolved from the current key, or from the root key while
// no key is current.
class TRegistry {
public:
    TRegistry() = default;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;
    virtual ~TRegistry();

    // Selecting the root already selected keeps the current key open and current.
    void SelectRoot(HKEY root);

    // Opens an existing key and makes it current. On failure nothing changes and the result
    // is false; nothing is raised.
    bool OpenPath(const std::string& path);

    // A missing value, no current key or zero-length data read as "". Raises
    // "Invalid data type for '…'" for data that is not REG_SZ or REG_EXPAND_SZ and
    // "Failed to get data for '…'" when the data cannot be fetched.
    std::string ReadText(const std::string& name);

    // Stores REG_SZ data: the text's bytes and one terminating zero byte.
    void WriteText(const std::string& name, const std::string& text);
    void WriteDword(const std::string& name, std::int32_t value);

    // Deletes the key and everything below it, deepest keys first. A symbolic link at or
    // below the key is deleted as the link itself; its target is never touched. Never raises;
    // false when the key itself was not deleted. A path that names no subkey (empty, or only
    // backslashes) deletes nothing.
    bool DeleteTree(const std::string& path);
    // DeleteTree, telling a key that was never there from one that could not be deleted.
    TreeDeletion DeleteTreeOutcome(const std::string& path);

    void CloseCurrent();

    HKEY CurrentKey() const noexcept { return current_.Get(); }
    HKEY RootKey() const noexcept { return root_; }

private:
    HKEY BaseKeyOf(const std::string& path, const char*& subPath) const;
    void SetValue(const std::string& name, DWORD type, const BYTE* data, DWORD size);

    HKEY root_ = HKEY_CURRENT_USER;
    RegistryKey current_;
};
