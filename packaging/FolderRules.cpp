#include "packaging/FolderRules.h"

#include "packaging/Handles.h"

#include <windows.h>

#include <sddl.h>

#include <algorithm>
#include <cstring>

namespace install_folder {
namespace {

// Every right that changes the folder, what it holds, or who may do so; generic rights are
// mapped to these first.
constexpr ACCESS_MASK kChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                      DELETE | FILE_DELETE_CHILD | WRITE_DAC | WRITE_OWNER;

constexpr wchar_t kTrustedInstaller[] = L"S-1-5-80-956008885-3418522649-1831038044-1850593111-4100596474";
constexpr wchar_t kEveryone[] = L"S-1-1-0";
constexpr wchar_t kCreatorOwner[] = L"S-1-3-0";
constexpr wchar_t kOwnerRights[] = L"S-1-3-4";
// The relative ids of a domain's Domain Admins and Enterprise Admins (S-1-5-21-domain-RID).
constexpr DWORD kDomainAdminGroups[] = {512, 519};

std::wstring SidText(PSID sid)
{
    LPWSTR text = nullptr;
    if (!::ConvertSidToStringSidW(sid, &text))
        return L"?";
    const LocalMemory owned(text);
    return text;
}

bool IsDomainAdminGroup(PSID sid)
{
    const SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    const SID_IDENTIFIER_AUTHORITY* authority = ::GetSidIdentifierAuthority(sid);
    const UCHAR count = *::GetSidSubAuthorityCount(sid);
    if (std::memcmp(authority->Value, nt.Value, sizeof nt.Value) != 0 || count != 5 ||
        *::GetSidSubAuthority(sid, 0) != SECURITY_NT_NON_UNIQUE)
        return false;
    const DWORD rid = *::GetSidSubAuthority(sid, count - 1);
    return std::find(std::begin(kDomainAdminGroups), std::end(kDomainAdminGroups), rid) != std::end(kDomainAdminGroups);
}

bool IsTrusted(PSID sid, const std::vector<LocalMemory>& trusted)
{
    for (const LocalMemory& account : trusted)
        if (::EqualSid(sid, account.get()))
            return true;
    return IsDomainAdminGroup(sid);
}

bool Is(PSID sid, const wchar_t* text)
{
    return SidText(sid) == text;
}

// Who other than the trusted accounts may change a folder with this descriptor: an empty text
// for no one, nothing for a descriptor that cannot be understood. For the folder that holds the
// program, what its entries hand down to the files inside counts too.
std::optional<std::wstring> WhoElseCanChange(const std::wstring& sddl, const std::vector<LocalMemory>& trusted,
                                             bool volumeRoot, bool holdsTheProgram)
{
    PSECURITY_DESCRIPTOR parsed = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &parsed, nullptr))
        return std::nullopt;
    const LocalMemory descriptor(parsed);

    // The owner may always rewrite the permissions.
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    if (!::GetSecurityDescriptorOwner(parsed, &owner, &defaulted) || !owner)
        return std::nullopt;
    if (!IsTrusted(owner, trusted))
        return SidText(owner);

    // No DACL at all lets everyone do everything. Wine reads NO_ACCESS_CONTROL as an empty DACL,
    // which would let no one do anything; the text says what is meant.
    BOOL present = FALSE;
    PACL dacl = nullptr;
    if (!::GetSecurityDescriptorDacl(parsed, &present, &dacl, &defaulted))
        return std::nullopt;
    if (!present || !dacl || sddl.find(L"NO_ACCESS_CONTROL") != std::wstring::npos)
        return kEveryone;

    GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    for (DWORD index = 0; index < dacl->AceCount; ++index) {
        void* entry = nullptr;
        if (!::GetAce(dacl, index, &entry))
            return std::nullopt;
        const auto* ace = static_cast<const ACE_HEADER*>(entry);
        // An inherit-only entry is only handed down to what is made inside later: to the
        // program's files, where the folder holds them.
        if ((ace->AceFlags & INHERIT_ONLY_ACE) &&
            !(holdsTheProgram && (ace->AceFlags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE))))
            continue;
        switch (ace->AceType) {
        case ACCESS_DENIED_ACE_TYPE:
        case ACCESS_DENIED_OBJECT_ACE_TYPE:
        case ACCESS_DENIED_CALLBACK_ACE_TYPE:
        case ACCESS_DENIED_CALLBACK_OBJECT_ACE_TYPE:
            continue;  // grants nothing
        case ACCESS_ALLOWED_ACE_TYPE:
        case ACCESS_ALLOWED_CALLBACK_ACE_TYPE:
            break;
        default:
            return std::nullopt;  // a grant of a kind folders do not carry
        }
        const auto* allowed = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(ace);
        PSID sid = const_cast<DWORD*>(&allowed->SidStart);
        if (IsTrusted(sid, trusted) || Is(sid, kCreatorOwner) || Is(sid, kOwnerRights))
            continue;
        ACCESS_MASK rights = allowed->Mask;
        ::MapGenericMask(&rights, &mapping);
        if (volumeRoot)
            rights &= ~FILE_ADD_SUBDIRECTORY;
        if (rights & kChangeRights)
            return SidText(sid);
    }
    return std::wstring();
}

} // namespace

std::vector<std::wstring> TrustedAccounts(const std::wstring& installingUser, Platform platform)
{
    std::vector<std::wstring> accounts{L"S-1-5-32-544", L"S-1-5-18", kTrustedInstaller};
    if (platform == Platform::Wine && !installingUser.empty())
        accounts.push_back(installingUser);
    return accounts;
}

Judgement JudgePath(const std::vector<FolderFacts>& folders, const std::vector<std::wstring>& trusted, LastFolder last)
{
    std::vector<LocalMemory> accounts;
    for (const std::wstring& text : trusted) {
        PSID sid = nullptr;
        if (::ConvertStringSidToSidW(text.c_str(), &sid))
            accounts.emplace_back(sid);
    }
    for (std::size_t index = 0; index < folders.size(); ++index) {
        const FolderFacts& folder = folders[index];
        if (folder.reparsePoint)
            return {Verdict::Link, index, {}};
        if (!folder.directory)
            return {Verdict::NotAFolder, index, {}};
        if (!folder.readable)
            return {Verdict::Unreadable, index, {}};
        const bool holdsTheProgram = last == LastFolder::HoldsTheProgram && index + 1 == folders.size();
        const std::optional<std::wstring> who = WhoElseCanChange(folder.descriptor, accounts, index == 0, holdsTheProgram);
        if (!who)
            return {Verdict::Unreadable, index, {}};
        if (!who->empty())
            return {Verdict::Changeable, index, *who};
    }
    return {};
}

std::optional<std::vector<std::wstring>> FoldersOf(const std::wstring& given)
{
    std::wstring path = given;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    if (path.size() < 3 || (path[0] | 0x20) < L'a' || (path[0] | 0x20) > L'z' || path[1] != L':' || path[2] != L'\\' ||
        path.find(L':', 2) != std::wstring::npos)
        return std::nullopt;
    std::vector<std::wstring> folders{path.substr(0, 3)};
    for (std::size_t start = 3; start < path.size();) {
        std::size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        const std::wstring name = path.substr(start, end - start);
        if (name == L"." || name == L"..")
            return std::nullopt;  // a relative part: the caller gives a full path
        if (!name.empty())  // not a doubled or closing backslash
            folders.push_back(folders.back() + (folders.size() > 1 ? L"\\" : L"") + name);
        start = end + 1;
    }
    return folders;
}

} // namespace install_folder
