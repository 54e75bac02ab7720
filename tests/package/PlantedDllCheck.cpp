// Plants a marker DLL (PlantedMarker.cpp) under each NAME beside a copy of PROGRAM, runs that copy
// from its folder as a user would, and checks that the program did not load it:
//   kelvane_planted_dll_check MARKER.dll window PROGRAM NAME...   a program with a main window
//                                          (TForm1), asked for its accessible object, then closed
//   kelvane_planted_dll_check MARKER.dll show PROGRAM NAME...     the folder helper, reading the
//                                          permissions of its folder
// Each NAME is first loaded by its full path from a folder of its own, proving that the marker
// tells a load (under Wine, WINEDLLOVERRIDES=NAME=n,b must make a planted copy win over the
// built-in DLL). Exit code 0 when no program loaded a planted DLL; the standard error says why not.
#include "testkit/ProgramStart.h"

#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kLimitMs = 30000;
int failures = 0;

void Fail(const std::wstring& what)
{
    ++failures;
    std::fprintf(stderr, "planted DLL check: %ls\n", what.c_str());
}

std::wstring FullPath(const std::wstring& path)
{
    wchar_t full[MAX_PATH * 2] = {};
    const DWORD length = ::GetFullPathNameW(path.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    return length > 0 && length < std::size(full) ? full : path;
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Whose load the marker NAME.loaded records.
std::wstring LoadedBy(const std::wstring& marker)
{
    HANDLE file = ::CreateFileW(marker.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    wchar_t text[MAX_PATH] = {};
    DWORD read = 0;
    if (file != INVALID_HANDLE_VALUE) {
        ::ReadFile(file, text, sizeof text - sizeof(wchar_t), &read, nullptr);
        ::CloseHandle(file);
    }
    return text;
}

void RemoveFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW entry{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveFolder(folder + L"\\" + name);
            else
                ::DeleteFileW((folder + L"\\" + name).c_str());
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(folder.c_str());
}

// The marker under NAME, loaded by full path from a folder of its own, says it was loaded.
bool MarkerTellsALoad(const std::wstring& marker, const std::wstring& folder, const std::wstring& name)
{
    const std::wstring control = folder + L"\\control";
    const std::wstring copy = control + L"\\" + name;
    if (!::CreateDirectoryW(control.c_str(), nullptr) || !::CopyFileW(marker.c_str(), copy.c_str(), FALSE)) {
        Fail(L"cannot copy the marker to " + copy);
        return false;
    }
    if (HMODULE loaded = ::LoadLibraryExW(copy.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH))
        ::FreeLibrary(loaded);
    if (Exists(copy + L".loaded"))
        return true;
    Fail(L"the marker loaded as " + copy + L" tells nothing: the check would prove nothing for " + name);
    return false;
}

void RunWindowProgram(const std::wstring& program, const std::wstring& folder)
{
    const ProgramStart start = StartProgram(program, L"TForm1", folder, kLimitMs);
    if (!start.process) {
        Fail(program + L" showed no main window (start error " + std::to_wstring(start.startError) + L")");
        return;
    }
    // A screen reader's question loads the accessibility DLL, by full path, and what it needs.
    DWORD_PTR answer = 0;
    ::SendMessageTimeoutW(start.mainWindow, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), SMTO_ABORTIFHUNG,
                          kLimitMs, &answer);
    const ProgramEnd end = CloseProgram(start.process, start.mainWindow, kLimitMs);
    if (!end.endedByItself || end.exitCode != 0)
        Fail(program + L" did not end cleanly (exit code " + std::to_wstring(end.exitCode) + L")");
}

void RunHelper(const std::wstring& program, const std::wstring& folder)
{
    std::wstring commandLine = L"\"" + program + L"\" show \"" + folder + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, &process)) {
        Fail(L"cannot start " + commandLine);
        return;
    }
    DWORD exitCode = 1;
    if (::WaitForSingleObject(process.hProcess, kLimitMs) != WAIT_OBJECT_0)
        ::TerminateProcess(process.hProcess, 1);
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (exitCode != 0)
        Fail(commandLine + L" ended with code " + std::to_wstring(exitCode));
}

void Check(const std::wstring& marker, const std::wstring& kind, const std::wstring& program, const std::wstring& name,
           int index)
{
    wchar_t temporary[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temporary);
    const std::wstring folder = std::wstring(temporary) + L"kelvane-planted-" +
                                std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(index);
    const std::wstring copy = folder + program.substr(program.find_last_of(L"\\/"));
    if (!::CreateDirectoryW(folder.c_str(), nullptr) || !::CopyFileW(program.c_str(), copy.c_str(), FALSE) ||
        !::CopyFileW(marker.c_str(), (folder + L"\\" + name).c_str(), FALSE)) {
        Fail(L"cannot plant " + name + L" beside a copy of " + program + L" in " + folder);
    } else if (MarkerTellsALoad(marker, folder, name)) {
        if (kind == L"window")
            RunWindowProgram(copy, folder);
        else
            RunHelper(copy, folder);
        if (Exists(folder + L"\\" + name + L".loaded"))
            Fail(LoadedBy(folder + L"\\" + name + L".loaded") + L" loaded the " + name + L" planted beside it");
        else
            std::printf("planted DLL check: %ls ran beside a planted %ls and did not load it\n", copy.c_str(),
                        name.c_str());
    }
    RemoveFolder(folder);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring kind = argc > 2 ? argv[2] : L"";
    if (argc < 5 || (kind != L"window" && kind != L"show")) {
        std::fputs("usage: kelvane_planted_dll_check MARKER.dll window|show PROGRAM NAME...\n", stderr);
        return 2;
    }
    for (int index = 4; index < argc; ++index)
        Check(FullPath(argv[1]), kind, FullPath(argv[3]), argv[index], index);
    return failures == 0 ? 0 : 1;
}
