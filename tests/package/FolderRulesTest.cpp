#include "packaging/FolderRules.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using install_folder::FolderFacts;
using install_folder::LastFolder;
using install_folder::Platform;
using install_folder::Verdict;

namespace {

constexpr wchar_t kUser[] = L"S-1-5-21-1-2-3-1000";  // the administrator running the installer
const std::wstring kTi = L"S-1-5-80-956008885-3418522649-1831038044-1850593111-4100596474";

// As Windows ships them.
const std::wstring kVolumeRoot =
    L"O:SYD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)(A;OICIIO;SDGXGWGR;;;AU)(A;;LC;;;AU)";
const std::wstring kProgramFiles = L"O:" + kTi + L"D:P(A;;FA;;;" + kTi + L")(A;CIIO;GA;;;" + kTi +
                                   L")(A;;0x1301bf;;;SY)(A;OICIIO;GA;;;SY)(A;;0x1301bf;;;BA)(A;OICIIO;GA;;;BA)"
                                   L"(A;;0x1200a9;;;BU)(A;OICIIO;GXGR;;;BU)(A;OICIIO;GA;;;CO)(A;;0x1200a9;;;AC)"
                                   L"(A;OICIIO;GXGR;;;AC)(A;;0x1200a9;;;S-1-15-2-2)(A;OICIIO;GXGR;;;S-1-15-2-2)";
// What the installer makes.
const std::wstring kOurs = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";
// An administrator's new folder on the volume root: Modify for Authenticated Users, inherited.
const std::wstring kTools = L"O:BAD:AI(A;OICIID;FA;;;BA)(A;OICIID;FA;;;SY)(A;OICIID;0x1200a9;;;BU)"
                            L"(A;OICIID;0x1301bf;;;AU)";
// How Wine shows every folder: owned by the prefix's user.
const std::wstring kWineFolder = L"O:S-1-5-21-1-2-3-1000D:(A;OICI;FA;;;SY)(A;OICI;FA;;;S-1-5-21-1-2-3-1000)"
                                 L"(A;OICI;0x1200a9;;;WD)";
const std::wstring kAdmins = L"O:BAD:P(A;OICI;FA;;;BA)";
// C:\Users and an administrator's profile in it, as Windows makes them: the profile is the
// account's own.
const std::wstring kUsers = L"O:SYD:P(A;OICIIO;GA;;;CO)(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)"
                            L"(A;OICI;0x1200a9;;;WD)";
const std::wstring kProfile = L"O:S-1-5-21-1-2-3-1000D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FA;;;S-1-5-21-1-2-3-1000)";

// A folder of the path: its SDDL, or "link:", "file:" before it, or "unreadable".
FolderFacts Folder(const std::wstring& described)
{
    FolderFacts facts;
    facts.path = L"folder";
    if (described == L"unreadable")
        facts.readable = false;
    else if (described.rfind(L"link:", 0) == 0)
        facts.reparsePoint = true;
    else if (described.rfind(L"file:", 0) == 0)
        facts.directory = false;
    facts.descriptor = described.substr(described.find(L':') == 4 ? 5 : 0);
    return facts;
}

struct Case {
    const char* name;
    std::vector<std::wstring> path;  // the volume root first
    Verdict verdict;
    std::size_t folder;
    std::wstring who;
    Platform platform = Platform::Windows;
    LastFolder last = LastFolder::OnTheWay;
};

} // namespace

TEST(FolderRules, JudgeEachPathByItsFoldersFromTheVolumeRootDown)
{
    const std::vector<Case> cases = {
        {"Program Files as Windows ships it, and our folder in it", {kVolumeRoot, kProgramFiles, kOurs},
         Verdict::Safe, 0, L""},
        {"Program Files itself", {kVolumeRoot, kProgramFiles}, Verdict::Safe, 0, L""},
        {"an administrator's fresh C:\\Tools", {kVolumeRoot, kTools, kOurs}, Verdict::Changeable, 1, L"S-1-5-11"},
        {"explicit Everyone:F", {kVolumeRoot, L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;WD)"}, Verdict::Changeable, 1,
         L"S-1-1-0"},
        {"a reparse point on the way", {kVolumeRoot, L"link:" + kProgramFiles, kOurs}, Verdict::Link, 1, L""},
        {"a file", {kVolumeRoot, L"file:" + kAdmins}, Verdict::NotAFolder, 1, L""},
        {"a folder that cannot be read", {kVolumeRoot, L"unreadable", kOurs}, Verdict::Unreadable, 1, L""},
        {"a descriptor that cannot be understood", {kVolumeRoot, L"O:BAD:(garbage)"}, Verdict::Unreadable, 1, L""},
        {"owned by another user", {kVolumeRoot, L"O:S-1-5-21-1-2-3-1001D:P(A;OICI;FA;;;BA)"}, Verdict::Changeable, 1,
         L"S-1-5-21-1-2-3-1001"},
        {"under Wine: owned by the installing user", {kWineFolder, kWineFolder}, Verdict::Safe, 0, L"", Platform::Wine},
        {"Wine's folders where the account also runs unelevated", {kWineFolder, kWineFolder}, Verdict::Changeable, 0,
         kUser},
        {"a null DACL", {kVolumeRoot, L"O:BAD:NO_ACCESS_CONTROL"}, Verdict::Changeable, 1, L"S-1-1-0"},
        {"no DACL", {kVolumeRoot, L"O:BA"}, Verdict::Changeable, 1, L"S-1-1-0"},
        {"the root's add-subfolder right below the root", {kVolumeRoot, kAdmins + L"(A;;LC;;;AU)"},
         Verdict::Changeable, 1, L"S-1-5-11"},
        {"a root that lets users delete others' folders", {L"O:SYD:(A;OICI;FA;;;BA)(A;;0x44;;;AU)"},
         Verdict::Changeable, 0, L"S-1-5-11"},
        {"a root that lets users add files", {L"O:SYD:(A;OICI;FA;;;BA)(A;;0x6;;;BU)"}, Verdict::Changeable, 0,
         L"S-1-5-32-545"},
        {"generic write", {kVolumeRoot, kAdmins + L"(A;;GW;;;BU)"}, Verdict::Changeable, 1, L"S-1-5-32-545"},
        {"permissions", {kVolumeRoot, kAdmins + L"(A;;WD;;;BU)"}, Verdict::Changeable, 1, L"S-1-5-32-545"},
        {"owner", {kVolumeRoot, kAdmins + L"(A;;WO;;;BU)"}, Verdict::Changeable, 1, L"S-1-5-32-545"},
        {"attributes", {kVolumeRoot, kAdmins + L"(A;;0x100;;;BU)"}, Verdict::Changeable, 1, L"S-1-5-32-545"},
        {"delete", {kVolumeRoot, kAdmins + L"(A;;SD;;;IU)"}, Verdict::Changeable, 1, L"S-1-5-4"},
        {"an entry of a kind folders do not carry", {kVolumeRoot, kAdmins + L"(OA;;0x2;bf967a86-0de6-11d0-a285-00aa003049e2;;AU)"},
         Verdict::Unreadable, 1, L""},
        {"deny and read-only entries grant nothing", {kVolumeRoot, kAdmins + L"(D;;FA;;;WD)(A;OICI;FRFX;;;WD)"},
         Verdict::Safe, 0, L""},
        {"inherit-only entries are for what is made inside", {kVolumeRoot, kAdmins + L"(A;OICIIO;GA;;;AU)"},
         Verdict::Safe, 0, L""},
        {"the first failing folder speaks", {kVolumeRoot, kTools, L"file:" + kAdmins}, Verdict::Changeable, 1,
         L"S-1-5-11"},
        {"the installing administrator's profile, where the account also runs unelevated",
         {kVolumeRoot, kUsers, kProfile, kOurs}, Verdict::Changeable, 2, kUser},
        {"the same profile under Wine, where every file is that account's", {kVolumeRoot, kUsers, kProfile, kOurs},
         Verdict::Safe, 0, L"", Platform::Wine},
        {"a folder the installing account owns alone", {kVolumeRoot, L"O:" + std::wstring(kUser) + L"D:P(A;OICI;FA;;;BA)"},
         Verdict::Changeable, 1, kUser},
        {"CREATOR OWNER and OWNER RIGHTS on the folder itself", {kVolumeRoot, kAdmins + L"(A;OICI;FA;;;CO)(A;;FA;;;OW)"},
         Verdict::Safe, 0, L""},
        {"a domain's admin groups", {kVolumeRoot, L"O:S-1-5-21-7-8-9-519D:P(A;OICI;FA;;;S-1-5-21-7-8-9-512)"},
         Verdict::Safe, 0, L""},
        {"but not its users", {kVolumeRoot, kAdmins + L"(A;OICI;FA;;;S-1-5-21-7-8-9-513)"}, Verdict::Changeable, 1,
         L"S-1-5-21-7-8-9-513"},
        {"what the installation folder hands down to its files", {kVolumeRoot, kProgramFiles, kOurs + L"(A;OICIIO;0x116;;;BU)"},
         Verdict::Changeable, 2, L"S-1-5-32-545", Platform::Windows, LastFolder::HoldsTheProgram},
        {"what a folder on the way hands down", {kVolumeRoot, kProgramFiles + L"(A;OICIIO;0x116;;;BU)", kOurs},
         Verdict::Safe, 0, L"", Platform::Windows, LastFolder::HoldsTheProgram},
        {"CREATOR OWNER handed down to the files: the installer, as administrator",
         {kVolumeRoot, kProgramFiles, kOurs + L"(A;OICIIO;GA;;;CO)"}, Verdict::Safe, 0, L"", Platform::Windows,
         LastFolder::HoldsTheProgram},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        std::vector<FolderFacts> folders;
        for (const std::wstring& described : test.path)
            folders.push_back(Folder(described));
        const install_folder::Judgement judgement =
            install_folder::JudgePath(folders, install_folder::TrustedAccounts(kUser, test.platform), test.last);
        EXPECT_EQ(judgement.verdict, test.verdict);
        EXPECT_EQ(judgement.folder, test.folder);
        EXPECT_EQ(judgement.who, test.who);
    }
}

TEST(FolderRules, TheInstallingUserIsTrustedOnlyWhenNamed)
{
    EXPECT_EQ(install_folder::JudgePath({Folder(kWineFolder)}, install_folder::TrustedAccounts(L"", Platform::Wine)).who,
              kUser);
}

TEST(FolderRules, APathIsSplitIntoItsFoldersFromTheVolumeRootDown)
{
    using Folders = std::vector<std::wstring>;
    const Folders toolsKelvane{L"C:\\", L"C:\\Tools", L"C:\\Tools\\Kelvane"};
    const struct {
        const wchar_t* path;
        std::optional<Folders> folders;
    } cases[] = {
        {L"C:\\Tools\\Kelvane", toolsKelvane},
        {L"C:/Tools/Kelvane", toolsKelvane},
        {L"c:\\Tools/Kelvane\\", Folders{L"c:\\", L"c:\\Tools", L"c:\\Tools\\Kelvane"}},
        {L"C:\\Tools\\\\Kelvane", toolsKelvane},
        {L"C:\\", Folders{L"C:\\"}},
        {L"C:Tools", std::nullopt},
        {L"\\\\server\\share\\Kelvane", std::nullopt},
        {L"C:\\Tools\\..\\Kelvane", std::nullopt},
        {L"C:\\Tools\\Kelvane:stream", std::nullopt},
        {L"1:\\Tools", std::nullopt},
    };
    for (const auto& test : cases)
        EXPECT_EQ(install_folder::FoldersOf(test.path), test.folders) << testing::PrintToString(std::wstring(test.path));
}
