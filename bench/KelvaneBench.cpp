// Kelvane's figures, each measured against a baseline in the same run (scripts/bench.sh runs it
// under Wine in a throwaway prefix):
//   KelvaneBench PATH\TO\Kelvane.exe [start-up] [report] [delete-tree] [size]
// measures the figures named, or all four:
// - start-up of Kelvane.exe against the system's notepad.exe, until the main window is shown and
//   the program is idle;
// - the system information report in process against the bare sequence of the same registry and
//   kernel calls;
// - TRegistry::DeleteTree against RegDeleteTreeA on trees of 1,000 and 10,000 keys;
// - the size of Kelvane.exe and the DLLs it imports.
// Every timed figure is the median of its repetitions. The registry work happens in a scratch
// key: the four predefined roots are redirected into it, so no real key is touched.
#include "actions/Machine.h"
#include "actions/Report.h"
#include "actions/SystemInfoReport.h"
#include "registry/RegistryApi.h"
#include "registry/TRegistry.h"
#include "testkit/ProgramStart.h"
#include "testkit/RegistryCallHook.h"
#include "testkit/RegistrySandbox.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Timing

double Now()
{
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER counter;
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / ticksPerMs;
}

double Median(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

struct Comparison {
    std::vector<double> measured;
    std::vector<double> baseline;
};

// Runs `measured` and `baseline` alternately, `repetitions` times each, swapping which goes
// first every round so that neither gains from a warmer system.
Comparison Alternate(int repetitions, const std::function<double()>& measured,
                     const std::function<double()>& baseline)
{
    Comparison result;
    for (int round = 0; round < repetitions; ++round) {
        if (round % 2 == 0) {
            result.measured.push_back(measured());
            result.baseline.push_back(baseline());
        } else {
            result.baseline.push_back(baseline());
            result.measured.push_back(measured());
        }
    }
    return result;
}

int targetsMet = 0;
int targetsMissed = 0;

const char* Verdict(bool met)
{
    ++(met ? targetsMet : targetsMissed);
    return met ? "met" : "MISSED";
}

// A measurement that could not be made ends the run: a figure without it would mean nothing.
[[noreturn]] void Abandon(const std::string& why)
{
    std::fprintf(stderr, "bench: %s\n", why.c_str());
    std::exit(1);
}

std::string Narrow(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
    if (size > 1)
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    return result;
}

// ---------------------------------------------------------------------------------------------
// Start-up

// Milliseconds from process creation until the program is idle with its main window (a visible
// top-level window of `className`) shown; the program is closed again before returning.
double TimeStartUp(const std::wstring& program, const wchar_t* className)
{
    const ProgramStart start = StartProgram(program, className, {}, 30000);
    if (start.startError != ERROR_SUCCESS)
        Abandon("cannot start " + Narrow(program) + " (error " + std::to_string(start.startError) + ")");
    if (!start.process)
        Abandon(Narrow(program) + " showed no window of its main window class");
    CloseProgram(start.process, start.mainWindow, 30000);
    return start.shownAfterMs;
}

void BenchStartUp(const std::wstring& kelvane)
{
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring notepad = std::wstring(system) + L"\\notepad.exe";

    // The first starts fill the caches (files, fonts, the server's mappings); they are not counted.
    for (int warmUp = 0; warmUp < 2; ++warmUp) {
        TimeStartUp(kelvane, L"TForm1");
        TimeStartUp(notepad, L"Notepad");
    }
    const int repetitions = 21;
    const Comparison times = Alternate(
        repetitions, [&] { return TimeStartUp(kelvane, L"TForm1"); },
        [&] { return TimeStartUp(notepad, L"Notepad"); });
    const double ratio = Median(times.measured) / Median(times.baseline);
    std::printf("start-up: Kelvane.exe %.1f ms, notepad.exe %.1f ms (medians of %d): ratio %.2f, "
                "target <= 1.00 %s\n",
                Median(times.measured), Median(times.baseline), repetitions, ratio, Verdict(ratio <= 1.0));
}

// ---------------------------------------------------------------------------------------------
// Counting registry calls

// Counts the calls made through a registry function table.
struct CallCounts {
    long open = 0, query = 0, close = 0, info = 0, enumerate = 0, remove = 0, set = 0;
    long Total() const { return open + query + close + info + enumerate + remove + set; }
};

CallCounts counted;

RegistryApi CountingRegistryApi()
{
    RegistryCallHook::hook = [](const RegistryCallFacts& facts, const std::function<LSTATUS()>& system) {
        switch (facts.call) {
        case RegistryCall::OpenKeyEx: ++counted.open; break;
        case RegistryCall::QueryValueEx: ++counted.query; break;
        case RegistryCall::SetValueEx: ++counted.set; break;
        case RegistryCall::QueryInfoKey: ++counted.info; break;
        case RegistryCall::EnumKeyEx: ++counted.enumerate; break;
        case RegistryCall::DeleteOpenedKey: ++counted.remove; break;
        case RegistryCall::CloseKey: ++counted.close; break;
        }
        return system();
    };
    return RegistryCallHook::Table();
}

// ---------------------------------------------------------------------------------------------
// The system information report

// The keys and values the report reads, with sample content of the usual kind and length.
struct SampleValue {
    HKEY root;
    const char* key;
    const char* name;
    const char* text;
};

const SampleValue kReportValues[] = {
    {HKEY_LOCAL_MACHINE, "Software\\microsoft\\windows NT\\currentversion", "registeredowner", "张伟"},
    {HKEY_LOCAL_MACHINE, "Software\\microsoft\\windows NT\\currentversion", "registeredorganization", "Tavrin软件"},
    {HKEY_LOCAL_MACHINE, "Software\\microsoft\\windows NT\\currentversion", "ProductName", "Microsoft Windows 10 Pro"},
    {HKEY_LOCAL_MACHINE, "Software\\microsoft\\windows NT\\currentversion", "ProductId", "00330-80000-00000-AA123"},
    {HKEY_LOCAL_MACHINE, "Software\\microsoft\\windows NT\\currentversion", "DevicePath", "C:\\Windows\\inf"},
    {HKEY_LOCAL_MACHINE, "Software\\microsoft\\windows NT\\currentversion", "ProgramFilesPath", "C:\\Program Files"},
    {HKEY_LOCAL_MACHINE, "Software\\microsoft\\windows NT\\currentversion", "CurrentVersion", "6.3"},
    {HKEY_LOCAL_MACHINE, "Software\\microsoft\\windows NT\\currentversion", "SystemRoot", "C:\\Windows"},
    {HKEY_LOCAL_MACHINE, "Software\\microsoft\\windows NT\\currentversion", "CurrentBuild", "19045"},
    {HKEY_LOCAL_MACHINE, "system\\currentcontrolset\\control\\computername\\computername", "computername", "DESKTOP-7K2Q"},
    {HKEY_LOCAL_MACHINE, "hardware\\description\\system\\centralprocessor\\0", "VendorIdentifier", "GenuineIntel"},
    {HKEY_LOCAL_MACHINE, "hardware\\description\\system\\centralprocessor\\0", "Identifier",
     "Intel64 Family 6 Model 158 Stepping 10"},
    {HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Internet Explorer", "Version", "9.11.19041.0"},
    {HKEY_CURRENT_USER, "Software\\microsoft\\Internet explorer\\main", "Default_Page_URL", "http://go.microsoft.com/fwlink/p/?LinkId=255141"},
    {HKEY_CURRENT_USER, "Software\\microsoft\\Internet explorer\\main", "Start Page", "about:blank"},
    {HKEY_CURRENT_USER, "Software\\microsoft\\Internet explorer\\main", "Save Directory", "C:\\Users\\张伟\\Documents\\"},
    {HKEY_USERS, ".DEFAULT\\Software\\Microsoft\\Internet Explorer", "Download Directory", "C:\\Users\\张伟\\Downloads"},
    {HKEY_CURRENT_CONFIG, "display\\settings", "BitsPerPixel", "32"},
    {HKEY_CURRENT_CONFIG, "display\\settings", "Resolution", "1920,1080"},
};

class CollectedReport final : public Report {
public:
    void Clear() override { lines.clear(); }
    void AppendLine(const std::string& line) override { lines.push_back(line); }
    void AppendValueLine(const std::string& label, const std::string& value, const std::string& suffix) override
    {
        lines.push_back(label + value + suffix);
    }
    std::vector<std::string> lines;
};

// The same platform work as the report, straight through the function table: each group's key
// opened with full access, each value queried for its size and then for its data, the key
// closed; drive C:'s counts and the temporary folder asked for once. Returns the bytes read.
size_t BareReportCalls(const RegistryApi& api)
{
    size_t bytes = 0;
    for (size_t first = 0; first < std::size(kReportValues);) {
        size_t end = first;
        while (end < std::size(kReportValues) && kReportValues[end].root == kReportValues[first].root &&
               std::strcmp(kReportValues[end].key, kReportValues[first].key) == 0)
            ++end;
        HKEY key = nullptr;
        if (api.OpenKeyEx(kReportValues[first].root, kReportValues[first].key, 0, KEY_ALL_ACCESS, &key) ==
            ERROR_SUCCESS) {
            for (size_t value = first; value < end; ++value) {
                char data[1024];
                DWORD type = 0;
                DWORD size = 0;
                if (api.QueryValueEx(key, kReportValues[value].name, nullptr, &type, nullptr, &size) ==
                        ERROR_SUCCESS &&
                    size > 0 && size <= sizeof data &&
                    api.QueryValueEx(key, kReportValues[value].name, nullptr, &type,
                                     reinterpret_cast<BYTE*>(data), &size) == ERROR_SUCCESS)
                    bytes += size;
            }
            api.CloseKey(key);
        }
        if (first == 0) {
            DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
            ::GetDiskFreeSpaceA("c:", &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters);
        }
        first = end;
    }
    char temp[256] = {};
    ::GetTempPathA(255, temp);
    return bytes;
}

void BenchSystemInfoReport()
{
    RegistrySandbox sandbox;
    for (const SampleValue& value : kReportValues)
        RegistrySandbox::SetText(value.root, value.key, value.name, value.text);

    CollectedReport report;
    Machine& machine = SystemMachine();

    // One counted run of each, to show that both make the same registry calls.
    const RegistryApi saved = ActiveRegistryApi();
    ActiveRegistryApi() = CountingRegistryApi();
    counted = {};
    RunSystemInfoReport(report, machine, ',');
    const CallCounts layerCalls = counted;
    ActiveRegistryApi() = saved;
    counted = {};
    const RegistryApi countingApi = CountingRegistryApi();
    BareReportCalls(countingApi);
    const CallCounts bareCalls = counted;
    if (report.lines.size() != 26)
        Abandon("the report has " + std::to_string(report.lines.size()) + " lines, not 26");

    // One run is some 50 calls to the server; a sample is a batch of runs.
    const int batch = 20;
    const int repetitions = 21;
    size_t bytes = 0;
    const Comparison times = Alternate(
        repetitions,
        [&] {
            const double start = Now();
            for (int run = 0; run < batch; ++run)
                RunSystemInfoReport(report, machine, ',');
            return (Now() - start) / batch;
        },
        [&] {
            const double start = Now();
            for (int run = 0; run < batch; ++run)
                bytes += BareReportCalls(SystemRegistryApi());
            return (Now() - start) / batch;
        });
    if (bytes == 0)
        Abandon("the bare calls read nothing");
    const double ratio = Median(times.measured) / Median(times.baseline);
    std::printf("system information report: RunSystemInfoReport %.3f ms, bare calls %.3f ms (medians of %d "
                "batches of %d): ratio %.2f, target <= 1.25 %s\n",
                Median(times.measured), Median(times.baseline), repetitions, batch, ratio, Verdict(ratio <= 1.25));
    std::printf("  registry calls per report: %ld open, %ld query, %ld close (bare: %ld, %ld, %ld)\n",
                layerCalls.open, layerCalls.query, layerCalls.close, bareCalls.open, bareCalls.query,
                bareCalls.close);
}

// ---------------------------------------------------------------------------------------------
// DeleteTree

constexpr char kTreeName[] = "KelvaneBenchTree";

// Creates HKCU\KelvaneBenchTree with `keys` keys in all, itself included, filled breadth first
// with 10 subkeys to a key.
void BuildTree(int keys)
{
    std::vector<HKEY> level(1);
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, kTreeName, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &level[0],
                          nullptr) != ERROR_SUCCESS)
        Abandon("cannot create the tree's root");
    int created = 1;
    while (created < keys) {
        std::vector<HKEY> next;
        for (HKEY parent : level) {
            for (int child = 0; child < 10 && created < keys; ++child, ++created) {
                HKEY key = nullptr;
                const std::string name = "Key" + std::to_string(child);
                if (::RegCreateKeyExA(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                      nullptr) != ERROR_SUCCESS)
                    Abandon("cannot create a key of the tree");
                next.push_back(key);
            }
        }
        for (HKEY parent : level)
            ::RegCloseKey(parent);
        level = std::move(next);
    }
    for (HKEY key : level)
        ::RegCloseKey(key);
}

void ExpectTreeGone(const char* deleter)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kTreeName, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        ::RegCloseKey(key);
        Abandon(std::string(deleter) + " left the tree behind");
    }
}

double TimeDeleteTree(int keys)
{
    BuildTree(keys);
    TRegistry registry;
    registry.SelectRoot(HKEY_CURRENT_USER);
    const double start = Now();
    const bool deleted = registry.DeleteTree(std::string("\\") + kTreeName);
    const double elapsed = Now() - start;
    if (!deleted)
        Abandon("TRegistry::DeleteTree failed");
    ExpectTreeGone("TRegistry::DeleteTree");
    return elapsed;
}

double TimeRegDeleteTree(int keys)
{
    BuildTree(keys);
    const double start = Now();
    const LSTATUS status = ::RegDeleteTreeA(HKEY_CURRENT_USER, kTreeName);
    const double elapsed = Now() - start;
    if (status != ERROR_SUCCESS)
        Abandon("RegDeleteTreeA failed with " + std::to_string(status));
    ExpectTreeGone("RegDeleteTreeA");
    return elapsed;
}

void BenchDeleteTree()
{
    RegistrySandbox sandbox;

    // One counted deletion: the calls TRegistry makes for each key.
    const int countedKeys = 1000;
    BuildTree(countedKeys);
    const RegistryApi saved = ActiveRegistryApi();
    ActiveRegistryApi() = CountingRegistryApi();
    counted = {};
    {
        TRegistry registry;
        registry.SelectRoot(HKEY_CURRENT_USER);
        registry.DeleteTree(std::string("\\") + kTreeName);
    }
    const CallCounts calls = counted;
    ActiveRegistryApi() = saved;
    ExpectTreeGone("TRegistry::DeleteTree");

    // Both sizes and both deleters take turns within every round, the order turning each round,
    // so that a change in the machine's load during the run reaches all four series alike. The
    // small tree, quick to build and delete and so the more easily disturbed, is timed three times
    // a round.
    const int rounds = 13;
    const int smallPerRound = 3;
    std::vector<double> small, smallBaseline, large, largeBaseline;
    const std::function<void()> runs[] = {
        [&] {
            for (int run = 0; run < smallPerRound; ++run)
                small.push_back(TimeDeleteTree(1000));
        },
        [&] {
            for (int run = 0; run < smallPerRound; ++run)
                smallBaseline.push_back(TimeRegDeleteTree(1000));
        },
        [&] { large.push_back(TimeDeleteTree(10000)); },
        [&] { largeBaseline.push_back(TimeRegDeleteTree(10000)); },
    };
    for (int round = 0; round < rounds; ++round)
        for (size_t run = 0; run < std::size(runs); ++run)
            runs[(run + static_cast<size_t>(round)) % std::size(runs)]();

    for (const int keys : {1000, 10000}) {
        const double measured = Median(keys == 1000 ? small : large);
        const double baseline = Median(keys == 1000 ? smallBaseline : largeBaseline);
        const double ratio = measured / baseline;
        std::printf("DeleteTree, %d keys: TRegistry::DeleteTree %.1f ms, RegDeleteTreeA %.1f ms (medians of %d): "
                    "ratio %.2f, target <= 1.30 %s\n",
                    keys, measured, baseline, keys == 1000 ? rounds * smallPerRound : rounds, ratio,
                    Verdict(ratio <= 1.3));
    }
    const double growth = Median(large) / Median(small);
    std::printf("DeleteTree, 10,000 keys against 1,000: %.2f times as long (RegDeleteTreeA: %.2f), "
                "target <= 11 %s\n",
                growth, Median(largeBaseline) / Median(smallBaseline), Verdict(growth <= 11.0));
    std::printf("  TRegistry::DeleteTree, registry calls per key: %.2f (open %.2f, query info %.2f, enumerate "
                "%.2f, delete %.2f, close %.2f)\n",
                static_cast<double>(calls.Total()) / countedKeys, static_cast<double>(calls.open) / countedKeys,
                static_cast<double>(calls.info) / countedKeys, static_cast<double>(calls.enumerate) / countedKeys,
                static_cast<double>(calls.remove) / countedKeys, static_cast<double>(calls.close) / countedKeys);
}

// ---------------------------------------------------------------------------------------------
// Size and imports

struct ImageFacts {
    uint64_t size = 0;
    bool stripped = false;
    std::vector<std::string> imports;
};

std::optional<std::vector<unsigned char>> ReadWholeFile(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file, &size);
    std::vector<unsigned char> data(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    const bool ok = ::ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &read, nullptr) &&
                    read == data.size();
    ::CloseHandle(file);
    if (!ok)
        return std::nullopt;
    return data;
}

// Reads the PE headers: whether symbols or debug sections are left, and the DLLs named by the
// import and delay-load import tables.
ImageFacts InspectImage(const std::wstring& path)
{
    const std::optional<std::vector<unsigned char>> file = ReadWholeFile(path);
    if (!file)
        Abandon("cannot read " + Narrow(path));
    const std::vector<unsigned char>& data = *file;
    auto fits = [&](uint64_t offset, uint64_t length) { return offset <= data.size() && length <= data.size() - offset; };
    auto at = [&](uint64_t offset) { return data.data() + offset; };

    IMAGE_DOS_HEADER dos;
    if (!fits(0, sizeof dos))
        Abandon("not a PE file");
    std::memcpy(&dos, at(0), sizeof dos);
    IMAGE_NT_HEADERS64 nt;
    if (dos.e_magic != IMAGE_DOS_SIGNATURE || !fits(static_cast<uint64_t>(dos.e_lfanew), sizeof nt))
        Abandon("not a PE file");
    std::memcpy(&nt, at(static_cast<uint64_t>(dos.e_lfanew)), sizeof nt);
    if (nt.Signature != IMAGE_NT_SIGNATURE || nt.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC)
        Abandon("not a 64-bit PE file");

    std::vector<IMAGE_SECTION_HEADER> sections(nt.FileHeader.NumberOfSections);
    const uint64_t sectionTable = static_cast<uint64_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                  nt.FileHeader.SizeOfOptionalHeader;
    if (!fits(sectionTable, sections.size() * sizeof(IMAGE_SECTION_HEADER)))
        Abandon("the section table is cut short");
    std::memcpy(sections.data(), at(sectionTable), sections.size() * sizeof(IMAGE_SECTION_HEADER));

    ImageFacts facts;
    facts.size = data.size();
    facts.stripped = nt.FileHeader.PointerToSymbolTable == 0 && nt.FileHeader.NumberOfSymbols == 0;
    for (const IMAGE_SECTION_HEADER& section : sections) {
        const std::string name(reinterpret_cast<const char*>(section.Name),
                               strnlen(reinterpret_cast<const char*>(section.Name), IMAGE_SIZEOF_SHORT_NAME));
        if (name.rfind(".debug", 0) == 0 || name.rfind("/", 0) == 0)  // "/n": a long name in the symbol strings
            facts.stripped = false;
    }

    auto offsetOf = [&](DWORD rva) -> std::optional<uint64_t> {
        for (const IMAGE_SECTION_HEADER& section : sections) {
            const DWORD extent = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
            if (rva >= section.VirtualAddress && rva - section.VirtualAddress < extent &&
                rva - section.VirtualAddress < section.SizeOfRawData)
                return static_cast<uint64_t>(section.PointerToRawData) + (rva - section.VirtualAddress);
        }
        return std::nullopt;
    };
    auto nameAt = [&](DWORD rva) {
        const std::optional<uint64_t> offset = offsetOf(rva);
        if (!offset || !fits(*offset, 1))
            Abandon("an import names a DLL outside the file");
        const char* text = reinterpret_cast<const char*>(at(*offset));
        return std::string(text, strnlen(text, data.size() - *offset));
    };

    const IMAGE_DATA_DIRECTORY& imports = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress != 0) {
        const std::optional<uint64_t> offset = offsetOf(imports.VirtualAddress);
        for (uint64_t entry = offset ? *offset : data.size();; entry += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
            IMAGE_IMPORT_DESCRIPTOR descriptor;
            if (!fits(entry, sizeof descriptor))
                Abandon("the import table is cut short");
            std::memcpy(&descriptor, at(entry), sizeof descriptor);
            if (descriptor.Name == 0)
                break;
            facts.imports.push_back(nameAt(descriptor.Name));
        }
    }
    const IMAGE_DATA_DIRECTORY& delayed = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT];
    if (delayed.VirtualAddress != 0) {
        const std::optional<uint64_t> offset = offsetOf(delayed.VirtualAddress);
        for (uint64_t entry = offset ? *offset : data.size();; entry += sizeof(IMAGE_DELAYLOAD_DESCRIPTOR)) {
            IMAGE_DELAYLOAD_DESCRIPTOR descriptor;
            if (!fits(entry, sizeof descriptor))
                Abandon("the delay-load import table is cut short");
            std::memcpy(&descriptor, at(entry), sizeof descriptor);
            if (descriptor.DllNameRVA == 0)
                break;
            facts.imports.push_back(nameAt(descriptor.DllNameRVA) + " (delay-loaded)");
        }
    }
    return facts;
}

// A system DLL is one the system itself provides in its system folder.
bool IsSystemDll(const std::string& name)
{
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::string bare = name.substr(0, name.find(' '));
    const std::wstring path = std::wstring(system) + L"\\" + std::wstring(bare.begin(), bare.end());
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void BenchSize(const std::wstring& kelvane)
{
    const ImageFacts facts = InspectImage(kelvane);
    std::string names;
    std::string foreign;
    for (const std::string& name : facts.imports) {
        names += (names.empty() ? "" : ", ") + name;
        if (!IsSystemDll(name))
            foreign += (foreign.empty() ? "" : ", ") + name;
    }
    const double kib = static_cast<double>(facts.size) / 1024.0;
    std::printf("size: Kelvane.exe %.1f KiB (%llu bytes, %s), target <= 300 KiB %s\n", kib,
                static_cast<unsigned long long>(facts.size), facts.stripped ? "stripped" : "NOT stripped",
                Verdict(kib <= 300.0 && facts.stripped));
    const std::string verdict = Verdict(foreign.empty());
    std::printf("imports: %s; target system DLLs only %s%s\n", names.c_str(), verdict.c_str(),
                foreign.empty() ? "" : (" (not in the system folder: " + foreign + ")").c_str());
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        std::fputs("usage: KelvaneBench PATH\\TO\\Kelvane.exe [start-up] [report] [delete-tree] [size]\n"
                   "  (all four figures when none is named)\n",
                   stderr);
        return 2;
    }
    const std::wstring kelvane = argv[1];
    std::vector<std::wstring> chosen(argv + 2, argv + argc);
    for (const std::wstring& name : chosen)
        if (name != L"start-up" && name != L"report" && name != L"delete-tree" && name != L"size")
            Abandon("no figure named " + Narrow(name));
    auto wanted = [&](const wchar_t* name) {
        return chosen.empty() || std::find(chosen.begin(), chosen.end(), name) != chosen.end();
    };
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    // The registry sandbox reports what it cannot set up by throwing.
    try {
        if (wanted(L"start-up"))
            BenchStartUp(kelvane);
        if (wanted(L"report"))
            BenchSystemInfoReport();
        if (wanted(L"delete-tree"))
            BenchDeleteTree();
        if (wanted(L"size"))
            BenchSize(kelvane);
    } catch (const std::exception& failure) {
        Abandon(failure.what());
    }
    std::printf("targets: %d met, %d missed\n", targetsMet, targetsMissed);
    return 0;
}
