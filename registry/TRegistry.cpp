#include "registry/TRegistry.h"

#include "registry/ERegistryException.h"
#include "registry/RegistryApi.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

// RegQueryInfoKeyA reports the longest subkey name in characters, while RegEnumKeyExA needs
// room for its bytes: up to the ANSI code page's largest character each (two in GBK, three for
// a Chinese character in UTF-8).
DWORD BytesPerCharacter()
{
    static const DWORD bytes = [] {
        CPINFO info{};
        return ::GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 1 ? static_cast<DWORD>(info.MaxCharSize) : 1u;
    }();
    return bytes;
}

// A name the registry could not hand over in any buffer this large is not one of its own.
constexpr size_t kLongestNameBytes = 2048;

// The name of subkey `index` into `name`, the buffer grown and the name fetched again for as
// long as the registry says it needs more room.
bool FetchSubkeyName(HKEY key, DWORD index, std::vector<char>& name)
{
    for (;;) {
        DWORD size = static_cast<DWORD>(name.size());
        const LSTATUS status =
            ActiveRegistryApi().EnumKeyEx(key, index, name.data(), &size, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_SUCCESS)
            return true;
        if (status != ERROR_MORE_DATA || name.size() >= kLongestNameBytes)
            return false;
        name.resize(std::min(name.size() * 2, kLongestNameBytes));
    }
}

// No key's own name holds a backslash; an ANSI name that does stands for another character
// (best-fit conversion turns "＼" into one), and opened as a path it would lead elsewhere. The
// scan steps over double-byte characters, whose second byte may be 0x5C.
bool HoldsBackslash(const char* name)
{
    for (const char* c = name; *c; ++c) {
        if (::IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(*c)) && c[1])
            ++c;
        else if (*c == '\\')
            return true;
    }
    return false;
}

// What the call that settled a deletion said: the open that found no key, or the deletion itself.
TreeDeletion OutcomeOf(LSTATUS status)
{
    switch (status) {
    case ERROR_SUCCESS:
        return TreeDeletion::Deleted;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_KEY_DELETED:  // deleted by someone else meanwhile: gone all the same
        return TreeDeletion::NotFound;
    default:
        return TreeDeletion::Refused;
    }
}

// Deletes the key `subPath` of `base` with all its subkeys. Each key is opened as itself
// (REG_OPTION_OPEN_LINK) and deleted through that very handle, so a symbolic link is removed as
// a link: its target is neither enumerated nor deleted.
TreeDeletion DeleteKeyAndSubkeys(HKEY base, const char* subPath)
{
    const RegistryApi& api = ActiveRegistryApi();
    HKEY opened = nullptr;
    if (api.OpenKeyEx(base, subPath, REG_OPTION_OPEN_LINK, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) {
        // A key that does not grant full access may still be deletable when it has no subkeys.
        if (const LSTATUS status = api.OpenKeyEx(base, subPath, REG_OPTION_OPEN_LINK, DELETE, &opened))
            return OutcomeOf(status);
        RegistryKey key(opened);
        return OutcomeOf(api.DeleteOpenedKey(key.Get()));
    }
    RegistryKey key(opened);

    DWORD subkeyCount = 0;
    DWORD longestName = 0;
    if (api.QueryInfoKey(key.Get(), nullptr, nullptr, nullptr, &subkeyCount, &longestName, nullptr,
                         nullptr, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS) {
        std::vector<char> name(std::min<size_t>(size_t{longestName} * BytesPerCharacter() + 1, kLongestNameBytes));
        for (DWORD index = subkeyCount; index-- > 0;) {
            if (FetchSubkeyName(key.Get(), index, name) && !HoldsBackslash(name.data()))
                DeleteKeyAndSubkeys(key.Get(), name.data());
        }
    }
    return OutcomeOf(api.DeleteOpenedKey(key.Get()));
}

} // namespace

void RegistryKeyCloser::operator()(HKEY key) const noexcept
{
    ActiveRegistryApi().CloseKey(key);
}

TRegistry::~TRegistry()
{
    CloseCurrent();
}

void TRegistry::SelectRoot(HKEY root)
{
    if (root == root_)
        return;
    root_ = root;
    CloseCurrent();
}

HKEY TRegistry::BaseKeyOf(const std::string& path, const char*& subPath) const
{
    if (!path.empty() && path[0] == '\\') {
        subPath = path.c_str() + 1;
        return root_;
    }
    subPath = path.c_str();
    return current_ ? current_.Get() : root_;
}

bool TRegistry::OpenPath(const std::string& path)
{
    const char* subPath = nullptr;
    HKEY base = BaseKeyOf(path, subPath);
    HKEY opened = nullptr;
    if (ActiveRegistryApi().OpenKeyEx(base, subPath, 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS)
        return false;
    current_ = RegistryKey(opened);
    return true;
}

void TRegistry::CloseCurrent()
{
    current_.Reset();
}

std::string TRegistry::ReadText(const std::string& name)
{
    if (!current_)
        return {};
    const RegistryApi& api = ActiveRegistryApi();
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (api.QueryValueEx(current_.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        size == 0)
        return {};

    std::vector<char> data(size);
    if (api.QueryValueEx(current_.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                         &size) != ERROR_SUCCESS)
        throw ERegistryException::FailedToGetData(name);
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw ERegistryException::InvalidDataType(name);

    const std::size_t stored = size < data.size() ? size : data.size();
    std::size_t length = 0;
    while (length < stored && data[length] != '\0')
        ++length;
    return std::string(data.data(), length);
}

void TRegistry::SetValue(const std::string& name, DWORD type, const BYTE* data, DWORD size)
{
    if (!current_ ||
        ActiveRegistryApi().SetValueEx(current_.Get(), name.c_str(), 0, type, data, size) != ERROR_SUCCESS)
        throw ERegistryException::FailedToSetData(name);
}

void TRegistry::WriteText(const std::string& name, const std::string& text)
{
    // c_str() supplies the one terminating zero byte counted in the size.
    SetValue(name, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), static_cast<DWORD>(text.size() + 1));
}

void TRegistry::WriteDword(const std::string& name, std::int32_t value)
{
    const DWORD data = static_cast<DWORD>(value);
    SetValue(name, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

bool TRegistry::DeleteTree(const std::string& path)
{
    return DeleteTreeOutcome(path) == TreeDeletion::Deleted;
}

TreeDeletion TRegistry::DeleteTreeOutcome(const std::string& path)
{
    // The current key is never replaced here, so it is still current afterwards on every path.
    const char* subPath = nullptr;
    HKEY base = BaseKeyOf(path, subPath);
    // An empty sub-path opens the base key itself: the root, or the current key, would be emptied.
    if (std::string_view(subPath).find_first_not_of('\\') == std::string_view::npos)
        return TreeDeletion::Refused;
    return DeleteKeyAndSubkeys(base, subPath);
}
