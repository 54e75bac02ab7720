// The installer's folder helper. The installer carries it, runs it elevated and acts on its exit
// code (packaging/CMakeLists.txt names them all); the judging itself is FolderRules.cpp.
//   look PATH REPORT     what is at PATH: nothing, an empty folder, a folder that holds something
//   make PATH REPORT     every folder from the volume root down to PATH safe, the missing ones made,
//                        each in one call with its final permissions, PATH itself among them; or a
//                        refusal, and nothing made stays
//   check PATH REPORT    the installation PATH and every folder above it there and safe, with what
//                        PATH hands down to its files (uninstalling)
//   upgrade PATH REPORT FILE...   as check, then the FILEs in PATH given the folder's permissions
//   running PROGRAM      whether a process runs the file PROGRAM
//   show PATH            prints the owner and permissions of PATH as SDDL (for tests)
// After a refusal REPORT receives the folder it is about, as UTF-16LE text, for the installer to
// name in its message.
#include "common/DllSearch.h"
#include "common/Wine.h"
#include "packaging/ExitCodes.h"
#include "packaging/FolderRules.h"
#include "packaging/Handles.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

using install_folder::FolderFacts;
using install_folder::KernelHandle;
using install_folder::LocalMemory;
using install_folder::OwnHandle;
using install_folder::Verdict;

// Owned by Administrators; Administrators and SYSTEM full control, Users read and execute, handed
// down to everything inside; nothing inherited from above.
constexpr wchar_t kFolderDescriptor[] = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";
constexpr wchar_t kAdministrators[] = L"S-1-5-32-544";

int CodeFor(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Safe: return exit_code::kFolderSafe;
    case Verdict::Changeable: return exit_code::kRefusedChangeable;
    case Verdict::Link: return exit_code::kRefusedLink;
    case Verdict::NotAFolder: return exit_code::kRefusedNotAFolder;
    case Verdict::Unreadable: return exit_code::kRefusedUnreadable;
    }
    return exit_code::kRefusedUnreadable;
}

std::wstring InstallingUser()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    const KernelHandle owned(token);
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    LPWSTR text = nullptr;
    if (size == 0 || !::GetTokenInformation(token, TokenUser, buffer.data(), size, &size) ||
        !::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text))
        return {};
    const LocalMemory release(text);
    return text;
}

std::vector<std::wstring> Trusted()
{
    return install_folder::TrustedAccounts(
        InstallingUser(), RunsUnderWine() ? install_folder::Platform::Wine : install_folder::Platform::Windows);
}

// The object itself, never what a link leads to; nothing when it cannot be opened.
KernelHandle OpenItself(const std::wstring& path, DWORD access)
{
    return OwnHandle(::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                   nullptr));
}

// The folder's facts, or nothing when there is nothing at the path.
std::optional<FolderFacts> ReadFacts(const std::wstring& path)
{
    FolderFacts facts;
    facts.path = path;
    // Wine shows a Unix symbolic link as a reparse point here, and only here.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return std::nullopt;
        facts.readable = false;
        return facts;
    }
    facts.directory = attributes & FILE_ATTRIBUTE_DIRECTORY;
    facts.reparsePoint = attributes & FILE_ATTRIBUTE_REPARSE_POINT;

    // Its attributes once more from the object opened.
    const KernelHandle file = OpenItself(path, READ_CONTROL | FILE_READ_ATTRIBUTES);
    BY_HANDLE_FILE_INFORMATION information{};
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!file || !::GetFileInformationByHandle(file.get(), &information) ||
        ::GetSecurityInfo(file.get(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
                          nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        facts.readable = false;
        return facts;
    }
    const LocalMemory ownedDescriptor(descriptor);
    facts.directory = facts.directory && (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    facts.reparsePoint = facts.reparsePoint || (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    LPWSTR sddl = nullptr;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(
            descriptor, SDDL_REVISION_1, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &sddl, nullptr)) {
        facts.readable = false;
        return facts;
    }
    const LocalMemory ownedSddl(sddl);
    facts.descriptor = sddl;
    return facts;
}

struct Folders {
    std::vector<std::wstring> list;  // from the volume root down
    int refusal = 0;                 // why the path cannot be judged at all
};

// The folders of PATH from the volume root down, or the refusal of a path that is not a plain path
// on a local fixed disk (a share, a device, a stream), or lies on a drive that subst made of a
// folder: its root is no volume root, and the folders above it would go unjudged.
Folders LocalFolders(const std::wstring& given)
{
    // "C:" alone would mean the drive's current folder.
    const std::wstring asked = given.size() == 2 && given[1] == L':' ? given + L"\\" : given;
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = ::GetFullPathNameW(asked.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = ::GetFullPathNameW(asked.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    }
    const std::optional<std::vector<std::wstring>> folders =
        install_folder::FoldersOf(std::wstring(buffer.data(), length < buffer.size() ? length : 0));
    if (!folders || ::GetDriveTypeW(folders->front().c_str()) != DRIVE_FIXED)
        return {{}, exit_code::kRefusedNotLocal};
    wchar_t device[MAX_PATH] = {};
    if (::QueryDosDeviceW(folders->front().substr(0, 2).c_str(), device, MAX_PATH) &&
        std::wstring(device).rfind(L"\\??\\", 0) == 0)
        return {{}, exit_code::kRefusedSubstitutedDrive};
    return {*folders, 0};
}

// Reads the folders that exist, from the root down; stops at the first missing one, and after one
// that cannot hold the rest (a file, a link, one that cannot be read).
std::vector<FolderFacts> Survey(const std::vector<std::wstring>& folders)
{
    std::vector<FolderFacts> found;
    for (const std::wstring& folder : folders) {
        std::optional<FolderFacts> facts = ReadFacts(folder);
        if (!facts)
            break;
        found.push_back(std::move(*facts));
        if (!found.back().directory || found.back().reparsePoint || !found.back().readable)
            break;
    }
    return found;
}

int Refuse(int refusal, const std::wstring& folder, const std::wstring& report)
{
    const KernelHandle file = OwnHandle(::CreateFileW(report.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file)
        ::WriteFile(file.get(), folder.data(), static_cast<DWORD>(folder.size() * sizeof(wchar_t)), &written, nullptr);
    std::fprintf(stderr, "FolderGuard: refused (%d): %ls\n", refusal, folder.c_str());
    return refusal;
}

int RefuseFor(const install_folder::Judgement& judgement, const std::vector<FolderFacts>& folders,
              const std::wstring& report)
{
    if (judgement.verdict == Verdict::Changeable)
        std::fprintf(stderr, "FolderGuard: %ls may be changed by %ls\n", folders[judgement.folder].path.c_str(),
                     judgement.who.c_str());
    return Refuse(CodeFor(judgement.verdict), folders[judgement.folder].path, report);
}

int Look(const std::wstring& path, const std::wstring& report)
{
    const Folders folders = LocalFolders(path);
    if (folders.refusal)
        return Refuse(folders.refusal, path, report);
    const std::optional<FolderFacts> facts = ReadFacts(folders.list.back());
    if (!facts)
        return exit_code::kLookNothing;
    if (facts->reparsePoint)
        return Refuse(exit_code::kRefusedLink, facts->path, report);
    if (!facts->directory)
        return Refuse(exit_code::kRefusedNotAFolder, facts->path, report);
    if (!facts->readable)
        return Refuse(exit_code::kRefusedUnreadable, facts->path, report);

    // A folder that cannot be listed is never taken for an empty one.
    WIN32_FIND_DATAW entry{};
    const std::wstring pattern = facts->path + (facts->path.back() == L'\\' ? L"*" : L"\\*");
    HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND ? exit_code::kLookEmptyFolder
                                                        : Refuse(exit_code::kRefusedUnreadable, facts->path, report);
    int state = exit_code::kLookEmptyFolder;
    do {
        if (std::wstring(entry.cFileName) != L"." && std::wstring(entry.cFileName) != L"..")
            state = exit_code::kLookHoldsSomething;
    } while (state == exit_code::kLookEmptyFolder && ::FindNextFileW(search, &entry));
    const DWORD error = state == exit_code::kLookEmptyFolder ? ::GetLastError() : ERROR_NO_MORE_FILES;
    ::FindClose(search);
    return error == ERROR_NO_MORE_FILES ? state : Refuse(exit_code::kRefusedUnreadable, facts->path, report);
}

// Removes the folders made, deepest first; they are empty and nobody else can reach into them.
void Unmake(std::vector<std::wstring>& made)
{
    for (auto folder = made.rbegin(); folder != made.rend(); ++folder)
        if (!::RemoveDirectoryW(folder->c_str()))
            std::fprintf(stderr, "FolderGuard: cannot remove %ls again (error %lu)\n", folder->c_str(),
                         ::GetLastError());
    made.clear();
}

int Make(const std::wstring& path, const std::wstring& report)
{
    const Folders folders = LocalFolders(path);
    if (folders.refusal)
        return Refuse(folders.refusal, path, report);
    const std::vector<std::wstring> trusted = Trusted();
    std::vector<FolderFacts> found = Survey(folders.list);
    install_folder::Judgement judgement = install_folder::JudgePath(found, trusted);
    if (judgement.verdict != Verdict::Safe)
        return RefuseFor(judgement, found, report);
    // The installer looked and found nothing there: a folder there now was made by someone else
    // in between, with permissions of their choosing.
    if (found.size() == folders.list.size()) {
        std::fprintf(stderr, "FolderGuard: %ls appeared after the installer looked\n", path.c_str());
        return Refuse(exit_code::kRefusedNotMade, folders.list.back(), report);
    }

    // Each missing folder is made with its final permissions: there is no moment in which it has
    // others' (a folder made on the volume root would inherit Modify for Authenticated Users). One
    // that someone else makes first is never taken over.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(kFolderDescriptor, SDDL_REVISION_1, &descriptor,
                                                                nullptr))
        return Refuse(exit_code::kRefusedNotMade, folders.list.back(), report);
    const LocalMemory ownedDescriptor(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    std::vector<std::wstring> made;
    for (std::size_t index = found.size(); index < folders.list.size(); ++index) {
        if (!::CreateDirectoryW(folders.list[index].c_str(), &attributes)) {
            std::fprintf(stderr, "FolderGuard: cannot make %ls (error %lu)\n", folders.list[index].c_str(),
                         ::GetLastError());
            Unmake(made);
            return Refuse(exit_code::kRefusedNotMade, folders.list[index], report);
        }
        made.push_back(folders.list[index]);
    }

    // What is there now, read back, must pass as a whole.
    found = Survey(folders.list);
    judgement = install_folder::JudgePath(found, trusted, install_folder::LastFolder::HoldsTheProgram);
    int refusal = 0;
    if (judgement.verdict != Verdict::Safe)
        refusal = RefuseFor(judgement, found, report);
    else if (found.size() != folders.list.size())
        refusal = Refuse(exit_code::kRefusedNotMade, folders.list[found.size()], report);
    if (refusal != 0)
        Unmake(made);
    return refusal;
}

// The installation at PATH as it stands: every folder there and safe, PATH with what it hands down.
int Check(const std::wstring& path, const std::wstring& report)
{
    const Folders folders = LocalFolders(path);
    if (folders.refusal)
        return Refuse(folders.refusal, path, report);
    const std::vector<FolderFacts> found = Survey(folders.list);
    const install_folder::Judgement judgement =
        install_folder::JudgePath(found, Trusted(), install_folder::LastFolder::HoldsTheProgram);
    if (judgement.verdict != Verdict::Safe)
        return RefuseFor(judgement, found, report);
    return found.size() == folders.list.size()
               ? exit_code::kFolderSafe
               : Refuse(exit_code::kRefusedUnreadable, folders.list[found.size()], report);
}

// Gives each file of an installation the folder's permissions again, owned by Administrators,
// whatever an earlier installation or someone since left on it. The folder passed the check, so no
// one else can put a link in a file's place meanwhile.
int Upgrade(const std::wstring& path, const std::wstring& report, const std::vector<std::wstring>& files)
{
    if (const int refusal = Check(path, report))
        return refusal;
    PSID administrators = nullptr;
    if (!::ConvertStringSidToSidW(kAdministrators, &administrators))
        return Refuse(exit_code::kRefusedNotMade, path, report);
    const LocalMemory ownedSid(administrators);
    ACL none{};
    ::InitializeAcl(&none, sizeof none, ACL_REVISION);
    for (const std::wstring& name : files) {
        std::wstring file = path + L"\\" + name;
        const DWORD attributes = ::GetFileAttributesW(file.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            continue;  // not installed (yet): it will inherit the folder's permissions
        if (attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))
            return Refuse(exit_code::kRefusedLink, file, report);  // in a file's place, never followed
        const DWORD error = ::SetNamedSecurityInfoW(
            file.data(), SE_FILE_OBJECT,
            OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | UNPROTECTED_DACL_SECURITY_INFORMATION,
            administrators, nullptr, &none, nullptr);
        if (error != ERROR_SUCCESS) {
            std::fprintf(stderr, "FolderGuard: cannot reset the permissions of %ls (error %lu)\n", file.c_str(), error);
            return Refuse(exit_code::kRefusedNotMade, file, report);
        }
    }
    return exit_code::kFolderSafe;
}

// The identity of a file, whatever path names it.
std::optional<std::pair<DWORD, ULONGLONG>> FileIdentity(const std::wstring& path)
{
    const KernelHandle file = OpenItself(path, FILE_READ_ATTRIBUTES);
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file || !::GetFileInformationByHandle(file.get(), &information))
        return std::nullopt;
    return std::pair{information.dwVolumeSerialNumber,
                     (static_cast<ULONGLONG>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

// Running means a process runs the program's file. Neither the name the program's mutex has (any
// user may make an object of that name) nor the file being open (any user may read it) tells that.
int Running(const std::wstring& program)
{
    const auto installed = FileIdentity(program);
    if (!installed)
        return exit_code::kProgramNotRunning;
    const KernelHandle snapshot = OwnHandle(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && ::Process32FirstW(snapshot.get(), &entry); more;
         more = ::Process32NextW(snapshot.get(), &entry)) {
        const KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
        wchar_t image[MAX_PATH * 2] = {};
        DWORD size = static_cast<DWORD>(std::size(image));
        if (process && ::QueryFullProcessImageNameW(process.get(), 0, image, &size) && FileIdentity(image) == installed)
            return exit_code::kProgramRunning;
    }
    return exit_code::kProgramNotRunning;
}

int Show(const std::wstring& path)
{
    const std::optional<FolderFacts> facts = ReadFacts(path);
    if (!facts || !facts->readable) {
        std::fprintf(stderr, "FolderGuard: cannot read %ls\n", path.c_str());
        return 1;
    }
    std::printf("%ls\n", facts->descriptor.c_str());
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    RestrictDllSearchToSystemFolder();
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"look" && argc == 4)
        return Look(argv[2], argv[3]);
    if (command == L"make" && argc == 4)
        return Make(argv[2], argv[3]);
    if (command == L"check" && argc == 4)
        return Check(argv[2], argv[3]);
    if (command == L"upgrade" && argc >= 4)
        return Upgrade(argv[2], argv[3], std::vector<std::wstring>(argv + 4, argv + argc));
    if (command == L"running" && argc == 3)
        return Running(argv[2]);
    if (command == L"show" && argc == 3)
        return Show(argv[2]);
    std::fputs("usage: FolderGuard look|make|check PATH REPORT | upgrade PATH REPORT FILE... | running PROGRAM |"
               " show PATH\n",
               stderr);
    return exit_code::kFolderGuardUsage;
}
