// Checks the installed state of Kelvane from inside Windows (or Wine), one step of the installer
// round trip per call:
//   kelvane_installer_check registered INSTALL-FOLDER VERSION
//   kelvane_installer_check shortcut INSTALL-FOLDER
//   kelvane_installer_check starts PATH\TO\Kelvane.exe
//   kelvane_installer_check run succeeds|fails|CODE CIRCUMSTANCE COMMAND...   (see Run)
//   kelvane_installer_check entries COUNT
//   kelvane_installer_check closes PATH\TO\Kelvane.exe   (started by something else)
//   kelvane_installer_check removed
// Exit code 0 when the check holds; every failure is described on the standard error.
#include "common/ProductInfo.h"
#include "packaging/Handles.h"
#include "testkit/ProcessWindow.h"
#include "testkit/ProgramStart.h"

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cwchar>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kelvane";
constexpr wchar_t kProductName[] = L"系统优化Kelvane";
constexpr wchar_t kPublisher[] = L"Tavrin软件";
constexpr wchar_t kMainWindowClass[] = L"TForm1";
constexpr DWORD kTimeoutMs = 30000;

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr,
                          nullptr);
    return result;
}

int failures = 0;

void Fail(const std::wstring& what)
{
    ++failures;
    const std::string line = "installer check: " + Utf8(what) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
}

std::wstring SystemErrorText(DWORD error)
{
    return L" (error " + std::to_wstring(error) + L")";
}

using install_folder::KernelHandle;
using install_folder::OwnHandle;

struct Key {
    HKEY handle = nullptr;
    ~Key()
    {
        if (handle)
            ::RegCloseKey(handle);
    }
};

// The uninstall entry is a machine-wide entry of the 64-bit registry view.
bool OpenUninstallKey(Key& key)
{
    return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ | KEY_WOW64_64KEY, &key.handle) ==
           ERROR_SUCCESS;
}

std::optional<std::wstring> ReadText(HKEY key, const wchar_t* name)
{
    DWORD size = 0;
    if (::RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 1);
    if (::RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, data.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(data.data());
}

std::optional<DWORD> ReadNumber(HKEY key, const wchar_t* name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegGetValueW(key, nullptr, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

void ExpectText(HKEY key, const wchar_t* name, const std::wstring& expected)
{
    const std::optional<std::wstring> value = ReadText(key, name);
    if (!value)
        Fail(std::wstring(L"the uninstall entry has no text value ") + name);
    else if (*value != expected)
        Fail(std::wstring(L"the uninstall entry's ") + name + L" is \"" + *value + L"\", not \"" + expected + L"\"");
}

void ExpectNumber(HKEY key, const wchar_t* name, DWORD expected)
{
    const std::optional<DWORD> value = ReadNumber(key, name);
    if (!value)
        Fail(std::wstring(L"the uninstall entry has no number value ") + name);
    else if (*value != expected)
        Fail(std::wstring(L"the uninstall entry's ") + name + L" is " + std::to_wstring(*value) + L", not " +
             std::to_wstring(expected));
}

std::optional<ULONGLONG> FileSize(const std::wstring& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return std::nullopt;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int CheckRegistered(const std::wstring& folder, const std::wstring& version)
{
    Key key;
    if (!OpenUninstallKey(key)) {
        Fail(L"no uninstall entry HKLM\\" + std::wstring(kUninstallKey));
        return 1;
    }
    const std::wstring uninstaller = L"\"" + folder + L"\\Uninstall.exe\"";
    ExpectText(key.handle, L"DisplayName", kProductName);
    ExpectText(key.handle, L"DisplayVersion", version);
    ExpectText(key.handle, L"Publisher", kPublisher);
    ExpectText(key.handle, L"DisplayIcon", folder + L"\\Kelvane.exe,0");
    ExpectText(key.handle, L"UninstallString", uninstaller);
    ExpectText(key.handle, L"QuietUninstallString", uninstaller + L" /S");
    ExpectText(key.handle, L"InstallLocation", folder);
    ExpectNumber(key.handle, L"NoModify", 1);
    ExpectNumber(key.handle, L"NoRepair", 1);

    // The estimate covers at least the program and the uninstaller, in KiB.
    ULONGLONG installedBytes = 0;
    for (const wchar_t* file : {L"\\Kelvane.exe", L"\\Uninstall.exe", L"\\README.txt", L"\\LICENSE"}) {
        const std::optional<ULONGLONG> size = FileSize(folder + file);
        if (!size)
            Fail(L"the installed file " + folder + file + L" is missing");
        else
            installedBytes += *size;
    }
    const std::optional<DWORD> estimate = ReadNumber(key.handle, L"EstimatedSize");
    if (!estimate)
        Fail(L"the uninstall entry has no number value EstimatedSize");
    else if (*estimate < installedBytes / 1024 || *estimate > installedBytes / 1024 + 8)
        Fail(L"EstimatedSize is " + std::to_wstring(*estimate) + L" KiB for " + std::to_wstring(installedBytes) +
             L" installed bytes");
    return failures == 0 ? 0 : 1;
}

std::wstring ShortcutPath()
{
    wchar_t programs[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs)))
        return {};
    return std::wstring(programs) + L"\\" + kProductName + L".lnk";
}

int CheckShortcut(const std::wstring& folder)
{
    const std::wstring path = ShortcutPath();
    if (path.empty() || ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        Fail(L"no shortcut " + path);
        return 1;
    }
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        Fail(L"COM does not start");
        return 1;
    }
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    wchar_t target[MAX_PATH] = {};
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(&link))) ||
        FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) ||
        FAILED(file->Load(path.c_str(), STGM_READ)) || FAILED(link->GetPath(target, MAX_PATH, nullptr, 0)))
        Fail(L"the shortcut " + path + L" cannot be read");
    else if (::lstrcmpiW(target, (folder + L"\\Kelvane.exe").c_str()) != 0)
        Fail(L"the shortcut points at " + std::wstring(target) + L", not at the installed program");
    if (file)
        file->Release();
    if (link)
        link->Release();
    ::CoUninitialize();
    return failures == 0 ? 0 : 1;
}

bool RunsProgram(DWORD processId, const wchar_t* program)
{
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process)
        return false;
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    const bool same = ::QueryFullProcessImageNameW(process, 0, image, &size) && ::lstrcmpiW(image, program) == 0;
    ::CloseHandle(process);
    return same;
}

// Starts the program from where it was installed and waits for its visible main window.
// Returns the process, or nullptr when the program did not come up (the failure is recorded).
HANDLE StartInstalledProgram(const std::wstring& program, HWND& mainWindow)
{
    const ProgramStart start =
        StartProgram(program, kMainWindowClass, program.substr(0, program.find_last_of(L'\\')), kTimeoutMs);
    mainWindow = start.mainWindow;
    if (start.process)
        return start.process;
    if (start.startError != ERROR_SUCCESS)
        Fail(L"the installed program does not start" + SystemErrorText(start.startError));
    else if (start.exitCode)
        Fail(L"the installed program ended with code " + std::to_wstring(*start.exitCode) +
             L" before showing its main window");
    else
        Fail(L"the installed program shows no main window");
    return nullptr;
}

// Closes the main window the way the user does and expects the program to end cleanly.
void CloseExpectingCodeZero(HANDLE process, HWND mainWindow)
{
    const ProgramEnd end = CloseProgram(process, mainWindow, kTimeoutMs);
    if (!end.endedByItself)
        Fail(L"the installed program does not end when its main window is closed");
    if (end.exitCode != 0)
        Fail(L"the installed program ended with code " + std::to_wstring(end.exitCode));
}

int CheckStarts(const std::wstring& program)
{
    HWND mainWindow = nullptr;
    if (HANDLE process = StartInstalledProgram(program, mainWindow))
        CloseExpectingCodeZero(process, mainWindow);
    return failures == 0 ? 0 : 1;
}

// Waits for the main window of the program that something else started (the Linux launcher),
// closes it and expects the program to end with code 0.
int CheckCloses(const std::wstring& program)
{
    HWND mainWindow = nullptr;
    const ULONGLONG deadline = ::GetTickCount64() + kTimeoutMs;
    while (!mainWindow && ::GetTickCount64() < deadline) {
        mainWindow = FindTopLevelWindow(kMainWindowClass, true,
                                        [&program](DWORD process) { return RunsProgram(process, program.c_str()); });
        if (!mainWindow)
            ::Sleep(100);
    }
    if (!mainWindow) {
        Fail(L"no main window of " + program + L" showed");
        return 1;
    }
    DWORD processId = 0;
    ::GetWindowThreadProcessId(mainWindow, &processId);
    HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE,
                                   processId);
    if (!process) {
        Fail(L"the program's process cannot be opened" + SystemErrorText(::GetLastError()));
        return 1;
    }
    CloseExpectingCodeZero(process, mainWindow);
    return failures == 0 ? 0 : 1;
}

// Keeps the window this process may own responsive while it waits for what it started.
void PumpMessages()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&message);
}

// The processes in a job, by id and program, for the message of a command that does not end.
std::wstring ProcessesIn(HANDLE job)
{
    struct {
        JOBOBJECT_BASIC_PROCESS_ID_LIST list;
        ULONG_PTR more[63];
    } ids{};
    ids.list.NumberOfAssignedProcesses = 64;
    if (!::QueryInformationJobObject(job, JobObjectBasicProcessIdList, &ids, sizeof ids, nullptr))
        return L" (unknown" + SystemErrorText(::GetLastError()) + L")";
    std::wstring names;
    for (DWORD index = 0; index < ids.list.NumberOfProcessIdsInList; ++index) {
        const auto id = static_cast<DWORD>(ids.list.ProcessIdList[index]);
        wchar_t path[MAX_PATH] = L"?";
        DWORD length = MAX_PATH;
        if (const KernelHandle process{::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id)})
            ::QueryFullProcessImageNameW(process.get(), 0, path, &length);
        names += L" " + std::to_wstring(id) + L" " + path;
    }
    return names;
}

// The process that started the process `id`, while both run; 0 when it cannot be told.
DWORD ParentOf(DWORD id)
{
    const KernelHandle snapshot = OwnHandle(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && ::Process32FirstW(snapshot.get(), &entry); more;
         more = ::Process32NextW(snapshot.get(), &entry))
        if (entry.th32ProcessID == id)
            return entry.th32ParentProcessID;
    return 0;
}

// Runs a command line and gives its outcome: the exit code of the process, or, when it ended with 0
// while a process it started itself carried on, the exit code of that process (the last of them to
// end, were there several). The uninstaller copies itself out of the folder it removes, starts that
// copy and ends at once; the copy does the work and gives the real result. What the copy starts in
// turn (the folder helper, whose exit codes are answers, and the console host Wine starts for it)
// is not the outcome. So the command runs in a job, which every process it starts joins: each is
// opened as the job reports it, before it can end unseen, and the command is over when the job has
// no process left.
std::optional<DWORD> RunCommand(std::wstring commandLine)
{
    const KernelHandle job(::CreateJobObjectW(nullptr, nullptr));
    const KernelHandle port(::CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1));
    JOBOBJECT_ASSOCIATE_COMPLETION_PORT link{job.get(), port.get()};
    if (!job || !port ||
        !::SetInformationJobObject(job.get(), JobObjectAssociateCompletionPortInformation, &link, sizeof link)) {
        Fail(L"cannot make a job to follow " + commandLine + SystemErrorText(::GetLastError()));
        return std::nullopt;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                          &startup, &started)) {
        Fail(L"cannot start " + commandLine + SystemErrorText(::GetLastError()));
        return std::nullopt;
    }
    const KernelHandle thread(started.hThread);
    const KernelHandle command(started.hProcess);
    if (!::AssignProcessToJobObject(job.get(), started.hProcess)) {
        Fail(L"cannot follow " + commandLine + L" in a job" + SystemErrorText(::GetLastError()));
        ::TerminateProcess(started.hProcess, 1);
        return std::nullopt;
    }
    ::ResumeThread(started.hThread);

    std::map<DWORD, KernelHandle> children;  // the processes the command started itself, by id
    DWORD lastToEnd = 0;                    // the last of them to end after the command did
    bool commandEnded = false;
    bool over = false;
    for (const ULONGLONG deadline = ::GetTickCount64() + kTimeoutMs; !over && ::GetTickCount64() < deadline;) {
        DWORD message = 0;
        ULONG_PTR key = 0;
        OVERLAPPED* detail = nullptr;
        if (!::GetQueuedCompletionStatus(port.get(), &message, &key, &detail, 50)) {
            PumpMessages();
            continue;
        }
        const auto processId = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(detail));
        switch (message) {
        case JOB_OBJECT_MSG_NEW_PROCESS:
            if (processId != started.dwProcessId) {
                KernelHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
                if (!process)
                    Fail(L"a process started by " + commandLine + L" ended before it could be followed" +
                         SystemErrorText(::GetLastError()));
                else if (ParentOf(processId) == started.dwProcessId)
                    children.emplace(processId, std::move(process));
            }
            break;
        case JOB_OBJECT_MSG_EXIT_PROCESS:
        case JOB_OBJECT_MSG_ABNORMAL_EXIT_PROCESS:
            if (processId == started.dwProcessId)
                commandEnded = true;
            else if (commandEnded && children.count(processId))
                lastToEnd = processId;
            break;
        case JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO:
            over = true;
            break;
        }
    }
    if (!over) {
        Fail(commandLine + L" or a process it started does not end; still running:" + ProcessesIn(job.get()));
        ::TerminateJobObject(job.get(), 1);
        return std::nullopt;
    }
    DWORD outcome = 1;
    ::GetExitCodeProcess(command.get(), &outcome);
    if (outcome == 0 && lastToEnd != 0) {
        const auto last = children.find(lastToEnd);
        if (last == children.end() || !::GetExitCodeProcess(last->second.get(), &outcome))
            outcome = 1;
    }
    return outcome;
}

LRESULT CALLBACK PlainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// What stands while the command runs: one of
//   -                nothing
//   holding:PATH     the file PATH, open for reading and shared for reading only
//   window:CLASS     a visible top-level window of class CLASS, of this (another) program
//   running:PROGRAM  the program PROGRAM, started and showing its main window
//   squatting        the mutex the running program holds, held by this (another) program
//   squatting-event  an event of the name of that mutex, held by this (another) program
class Circumstance {
public:
    explicit Circumstance(const std::wstring& what)
    {
        if (what.rfind(L"holding:", 0) == 0) {
            const std::wstring path = what.substr(8);
            file_ = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
            if (file_ == INVALID_HANDLE_VALUE)
                Fail(L"cannot open " + path + SystemErrorText(::GetLastError()));
        } else if (what.rfind(L"window:", 0) == 0) {
            className_ = what.substr(7);
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = PlainWindowProcedure;
            windowClass.hInstance = ::GetModuleHandleW(nullptr);
            windowClass.lpszClassName = className_.c_str();
            ::RegisterClassW(&windowClass);
            window_ = ::CreateWindowExW(0, className_.c_str(), L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        0, 0, 200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
            if (!window_)
                Fail(L"cannot show a window of class " + className_ + SystemErrorText(::GetLastError()));
        } else if (what.rfind(L"running:", 0) == 0) {
            program_ = StartInstalledProgram(what.substr(8), mainWindow_);
        } else if (what == L"squatting" || what == L"squatting-event") {
            squatter_ = what == L"squatting" ? ::CreateMutexW(nullptr, FALSE, product::kRunningMutexName)
                                             : ::CreateEventW(nullptr, TRUE, FALSE, product::kRunningMutexName);
            if (!squatter_ || ::GetLastError() == ERROR_ALREADY_EXISTS)
                Fail(L"cannot be the first to hold the mutex's name" + SystemErrorText(::GetLastError()));
        } else if (what != L"-") {
            Fail(L"unknown circumstance " + what);
        }
    }
    ~Circumstance()
    {
        if (file_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(file_);
        if (window_)
            ::DestroyWindow(window_);
        if (program_)
            CloseExpectingCodeZero(program_, mainWindow_);
        if (squatter_)
            ::CloseHandle(squatter_);
    }
    Circumstance(const Circumstance&) = delete;
    Circumstance& operator=(const Circumstance&) = delete;

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::wstring className_;
    HWND window_ = nullptr;
    HANDLE program_ = nullptr;
    HWND mainWindow_ = nullptr;
    HANDLE squatter_ = nullptr;
};

// Runs COMMAND (the word "uninstall" stands for the registered QuietUninstallString, which is what
// Windows itself runs for a silent removal) while CIRCUMSTANCE stands, and expects it to succeed
// (exit code 0), to fail (any other), or to end with the exit code given.
int Run(const std::wstring& expectation, const std::wstring& circumstance, std::wstring command)
{
    const bool code = !expectation.empty() && expectation.find_first_not_of(L"0123456789") == std::wstring::npos;
    if (expectation != L"succeeds" && expectation != L"fails" && !code) {
        Fail(L"expect \"succeeds\", \"fails\" or an exit code, not " + expectation);
        return 1;
    }
    if (command == L"uninstall") {
        Key key;
        std::optional<std::wstring> registered;
        if (OpenUninstallKey(key))
            registered = ReadText(key.handle, L"QuietUninstallString");
        if (!registered) {
            Fail(L"no QuietUninstallString to run");
            return 1;
        }
        command = *registered;
    }
    std::optional<DWORD> outcome;
    {
        Circumstance standing(circumstance);
        if (failures == 0)
            outcome = RunCommand(command);
    }
    if (outcome) {
        std::printf("installer check: %s ended with code %lu\n", Utf8(command).c_str(),
                    static_cast<unsigned long>(*outcome));
        if (code ? *outcome != std::wcstoul(expectation.c_str(), nullptr, 10)
                 : (*outcome == 0) != (expectation == L"succeeds"))
            Fail(command + L" ended with code " + std::to_wstring(*outcome) + (code ? L", expected " : L", expected it to ") +
                 expectation);
    }
    return failures == 0 ? 0 : 1;
}

// Exactly COUNT entries in the list of installed programs carry the product's name.
int CheckEntries(unsigned long expected)
{
    HKEY uninstall = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 0,
                        KEY_READ | KEY_WOW64_64KEY, &uninstall) != ERROR_SUCCESS) {
        Fail(L"no list of installed programs");
        return 1;
    }
    unsigned long count = 0;
    wchar_t name[256];
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(name));
        if (::RegEnumKeyExW(uninstall, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        Key entry;
        if (::RegOpenKeyExW(uninstall, name, 0, KEY_READ | KEY_WOW64_64KEY, &entry.handle) == ERROR_SUCCESS &&
            ReadText(entry.handle, L"DisplayName") == std::wstring(kProductName))
            ++count;
    }
    ::RegCloseKey(uninstall);
    if (count != expected)
        Fail(std::to_wstring(count) + L" installed programs are named " + kProductName + L", not " +
             std::to_wstring(expected));
    return failures == 0 ? 0 : 1;
}

int CheckRemoved()
{
    Key key;
    if (OpenUninstallKey(key))
        Fail(L"the uninstall entry HKLM\\" + std::wstring(kUninstallKey) + L" is still there");
    const std::wstring shortcut = ShortcutPath();
    if (::GetFileAttributesW(shortcut.c_str()) != INVALID_FILE_ATTRIBUTES)
        Fail(L"the shortcut " + shortcut + L" is still there");
    return failures == 0 ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"registered" && argc == 4)
        return CheckRegistered(argv[2], argv[3]);
    if (command == L"shortcut" && argc == 3)
        return CheckShortcut(argv[2]);
    if (command == L"starts" && argc == 3)
        return CheckStarts(argv[2]);
    if (command == L"closes" && argc == 3)
        return CheckCloses(argv[2]);
    if (command == L"run" && argc >= 5) {
        // The command's own words, quoted where they hold a space.
        std::wstring commandLine;
        for (int index = 4; index < argc; ++index) {
            const std::wstring word = argv[index];
            commandLine += (index > 4 ? L" " : L"") +
                           (word.find(L' ') == std::wstring::npos ? word : L"\"" + word + L"\"");
        }
        return Run(argv[2], argv[3], commandLine);
    }
    if (command == L"entries" && argc == 3)
        return CheckEntries(std::wcstoul(argv[2], nullptr, 10));
    if (command == L"removed" && argc == 2)
        return CheckRemoved();
    std::fputs("usage: kelvane_installer_check registered FOLDER VERSION | shortcut FOLDER | starts PROGRAM |"
               " closes PROGRAM | run succeeds|fails|CODE CIRCUMSTANCE COMMAND... | entries COUNT | removed\n",
               stderr);
    return 2;
}
