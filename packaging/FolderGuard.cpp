// The installer's folder helper. The installer carries it, runs it elevated and acts on its exit
// code; the judging itself is FolderRules.cpp.
//   FolderGuard look PATH REPORT   what is at PATH: 0 nothing, 1 an empty folder, 2 a folder that
//                                  holds something, or a refusal of PATH itself
//   FolderGuard make PATH REPORT   0 when every folder from the volume root down to PATH is safe,
//                                  the missing ones made, each in one call with its final
//                                  permissions; or a refusal, and nothing made stays
//   FolderGuard show PATH          prints the owner and permissions of PATH as SDDL (for tests)
// A refusal is an exit code from 10 up (see Refusal); REPORT then receives the folder it is about,
// as UTF-16LE text, for the installer to name in its message.
#include "packaging/FolderRules.h"

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using install_folder::FolderFacts;
using install_folder::Verdict;

enum Refusal : int {
    kChangeable = 10,
    kLink = 11,
    kNotAFolder = 12,
    kUnreadable = 13,
    kNotLocal = 14,  // not a folder on a local fixed disk
    kNotMade = 15,
};
constexpr int kUsage = 64;

// Owned by Administrators; Administrators and SYSTEM full control, Users read and execute, handed
// down to everything inside; nothing inherited from above.
constexpr wchar_t kFolderDescriptor[] = L"O:BAD:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";

struct LocalDeleter {
    void operator()(void* memory) const noexcept { ::LocalFree(memory); }
};
using LocalMemory = std::unique_ptr<void, LocalDeleter>;

struct FileCloser {
    void operator()(HANDLE file) const noexcept { ::CloseHandle(file); }
};
using File = std::unique_ptr<void, FileCloser>;

File OpenFile(HANDLE handle)
{
    return File(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

std::wstring InstallingUser()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    const File owned(token);
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

    // The link itself, never what it leads to; its attributes once more from the object opened.
    const File file = OpenFile(::CreateFileW(path.c_str(), READ_CONTROL | FILE_READ_ATTRIBUTES,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                             OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                             nullptr));
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

// The folders of PATH from the volume root down, or nothing for a path that is not a plain path on
// a local fixed disk (a share, a device, a stream).
std::optional<std::vector<std::wstring>> FoldersOf(const std::wstring& given)
{
    // "C:" alone would mean the drive's current folder.
    const std::wstring asked = given.size() == 2 && given[1] == L':' ? given + L"\\" : given;
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD length = ::GetFullPathNameW(asked.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (length >= buffer.size()) {
        buffer.resize(length + 1);
        length = ::GetFullPathNameW(asked.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    }
    const std::wstring path(buffer.data(), length < buffer.size() ? length : 0);
    if (path.size() < 3 || (path[0] | 0x20) < L'a' || (path[0] | 0x20) > L'z' || path[1] != L':' || path[2] != L'\\' ||
        path.find(L':', 2) != std::wstring::npos || ::GetDriveTypeW(path.substr(0, 3).c_str()) != DRIVE_FIXED)
        return std::nullopt;

    std::vector<std::wstring> folders{path.substr(0, 3)};
    for (std::size_t start = 3; start < path.size();) {
        std::size_t end = path.find(L'\\', start);
        if (end == std::wstring::npos)
            end = path.size();
        if (end > start)  // not a doubled or closing backslash
            folders.push_back(path.substr(0, end));
        start = end + 1;
    }
    return folders;
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
    const File file = OpenFile(::CreateFileW(report.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
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
    static constexpr int kCodes[] = {0, kChangeable, kLink, kNotAFolder, kUnreadable};
    if (judgement.verdict == Verdict::Changeable)
        std::fprintf(stderr, "FolderGuard: %ls may be changed by %ls\n", folders[judgement.folder].path.c_str(),
                     judgement.who.c_str());
    return Refuse(kCodes[static_cast<int>(judgement.verdict)], folders[judgement.folder].path, report);
}

int Look(const std::wstring& path, const std::wstring& report)
{
    const std::optional<std::vector<std::wstring>> folders = FoldersOf(path);
    if (!folders)
        return Refuse(kNotLocal, path, report);
    const std::optional<FolderFacts> facts = ReadFacts(folders->back());
    if (!facts)
        return 0;
    if (facts->reparsePoint)
        return Refuse(kLink, facts->path, report);
    if (!facts->directory)
        return Refuse(kNotAFolder, facts->path, report);
    if (!facts->readable)
        return Refuse(kUnreadable, facts->path, report);

    // A folder that cannot be listed is never taken for an empty one.
    WIN32_FIND_DATAW entry{};
    const std::wstring pattern = facts->path + (facts->path.back() == L'\\' ? L"*" : L"\\*");
    HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                       FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND ? 1 : Refuse(kUnreadable, facts->path, report);
    int state = 1;
    do {
        if (std::wstring(entry.cFileName) != L"." && std::wstring(entry.cFileName) != L"..")
            state = 2;
    } while (state == 1 && ::FindNextFileW(search, &entry));
    const DWORD error = state == 1 ? ::GetLastError() : ERROR_NO_MORE_FILES;
    ::FindClose(search);
    return error == ERROR_NO_MORE_FILES ? state : Refuse(kUnreadable, facts->path, report);
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
    const std::optional<std::vector<std::wstring>> folders = FoldersOf(path);
    if (!folders)
        return Refuse(kNotLocal, path, report);
    const std::vector<std::wstring> trusted = install_folder::TrustedAccounts(InstallingUser());
    std::vector<FolderFacts> found = Survey(*folders);
    install_folder::Judgement judgement = install_folder::JudgePath(found, trusted);
    if (judgement.verdict != Verdict::Safe)
        return RefuseFor(judgement, found, report);

    // Each missing folder is made with its final permissions: there is no moment in which it has
    // others' (a folder made on the volume root would inherit Modify for Authenticated Users). One
    // that someone else makes first is never taken over.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(kFolderDescriptor, SDDL_REVISION_1, &descriptor,
                                                                nullptr))
        return Refuse(kNotMade, folders->back(), report);
    const LocalMemory ownedDescriptor(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    std::vector<std::wstring> made;
    for (std::size_t index = found.size(); index < folders->size(); ++index) {
        if (!::CreateDirectoryW((*folders)[index].c_str(), &attributes)) {
            std::fprintf(stderr, "FolderGuard: cannot make %ls (error %lu)\n", (*folders)[index].c_str(),
                         ::GetLastError());
            Unmake(made);
            return Refuse(kNotMade, (*folders)[index], report);
        }
        made.push_back((*folders)[index]);
    }

    // What is there now, read back, must pass as a whole.
    found = Survey(*folders);
    judgement = install_folder::JudgePath(found, trusted);
    int refusal = 0;
    if (judgement.verdict != Verdict::Safe)
        refusal = RefuseFor(judgement, found, report);
    else if (found.size() != folders->size())
        refusal = Refuse(kNotMade, (*folders)[found.size()], report);
    if (refusal != 0)
        Unmake(made);
    return refusal;
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
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"look" && argc == 4)
        return Look(argv[2], argv[3]);
    if (command == L"make" && argc == 4)
        return Make(argv[2], argv[3]);
    if (command == L"show" && argc == 3)
        return Show(argv[2]);
    std::fputs("usage: FolderGuard look|make PATH REPORT | show PATH\n", stderr);
    return kUsage;
}
