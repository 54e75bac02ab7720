#include "packaging/FolderRules.h"

#include <windows.h>

#include <sddl.h>

#include <memory>
#include <optional>

namespace install_folder {
namespace {

struct LocalDeleter {
    void operator()(void* memory) const noexcept { ::LocalFree(memory); }
};
using LocalMemory = std::unique_ptr<void, LocalDeleter>;

// Every right that changes the folder, what it holds, or who may do so; generic rights are
// mapped to these first.
constexpr ACCESS_MASK kChangeRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                                      DELETE | FILE_DELETE_CHILD | WRITE_DAC | WRITE_OWNER;

constexpr wchar_t kTrustedInstaller[] = L"S-1-5-80-956008885-3418522649-1831038044-1850593111-4100596474";
constexpr wchar_t kEveryone[] = L"S-1-1-0";

std::wstring SidText(PSID sid)
{
    LPWSTR text = nullptr;
    if (!::ConvertSidToStringSidW(sid, &text))
        return L"?";
    const LocalMemory owned(text);
    return text;
}

bool IsTrusted(PSID sid, const std::vector<LocalMemory>& trusted)
{
    for (const LocalMemory& account : trusted)
        if (::EqualSid(sid, account.get()))
            return true;
    return false;
}

// Who other than the trusted accounts may change a folder with this descriptor: an empty text
// for no one, nothing for a descriptor that cannot be understood.
std::optional<std::wstring> WhoElseCanChange(const std::wstring& sddl, const std::vector<LocalMemory>& trusted,
                                             bool volumeRoot)
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
        // An inherit-only entry is only handed down to what is made inside later.
        if (ace->AceFlags & INHERIT_ONLY_ACE)
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
        if (IsTrusted(sid, trusted))
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

std::vector<std::wstring> TrustedAccounts(const std::wstring& installingUser)
{
    std::vector<std::wstring> accounts{L"S-1-5-32-544", L"S-1-5-18", kTrustedInstaller};
    if (!installingUser.empty())
        accounts.push_back(installingUser);
    return accounts;
}

Judgement JudgePath(const std::vector<FolderFacts>& folders, const std::vector<std::wstring>& trusted)
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
        const std::optional<std::wstring> who = WhoElseCanChange(folder.descriptor, accounts, index == 0);
        if (!who)
            return {Verdict::Unreadable, index, {}};
        if (!who->empty())
            return {Verdict::Changeable, index, *who};
    }
    return {};
}

} // namespace install_folder
