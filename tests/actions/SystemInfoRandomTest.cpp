// Random registry states for the seven keys of the system information report, each compared
// with a model of the report's rules written from scratch (SystemInfoModel.h): which lines, with which values,
// which values are read, and which error ends the report after which lines.
//
// The seed is fixed, so every run checks the same states; KELVANE_RANDOM_SEED=random explores
// new ones (the seed is printed), KELVANE_RANDOM_SEED=<seed> replays one, and
// KELVANE_RANDOM_STATES=<n> changes the number of states (1,000 by default).

#include "actions/SystemInfoReport.h"
#include "registry/ERegistryException.h"
#include "testkit/RegistryTestSupport.h"

#include "testkit/TestDoubles.h"
#include "SystemInfoModel.h"

#include <cctype>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace system_info_model;

const char* const kKindNames[] = {"absent", "ascii", "gbk", "empty text", "embedded zero", "unterminated",
                                  "expand string", "zero length", "dword", "binary", "multi string"};

const char* const kKeyStateNames[] = {"absent", "refused", "present"};

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


// What the registry calls of one run showed.
struct Observed {
    static inline const State* state = nullptr;
    static inline std::vector<std::string> reads;
    static inline int opened = 0;
    static inline int closed = 0;

    static void Install()
    {
        RegistryCallHook::Install([](const RegistryCallFacts& facts, const std::function<LSTATUS()>& system) {
            if (facts.call == RegistryCall::OpenKeyEx) {
                for (size_t g = 0; g < kGroups.size(); ++g)
                    if (state->keys[g] == KeyState::Refused && facts.key == kGroups[g].root &&
                        lstrcmpiA(facts.name, kGroups[g].path) == 0)
                        return static_cast<LSTATUS>(ERROR_ACCESS_DENIED);
            }
            if (facts.call == RegistryCall::QueryValueEx && facts.sizeOnly)  // each text read asks the size first
                reads.push_back(facts.name);
            const LSTATUS status = system();
            opened += facts.call == RegistryCall::OpenKeyEx && status == ERROR_SUCCESS;
            closed += facts.call == RegistryCall::CloseKey;
            return status;
        });
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
