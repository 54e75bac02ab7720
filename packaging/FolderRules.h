#pragma once

#include <cstddef>
#include <optional>
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

// Where the helper runs. On Windows the administrator who installs is not trusted as an account:
// the same account runs all its ordinary programs unelevated (a split token), and any of them could
// rename or fill a folder that account owns or may change. Wine gives every file to the prefix's
// one user and runs every process with the same full token, so there that account is the
// administrator, and refusing it would refuse every folder.
enum class Platform { Windows, Wine };

// The accounts that may change the folders, as SID strings: Administrators, SYSTEM and
// TrustedInstaller, and under Wine the account given (the one running the installer).
std::vector<std::wstring> TrustedAccounts(const std::wstring& installingUser, Platform platform = Platform::Windows);

// What the last folder of the path is to be: a folder on the way, or the installation folder that
// holds the program, whose inheritable entries every file put into it takes on.
enum class LastFolder { OnTheWay, HoldsTheProgram };

// Judges the folders of a path in order, the volume root first, down to the last one that
// exists; the first that fails gives the verdict. On the volume root others may make folders of
// their own (add a subdirectory), nothing more. Besides the trusted accounts, any domain's Domain
// Admins and Enterprise Admins may change a folder (Windows makes them administrators of every
// machine of the domain), and entries for CREATOR OWNER and OWNER RIGHTS give no one else a right:
// the one stands for whoever makes something inside (the installer, as administrator), the other
// for the owner, who is judged on its own.
Judgement JudgePath(const std::vector<FolderFacts>& folders, const std::vector<std::wstring>& trusted,
                    LastFolder last = LastFolder::OnTheWay);

// The folders of a full path on a drive, the volume root first ("C:\", "C:\Tools", ...), with
// forward slashes taken as backslashes; nothing for a path that is not a plain path on a drive (a
// share, a device, a stream, a relative path).
std::optional<std::vector<std::wstring>> FoldersOf(const std::wstring& path);

} // namespace install_folder
