// Random registry states for the seven keys of the system information report, each compared
// with a model of the report's rules written here from scratch: which lines, with which values,
// which values are read, and which error ends the report after which lines.
//
// The seed is fixed, so every run checks the same states; KELVANE_RANDOM_SEED=random explores
// new ones (the seed is printed), KELVANE_RANDOM_SEED=<seed> replays one, and
// KELVANE_RANDOM_STATES=<n> changes the number of states (1,000 by default).

#include "actions/SystemInfoReport.h"
#include "registry/ERegistryException.h"
#include "support/RegistryTestSupport.h"

#include "ActionTestDoubles.h"

#include <cctype>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// ---- The rules, as a model ----

struct ItemRule {
    const char* label;
    int value;  // index into the group's values; -1 for the temporary folder
    const char* suffix;
};

struct GroupRule {
    HKEY root;
    const char* path;  // as the registry spells it; the report opens it in other letter cases
    std::vector<const char*> values;
    const char* heading;  // nullptr: no heading of its own
    std::vector<ItemRule> items;
};

const std::vector<GroupRule> kGroups = {
    {HKEY_LOCAL_MACHINE,
     "Software\\Microsoft\\Windows NT\\CurrentVersion",
     {"registeredowner", "registeredorganization", "ProductName", "ProductId", "DevicePath", "ProgramFilesPath",
      "CurrentVersion", "SystemRoot", "CurrentBuild"},
     "计算机系统",
     {{"用户姓名", 0, ""}, {"组织名称", 1, ""}, {"操作系统", 2, ""}, {"版本信息", 6, ""}, {"序列号码", 3, ""}}},
    {HKEY_LOCAL_MACHINE,
     "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName",
     {"computername"},
     "硬件设备",
     {{"本机名称", 0, ""}}},
    {HKEY_LOCAL_MACHINE,
     "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
     {"VendorIdentifier", "Identifier"},
     nullptr,
     {{"处理器标识", 0, ""}, {"处理器名称", 1, ""}}},
    {HKEY_LOCAL_MACHINE,
     "SOFTWARE\\Microsoft\\Internet Explorer",
     {"Version"},
     "网页浏览器",
     {{"IE版本", 0, ""}}},
    {HKEY_CURRENT_USER,
     "Software\\Microsoft\\Internet Explorer\\Main",
     {"Default_Page_URL", "Start Page", "Save Directory"},
     nullptr,
     {{"默认主页", 0, ""}, {"当前主页", 1, ""}, {"网页保存目录", 2, ""}}},
    {HKEY_USERS,
     ".DEFAULT\\Software\\Microsoft\\Internet Explorer",
     {"Download Directory"},
     nullptr,
     {{"软件下载目录", 0, ""}}},
    {HKEY_CURRENT_CONFIG,
     "Display\\Settings",
     {"BitsPerPixel", "Resolution"},
     "系统显示",
     {{"系统颜色", 0, "色"}, {"分辨率", 1, ""}}},
};
constexpr size_t kDriveLinesAfterGroup = 2;  // the two drive lines follow the processor group

std::string Heading(const char* text) { return std::string(text) + "："; }
// A value's control characters show as spaces, so it keeps to its own line.
std::string Item(const char* label, std::string value, const char* suffix)
{
    for (char& c : value)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    return std::string(5, ' ') + label + "：" + value + suffix;
}

// From build 10240 on, the version is "10.0." and the build; from 22000 on, a product name
// "Windows 10…" says "Windows 11…".
void ApplyBuildNumber(std::vector<std::string>& windows)
{
    const std::string& build = windows[8];
    const bool number = !build.empty() && build.size() <= 9 && build.find_first_not_of("0123456789") == std::string::npos;
    const unsigned long value = number ? std::stoul(build) : 0;
    if (value >= 22000 && windows[2].rfind("Windows 10", 0) == 0)
        windows[2] = "Windows 11" + windows[2].substr(10);
    if (value >= 10240)
        windows[6] = "10.0." + build;
}

// "###,##0", worked out from the left.
std::string Grouped(unsigned long long value, char separator)
{
    const std::string digits = std::to_string(value);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        text += digits[i];
        const size_t left = digits.size() - 1 - i;
        if (left > 0 && left % 3 == 0)
            text += separator;
    }
    return text;
}

enum class ValueKind { Absent, Ascii, Gbk, EmptyText, EmbeddedZero, Unterminated, ExpandText, ZeroLength,
                       Dword, Binary, MultiText };
const char* const kKindNames[] = {"absent", "ascii", "gbk", "empty text", "embedded zero", "unterminated",
                                  "expand string", "zero length", "dword", "binary", "multi string"};

struct StoredValue {
    ValueKind kind = ValueKind::Absent;
    std::string storedName;
    DWORD type = REG_NONE;
    std::string data;
    // What reading it must give.
    bool invalid = false;
    std::string text;
};

enum class KeyState { Absent, Refused, Present };
const char* const kKeyStateNames[] = {"absent", "refused", "present"};

struct State {
    KeyState keys[7];
    std::vector<StoredValue> values[7];
    Machine::DiskCounts disk;
    std::string tempPath;
    char separator = ',';
};

struct Outcome {
    std::vector<std::string> lines;
    std::vector<std::string> reads;
    std::string error;
};

Outcome Model(const State& state)
{
    Outcome outcome;
    std::vector<std::string> windowsValues(kGroups[0].values.size());
    for (size_t g = 0; g < kGroups.size(); ++g) {
        const GroupRule& group = kGroups[g];
        if (state.keys[g] == KeyState::Present) {
            std::vector<std::string> texts;
            for (size_t v = 0; v < group.values.size(); ++v) {
                outcome.reads.push_back(group.values[v]);
                const StoredValue& value = state.values[g][v];
                if (value.invalid) {
                    outcome.error = std::string("Invalid data type for '") + group.values[v] + "'";
                    return outcome;
                }
                texts.push_back(value.text);
            }
            if (g == 0) {
                ApplyBuildNumber(texts);
                windowsValues = texts;
            }
            if (group.heading)
                outcome.lines.push_back(Heading(group.heading));
            for (const ItemRule& item : group.items)
                outcome.lines.push_back(Item(item.label, texts[static_cast<size_t>(item.value)], item.suffix));
        }
        if (g == kDriveLinesAfterGroup) {
            const unsigned long long cluster =
                static_cast<unsigned long long>(state.disk.sectorsPerCluster) * state.disk.bytesPerSector;
            outcome.lines.push_back(Item("C:驱动器总共容量", Grouped(cluster * state.disk.totalClusters, state.separator), "字节"));
            outcome.lines.push_back(Item("C:驱动器可用容量", Grouped(cluster * state.disk.freeClusters, state.separator), "字节"));
        }
    }
    outcome.lines.push_back(Heading("系统目录"));
    outcome.lines.push_back(Item("系统目录", windowsValues[7], ""));
    outcome.lines.push_back(Item("系统临时目录", state.tempPath, ""));
    outcome.lines.push_back(Item("设备驱动目录", windowsValues[4], ""));
    outcome.lines.push_back(Item("软件安装目录", windowsValues[5], ""));
    return outcome;
}

// ---- Random states ----

class Generator {
public:
    explicit Generator(unsigned long long seed) : random_(seed) {}

    State Next()
    {
        State state;
        for (size_t g = 0; g < kGroups.size(); ++g) {
            const unsigned roll = Below(100);
            state.keys[g] = roll < 72 ? KeyState::Present : roll < 90 ? KeyState::Absent : KeyState::Refused;
            for (const char* name : kGroups[g].values)
                state.values[g].push_back(Value(name));
        }
        static const DWORD kSectors[] = {0, 1, 2, 4, 8, 16, 32, 64, 128};
        static const DWORD kSectorBytes[] = {0, 512, 1024, 2048, 4096};
        if (Below(10) > 0) {
            state.disk.sectorsPerCluster = kSectors[Below(std::size(kSectors))];
            state.disk.bytesPerSector = kSectorBytes[Below(std::size(kSectorBytes))];
            state.disk.totalClusters = static_cast<DWORD>(random_());
            state.disk.freeClusters = state.disk.totalClusters ? static_cast<DWORD>(random_() % state.disk.totalClusters) : 0;
        }
        static const char* const kTempPaths[] = {"", "C:\\users\\kelvane\\Temp\\", "C:\\用户\\临时\\", "D:\\T\\"};
        state.tempPath = kTempPaths[Below(std::size(kTempPaths))];
        static const char kSeparators[] = {',', '.', ' ', '\'', '_'};
        state.separator = kSeparators[Below(std::size(kSeparators))];
        return state;
    }

private:
    unsigned Below(size_t bound) { return static_cast<unsigned>(random_() % bound); }

    // Printable ASCII, now and then with a line break or another control character in it.
    std::string Ascii(size_t minimum)
    {
        std::string text;
        for (size_t n = minimum + Below(16); text.size() < n;)
            text += Below(40) == 0 ? static_cast<char>(1 + Below(31)) : static_cast<char>(' ' + Below(95));
        return text;
    }

    // A build number now and then, or a product name that says Windows 10.
    void Windows10Or11(const char* name, StoredValue& value)
    {
        static const char* const kBuilds[] = {"9600", "10239", "10240", "19045", "21999", "22000", "22631", "0"};
        if (std::string(name) == "CurrentBuild" && Below(2) == 0)
            value.text = kBuilds[Below(std::size(kBuilds))];
        else if (std::string(name) == "ProductName" && Below(3) == 0)
            value.text = "Windows 10" + Ascii(0);
        else
            return;
        value.kind = ValueKind::Ascii;
        value.type = REG_SZ;
        value.data = value.text + std::string(1, '\0');
    }

    std::string Gbk()
    {
        std::string text;
        for (size_t n = 1 + Below(8); n > 0; --n) {
            if (Below(3) == 0) {
                text += static_cast<char>('A' + Below(26));
            } else {  // a GB2312 character
                text += static_cast<char>(0xB0 + Below(0xF7 - 0xB0 + 1));
                text += static_cast<char>(0xA1 + Below(0xFE - 0xA1 + 1));
            }
        }
        return text;
    }

    StoredValue Value(const char* name)
    {
        StoredValue value;
        switch (Below(3)) {
        case 0: value.storedName = name; break;
        case 1: for (const char* c = name; *c; ++c) value.storedName += static_cast<char>(::toupper(*c)); break;
        default: for (const char* c = name; *c; ++c) value.storedName += static_cast<char>(::tolower(*c)); break;
        }
        // Wrong-typed data is rare enough that most states get past the first groups.
        const unsigned roll = Below(100);
        value.kind = roll < 3 ? static_cast<ValueKind>(static_cast<unsigned>(ValueKind::Dword) + Below(3))
                              : static_cast<ValueKind>(Below(static_cast<unsigned>(ValueKind::ZeroLength) + 1));
        const std::string zero(1, '\0');
        switch (value.kind) {
        case ValueKind::Absent: break;
        case ValueKind::Ascii: value.type = REG_SZ; value.text = Ascii(1); value.data = value.text + zero; break;
        case ValueKind::Gbk: value.type = REG_SZ; value.text = Gbk(); value.data = value.text + zero; break;
        case ValueKind::EmptyText: value.type = REG_SZ; value.data = zero; break;
        case ValueKind::EmbeddedZero:
            value.type = REG_SZ;
            value.text = Ascii(0);
            value.data = value.text + zero + Ascii(1) + zero;
            break;
        case ValueKind::Unterminated: value.type = REG_SZ; value.text = Ascii(1); value.data = value.text; break;
        case ValueKind::ExpandText:
            value.type = REG_EXPAND_SZ;
            value.text = "%SystemRoot%\\" + Ascii(0);
            value.data = value.text + zero;
            break;
        case ValueKind::ZeroLength: {
            static const DWORD kTypes[] = {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_MULTI_SZ, REG_QWORD};
            value.type = kTypes[Below(std::size(kTypes))];
            break;
        }
        case ValueKind::Dword:
            value.type = REG_DWORD;
            for (int i = 0; i < 4; ++i)
                value.data += static_cast<char>(Below(256));
            value.invalid = true;
            break;
        case ValueKind::Binary:
            value.type = REG_BINARY;
            for (size_t n = 1 + Below(8); n > 0; --n)
                value.data += static_cast<char>(Below(256));
            value.invalid = true;
            break;
        case ValueKind::MultiText:
            value.type = REG_MULTI_SZ;
            value.data = Ascii(1) + zero + Ascii(1) + zero + zero;
            value.invalid = true;
            break;
        }
        if (!value.invalid)
            Windows10Or11(name, value);
        return value;
    }

    std::mt19937_64 random_;
};

std::string Describe(const State& state)
{
    std::ostringstream text;
    for (size_t g = 0; g < kGroups.size(); ++g) {
        text << "  key " << kGroups[g].path << ": " << kKeyStateNames[static_cast<int>(state.keys[g])] << "\n";
        for (const StoredValue& value : state.values[g]) {
            text << "    " << value.storedName << ": " << kKindNames[static_cast<int>(value.kind)];
            if (value.kind != ValueKind::Absent) {
                text << ", type " << value.type << ", data";
                for (unsigned char byte : value.data)
                    text << ' ' << std::hex << static_cast<int>(byte) << std::dec;
            }
            text << "\n";
        }
    }
    text << "  disk " << state.disk.sectorsPerCluster << " " << state.disk.bytesPerSector << " "
         << state.disk.freeClusters << " " << state.disk.totalClusters << ", separator '" << state.separator
         << "', temporary folder '" << state.tempPath << "'\n";
    return text.str();
}

void Apply(const State& state)
{
    for (size_t g = 0; g < kGroups.size(); ++g) {
        // Every key of the seven is a leaf here, so deleting it takes its values with it.
        ::RegDeleteKeyA(kGroups[g].root, kGroups[g].path);
        if (state.keys[g] == KeyState::Absent)
            continue;
        HKEY key = nullptr;
        if (::RegCreateKeyExA(kGroups[g].root, kGroups[g].path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr) != ERROR_SUCCESS)
            throw std::runtime_error(std::string("cannot create ") + kGroups[g].path);
        for (const StoredValue& value : state.values[g]) {
            if (value.kind != ValueKind::Absent)
                ::RegSetValueExA(key, value.storedName.c_str(), 0, value.type,
                                 reinterpret_cast<const BYTE*>(value.data.data()), static_cast<DWORD>(value.data.size()));
        }
        ::RegCloseKey(key);
    }
}

// What the registry calls of one run showed.
struct Observed {
    static inline const State* state = nullptr;
    static inline std::vector<std::string> reads;
    static inline int opened = 0;
    static inline int closed = 0;

    static void Install()
    {
        ActiveRegistryApi().OpenKeyEx = [](HKEY base, LPCSTR path, DWORD options, REGSAM access,
                                           PHKEY result) -> LSTATUS {
            for (size_t g = 0; g < kGroups.size(); ++g) {
                if (state->keys[g] == KeyState::Refused && base == kGroups[g].root &&
                    lstrcmpiA(path, kGroups[g].path) == 0)
                    return ERROR_ACCESS_DENIED;
            }
            const LSTATUS status = SystemRegistryApi().OpenKeyEx(base, path, options, access, result);
            if (status == ERROR_SUCCESS)
                ++opened;
            return status;
        };
        ActiveRegistryApi().QueryValueEx = [](HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                              LPDWORD size) -> LSTATUS {
            if (!data)  // each text read asks for the size first
                reads.push_back(name);
            return SystemRegistryApi().QueryValueEx(key, name, reserved, type, data, size);
        };
        ActiveRegistryApi().CloseKey = [](HKEY key) -> LSTATUS {
            ++closed;
            return SystemRegistryApi().CloseKey(key);
        };
    }
};

unsigned long long NumberFromEnvironment(const char* name, unsigned long long otherwise)
{
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 10) : otherwise;
}

std::string Listed(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "    [" + line + "]\n";
    return text;
}

class SystemInfoRandomStates : public RegistryTest {};

} // namespace

TEST_F(SystemInfoRandomStates, EveryStateGivesWhatTheRulesSay)
{
    const char* seedSetting = std::getenv("KELVANE_RANDOM_SEED");
    const unsigned long long seed =
        seedSetting && std::string(seedSetting) == "random"
            ? std::random_device{}() ^ (static_cast<unsigned long long>(::GetTickCount64()) << 20)
            : NumberFromEnvironment("KELVANE_RANDOM_SEED", 20261209);
    const unsigned long long count = NumberFromEnvironment("KELVANE_RANDOM_STATES", 1000);
    std::cout << "random registry states: " << count << " from seed " << seed
              << " (replay with KELVANE_RANDOM_SEED=" << seed << ")" << std::endl;
    RecordProperty("seed", std::to_string(seed));

    Generator generator(seed);
    int errors = 0;
    for (unsigned long long n = 0; n < count; ++n) {
        const State state = generator.Next();
        Apply(state);
        Observed::state = &state;
        Observed::reads.clear();
        Observed::opened = Observed::closed = 0;
        Observed::Install();

        MemoReport report;
        FakeMachine machine;
        machine.disk = state.disk;
        machine.tempPath = state.tempPath;
        Outcome seen;
        try {
            RunSystemInfoReport(report, machine, state.separator);
        } catch (const ERegistryException& error) {
            seen.error = error.Message();
        }
        ActiveRegistryApi() = SystemRegistryApi();
        seen.lines = report.lines;
        seen.reads = Observed::reads;
        errors += !seen.error.empty();

        const Outcome expected = Model(state);
        if (seen.lines != expected.lines || seen.reads != expected.reads || seen.error != expected.error ||
            Observed::opened != Observed::closed) {
            ADD_FAILURE() << "state " << n << " of seed " << seed << " (replay with KELVANE_RANDOM_SEED=" << seed
                          << ")\n"
                          << Describe(state) << "lines expected:\n" << Listed(expected.lines) << "lines seen:\n"
                          << Listed(seen.lines) << "reads expected:\n" << Listed(expected.reads) << "reads seen:\n"
                          << Listed(seen.reads) << "error expected [" << expected.error << "], seen [" << seen.error
                          << "]\nkeys opened " << Observed::opened << ", closed " << Observed::closed;
            return;
        }
    }
    std::cout << "states checked: " << count << ", of which ended by an error: " << errors << std::endl;
}
