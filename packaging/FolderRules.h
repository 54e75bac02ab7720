#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Whether a folder is safe to hold a program that runs as administrator: no one but the trusted
// accounts may change it or any folder above it, since whoever can rename or replace a folder on
// the way can put their own program in its place. Decided from what was read of each folder, with
// no reading of its own, so that every rule can be tried with descriptors written as SDDL.
namespace install_folder {

// What was read of one folder on the path.
struct FolderFacts {
    std::wstring path;
    bool readable = true;       // its attributes and security descriptor could be read
    bool directory = true;      // false: a file
    bool reparsePoint = false;  // a junction, a symbolic link or another reparse point
    std::wstring descriptor;    // its owner and DACL, as SDDL
};

enum class Verdict {
    Safe,
    Changeable,  // someone else owns it or may change it, its contents or its permissions
    Link,
    NotAFolder,
    Unreadable,  // its attributes or its descriptor could not be read or understood
};

struct Judgement {
    Verdict verdict = Verdict::Safe;
    std::size_t folder = 0;  // which of the folders the verdict is about
    std::wstring who;        // for Changeable, the SID that may change it
};

// The accounts that may change the folders: Administrators, SYSTEM and TrustedInstaller, plus
// the account given (the administrator running the installer), as SID strings.
std::vector<std::wstring> TrustedAccounts(const std::wstring& installingUser);

// Judges the folders of a path in order, the volume root first, down to the last one that
// exists; the first that fails gives the verdict. On the volume root others may make folders of
// their own (add a subdirectory), nothing more.
Judgement JudgePath(const std::vector<FolderFacts>& folders, const std::vector<std::wstring>& trusted);

} // namespace install_folder
