// Every call that the five commands make to the registry function table, the machine and the
// message dialog fails once, one call per run, each run on a fresh fixture. A model of the rules
// says what each failure must give: which failures only skip a step, which raise which message,
// which lines and values stay, what a deletion leaves. Every run is checked against it, with every
// handle opened through the table closed exactly once and an export of the whole sandbox
// compared with what the model leaves there.

#include "actions/SystemInfoReport.h"
#include "actions/TuningActions.h"
#include "common/Exception.h"
#include "common/ProductInfo.h"
#include "common/Text.h"
#include "registry/ERegistryException.h"
#include "testkit/RegistryTestSupport.h"

#include "testkit/TestDoubles.h"
#include "SystemInfoModel.h"
#include "TuningRules.h"

#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Snapshot = RegistrySandbox::Snapshot;
using tuning_rules::ListRule;
using tuning_rules::NamedValue;

// ---- Keys as the export names them ----

const char* RootName(HKEY key)
{
    if (key == HKEY_CURRENT_USER)
        return "HKCU";
    if (key == HKEY_LOCAL_MACHINE)
        return "HKLM";
    if (key == HKEY_USERS)
        return "HKU";
    if (key == HKEY_CURRENT_CONFIG)
        return "HKCC";
    return nullptr;
}

// The fixtures' names are plain ASCII, so they read the same under every code page.
std::wstring KeyName(HKEY root, const std::string& path)
{
    return WideFromAnsi(std::string(RootName(root)) + (path.empty() ? "" : "\\" + path));
}

bool SameName(const std::wstring& left, const std::wstring& right)
{
    return ::CompareStringOrdinal(left.data(), static_cast<int>(left.size()), right.data(),
                                  static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

bool AtOrUnder(const std::wstring& key, const std::wstring& top)
{
    return key.size() >= top.size() && SameName(key.substr(0, top.size()), top) &&
           (key.size() == top.size() || key[top.size()] == L'\\');
}

std::string Shown(const std::wstring& name) { return GbkFromWide(name); }

// String data as the wide export holds it.
RegistrySandbox::Value Stored(const RegistrySandbox::Value& ansi)
{
    if (ansi.type != REG_SZ && ansi.type != REG_EXPAND_SZ)
        return ansi;
    const std::wstring wide = WideFromAnsi(ansi.data);
    return {ansi.type, std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t))};
}

// ---- The registry table, traced and failed on demand ----

enum class Api { OpenKeyEx, QueryValueEx, SetValueEx, QueryInfoKey, EnumKeyEx, DeleteOpenedKey, CloseKey };
constexpr const char* kApiNames[] = {"OpenKeyEx",  "QueryValueEx",    "SetValueEx", "QueryInfoKey",
                                     "EnumKeyEx", "DeleteOpenedKey", "CloseKey"};

struct Call {
    Api api;
    std::wstring key{};  // the key it acts on; for an open, the key it opens
    std::string name{};  // the value it names, or the subkey name an enumeration gave
    DWORD options = 0;  // of an open
    bool sizeQuery = false;  // a value query without a data buffer
};

// Every call numbered from 0 and traced; the one numbered `failing` is answered with `failure`
// instead. Handles are followed from their open to their close.
struct SweptRegistry {
    static inline long failing = -1;
    static inline LSTATUS failure = ERROR_SUCCESS;
    static inline std::vector<Call> calls;
    static inline std::map<HKEY, std::wstring> open;  // opened through the table, not yet closed
    static inline std::vector<std::wstring> deletable;  // the only trees a key may be deleted from
    static inline std::vector<std::string> misuse;

    static void Install(long failingCall, LSTATUS failingStatus, std::vector<std::wstring> deletableTrees)
    {
        failing = failingCall;
        failure = failingStatus;
        calls.clear();
        open.clear();
        deletable = std::move(deletableTrees);
        misuse.clear();

        RegistryApi& api = ActiveRegistryApi();
        api.OpenKeyEx = [](HKEY base, LPCSTR path, DWORD options, REGSAM access, PHKEY result) -> LSTATUS {
            std::wstring key = PathOf(base);
            if (path && *path)
                key += L"\\" + WideFromAnsi(path);
            if (Next({Api::OpenKeyEx, key, "", options}))
                return failure;
            const LSTATUS status = SystemRegistryApi().OpenKeyEx(base, path, options, access, result);
            if (status == ERROR_SUCCESS)
                open[*result] = key;
            return status;
        };
        api.QueryValueEx = [](HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                              LPDWORD size) -> LSTATUS {
            if (Next({Api::QueryValueEx, PathOf(key), name ? name : "", 0, data == nullptr}))
                return failure;
            return SystemRegistryApi().QueryValueEx(key, name, reserved, type, data, size);
        };
        api.SetValueEx = [](HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                            DWORD size) -> LSTATUS {
            if (Next({Api::SetValueEx, PathOf(key), name ? name : ""}))
                return failure;
            return SystemRegistryApi().SetValueEx(key, name, reserved, type, data, size);
        };
        api.QueryInfoKey = [](HKEY key, LPSTR className, LPDWORD classSize, LPDWORD reserved, LPDWORD subkeys,
                              LPDWORD longestSubkey, LPDWORD longestClass, LPDWORD values, LPDWORD longestValueName,
                              LPDWORD longestValue, LPDWORD security, PFILETIME written) -> LSTATUS {
            if (Next({Api::QueryInfoKey, PathOf(key)}))
                return failure;
            return SystemRegistryApi().QueryInfoKey(key, className, classSize, reserved, subkeys, longestSubkey,
                                                    longestClass, values, longestValueName, longestValue, security,
                                                    written);
        };
        api.EnumKeyEx = [](HKEY key, DWORD index, LPSTR name, LPDWORD size, LPDWORD reserved, LPSTR className,
                           LPDWORD classSize, PFILETIME written) -> LSTATUS {
            if (Next({Api::EnumKeyEx, PathOf(key)}))
                return failure;
            const LSTATUS status =
                SystemRegistryApi().EnumKeyEx(key, index, name, size, reserved, className, classSize, written);
            if (status == ERROR_SUCCESS)
                calls.back().name.assign(name, *size);
            return status;
        };
        api.DeleteOpenedKey = [](HKEY key) -> LSTATUS {
            const std::wstring path = PathOf(key);
            bool inside = false;
            for (const std::wstring& tree : deletable)
                inside = inside || AtOrUnder(path, tree);
            if (!inside)
                misuse.push_back("deletes " + Shown(path) + ", outside the trees it was given");
            if (Next({Api::DeleteOpenedKey, path}))
                return failure;
            return SystemRegistryApi().DeleteOpenedKey(key);
        };
        api.CloseKey = [](HKEY key) -> LSTATUS {
            const auto entry = open.find(key);
            if (entry == open.end())
                misuse.push_back("closes a handle that is not open");
            const bool fails = Next({Api::CloseKey, entry == open.end() ? L"?" : entry->second});
            if (entry != open.end())
                open.erase(entry);
            // Released all the same, so the next run starts clean; the program must carry on as
            // if the close had worked, and never close the handle again.
            const LSTATUS status = SystemRegistryApi().CloseKey(key);
            return fails ? failure : status;
        };
    }

private:
    static bool Next(Call call)
    {
        calls.push_back(std::move(call));
        return static_cast<long>(calls.size()) - 1 == failing;
    }

    static std::wstring PathOf(HKEY key)
    {
        if (const char* root = RootName(key))
            return WideFromAnsi(root);
        const auto entry = open.find(key);
        return entry == open.end() ? L"?" : entry->second;
    }
};

// ---- One run, and what the rules say it must give ----

enum class Seam { Registry, Machine, Dialog };

struct Fault {
    Seam seam = Seam::Registry;
    long call = -1;  // -1: no fault
    LSTATUS status = ERROR_SUCCESS;  // for the registry
};

struct Outcome {
    std::vector<std::string> lines;
    std::string error;  // a registry message; "" for none
    std::vector<std::string> reads;  // values whose size was asked, in order
    std::vector<std::string> shown;  // texts of message dialogs
    std::vector<std::string> handedOver;  // files handed to the shell
    Snapshot registry;
};

struct Observed : Outcome {
    std::string unexpected;  // any failure other than the three registry messages
    std::vector<std::string> misuse;
    std::vector<std::wstring> leftOpen;
    std::vector<Call> registryCalls;
    std::vector<std::string> machineCalls;
    long dialogs = 0;
};

// The fault-free run: the calls each fault index refers to.
struct Baseline {
    Snapshot before;
    std::vector<Call> registry;
    std::vector<std::string> machine;
    long dialogs = 0;
};

const char kPreviousReport[] = "(the report of the command before)";
const char kDialogFailure[] = "cannot show the message dialog";  // as the real dialog raises it

class Command {
public:
    virtual ~Command() = default;
    virtual const char* Name() const = 0;
    // Rebuilds what the runs may change.
    virtual void Build() = 0;
    virtual void Execute(Report& report, FakeMachine& machine,
                         const std::function<void(const std::string&)>& showMessage) = 0;
    // Throws std::logic_error for a call that no rule covers.
    virtual Outcome Expect(const Fault& fault, const Baseline& baseline) const = 0;
    virtual std::vector<std::wstring> DeletableTrees() const { return {}; }
};

std::logic_error NoRuleFor(const Call& call)
{
    return std::logic_error(std::string("no rule for ") + kApiNames[static_cast<int>(call.api)] + " on " +
                            Shown(call.key));
}

Observed RunOnce(Command& command, const Fault& fault)
{
    command.Build();
    SweptRegistry::Install(fault.seam == Seam::Registry ? fault.call : -1, fault.status, command.DeletableTrees());
    MemoReport report;
    report.lines = {kPreviousReport};
    Observed seen;
    FakeMachine machine;
    machine.log = &seen.machineCalls;
    machine.failingCall = fault.seam == Seam::Machine ? static_cast<int>(fault.call) : -1;
    const auto showMessage = [&](const std::string& text) {
        if (seen.dialogs++ == fault.call && fault.seam == Seam::Dialog)
            throw Exception(kDialogFailure);
        seen.shown.push_back(text);
    };

    try {
        command.Execute(report, machine, showMessage);
    } catch (const ERegistryException& error) {
        seen.error = error.Message();
    } catch (const std::exception& failure) {
        seen.unexpected = failure.what();
    } catch (...) {
        seen.unexpected = "(a failure of no known kind)";
    }
    ActiveRegistryApi() = SystemRegistryApi();

    seen.lines = report.lines;
    seen.registryCalls = SweptRegistry::calls;
    for (const Call& call : SweptRegistry::calls) {
        if (call.api == Api::QueryValueEx && call.sizeQuery)
            seen.reads.push_back(call.name);
    }
    for (const FakeMachine::ShellCall& handOff : machine.shellCalls)
        seen.handedOver.push_back(handOff.file);
    seen.registry = RegistrySandbox::Export();
    seen.misuse = SweptRegistry::misuse;
    for (const auto& [handle, key] : SweptRegistry::open)
        seen.leftOpen.push_back(key);
    return seen;
}

std::string Listed(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += "    [" + line + "]\n";
    return text;
}

// The registry matches names without regard to letter case, and so do these comparisons: a
// value written again under another spelling keeps the one it had.
template <typename Map, typename Same>
bool SameEntries(const Map& left, const Map& right, Same same)
{
    if (left.size() != right.size())
        return false;
    for (const auto& [name, entry] : left) {
        const auto other = right.find(name);
        if (other == right.end() || !same(entry, other->second))
            return false;
    }
    return true;
}

bool SameValues(const RegistrySandbox::KeyValues& left, const RegistrySandbox::KeyValues& right)
{
    return SameEntries(left, right, [](const auto& a, const auto& b) { return a == b; });
}

bool SameRegistry(const Snapshot& left, const Snapshot& right) { return SameEntries(left, right, SameValues); }

// The first differences, enough to see what went wrong.
std::string Difference(const Snapshot& expected, const Snapshot& seen)
{
    std::string text;
    int count = 0;
    const auto note = [&](const char* what, const std::wstring& key, const std::wstring& value = L"") {
        if (++count <= 12)
            text += std::string("    ") + what + " " + Shown(key) + (value.empty() ? "" : " : " + Shown(value)) + "\n";
    };
    for (const auto& [key, values] : expected) {
        const auto other = seen.find(key);
        if (other == seen.end()) {
            note("missing key", key);
            continue;
        }
        for (const auto& [name, value] : values) {
            const auto found = other->second.find(name);
            if (found == other->second.end())
                note("missing value", key, name);
            else if (!(found->second == value))
                note("other data in", key, name);
        }
        for (const auto& [name, value] : other->second) {
            if (!values.contains(name))
                note("unexpected value", key, name);
        }
    }
    for (const auto& [key, values] : seen) {
        if (!expected.contains(key))
            note("unexpected key", key);
    }
    if (count > 12)
        text += "    and " + std::to_string(count - 12) + " more\n";
    return text;
}

std::string Describe(const Fault& fault, const Baseline& baseline)
{
    std::ostringstream text;
    if (fault.call < 0)
        return "no fault";
    switch (fault.seam) {
    case Seam::Registry: {
        const Call& call = baseline.registry[static_cast<size_t>(fault.call)];
        text << "registry call " << fault.call << " of " << baseline.registry.size() << ", "
             << kApiNames[static_cast<int>(call.api)] << " on " << Shown(call.key);
        if (!call.name.empty())
            text << " '" << call.name << "'";
        text << ", failed with " << fault.status;
        break;
    }
    case Seam::Machine:
        text << "machine call " << fault.call << " (" << baseline.machine[static_cast<size_t>(fault.call)]
             << ") failed";
        break;
    case Seam::Dialog:
        text << "message dialog " << fault.call << " failed";
        break;
    }
    return text.str();
}

// Empty when the run gave what the rules say.
std::string Mismatch(const Command& command, const Fault& fault, const Baseline& baseline, const Observed& seen)
{
    std::ostringstream text;
    if (!seen.unexpected.empty())
        text << "  a failure other than the registry messages escaped: " << seen.unexpected << "\n";
    for (const std::string& misuse : seen.misuse)
        text << "  the command " << misuse << "\n";
    for (const std::wstring& key : seen.leftOpen)
        text << "  left open: " << Shown(key) << "\n";
    Outcome expected;
    try {
        expected = command.Expect(fault, baseline);
    } catch (const std::logic_error& missing) {
        return text.str() + "  the model has " + missing.what() + "\n";
    }
    if (seen.error != expected.error)
        text << "  error expected [" << expected.error << "], seen [" << seen.error << "]\n";
    if (seen.lines != expected.lines)
        text << "  lines expected:\n" << Listed(expected.lines) << "  lines seen:\n" << Listed(seen.lines);
    if (seen.reads != expected.reads)
        text << "  reads expected:\n" << Listed(expected.reads) << "  reads seen:\n" << Listed(seen.reads);
    if (seen.shown != expected.shown)
        text << "  dialogs expected:\n" << Listed(expected.shown) << "  dialogs seen:\n" << Listed(seen.shown);
    if (seen.handedOver != expected.handedOver)
        text << "  hand-offs expected:\n"
             << Listed(expected.handedOver) << "  hand-offs seen:\n"
             << Listed(seen.handedOver);
    if (!SameRegistry(seen.registry, expected.registry))
        text << "  the registry differs from what the rules leave:\n" << Difference(expected.registry, seen.registry);
    return text.str();
}

// The fault-free run, then one run for every call with that call failing; stops at the first run
// that breaks a rule.
void Sweep(Command& command)
{
    const ULONGLONG started = ::GetTickCount64();
    Baseline baseline;
    command.Build();
    baseline.before = RegistrySandbox::Export();
    {
        const Observed clean = RunOnce(command, Fault{});
        baseline.registry = clean.registryCalls;
        baseline.machine = clean.machineCalls;
        baseline.dialogs = clean.dialogs;
        const std::string problems = Mismatch(command, Fault{}, baseline, clean);
        if (!problems.empty()) {
            ADD_FAILURE() << command.Name() << ", without a fault:\n" << problems;
            return;
        }
    }

    std::vector<Fault> faults;
    for (size_t call = 0; call < baseline.registry.size(); ++call) {
        const long index = static_cast<long>(call);
        faults.push_back({Seam::Registry, index, ERROR_ACCESS_DENIED});
        const Api api = baseline.registry[call].api;
        if (api == Api::EnumKeyEx || api == Api::QueryValueEx)
            faults.push_back({Seam::Registry, index, ERROR_MORE_DATA});
    }
    for (size_t call = 0; call < baseline.machine.size(); ++call)
        faults.push_back({Seam::Machine, static_cast<long>(call)});
    for (long call = 0; call < baseline.dialogs; ++call)
        faults.push_back({Seam::Dialog, call});

    for (const Fault& fault : faults) {
        const std::string problems = Mismatch(command, fault, baseline, RunOnce(command, fault));
        if (!problems.empty()) {
            ADD_FAILURE() << command.Name() << ", " << Describe(fault, baseline) << ":\n" << problems;
            return;
        }
    }

    std::map<std::string, int> byApi;
    for (const Call& call : baseline.registry)
        ++byApi[kApiNames[static_cast<int>(call.api)]];
    std::cout << command.Name() << ": without a fault " << baseline.registry.size() << " registry calls (";
    const char* separator = "";
    for (const auto& [api, count] : byApi) {
        std::cout << separator << api << " " << count;
        separator = ", ";
    }
    const double seconds = static_cast<double>(::GetTickCount64() - started) / 1000;
    std::cout << "), " << baseline.machine.size() << " machine calls, " << baseline.dialogs << " dialogs; injected "
              << faults.size() << " faults in " << seconds << " s" << std::endl;
}

// ---- System information report ----

system_info_model::StoredValue Text(const char* storedName, const std::string& text, DWORD type = REG_SZ)
{
    system_info_model::StoredValue value;
    value.kind = system_info_model::ValueKind::Ascii;
    value.storedName = storedName;
    value.type = type;
    value.text = text;
    value.data = text + '\0';
    return value;
}

class SystemInfoCommand : public Command {
public:
    SystemInfoCommand()
    {
        using system_info_model::KeyState;
        // Every key there and every value a string, the build number saying Windows 11.
        state_.values[0] = {Text("RegisteredOwner", "张三"),
                            Text("RegisteredOrganization", "Kelvane 测试部"),
                            Text("ProductName", "Windows 10 Pro"),
                            Text("ProductId", "00330-80000-00000-AA123"),
                            Text("DevicePath", "%SystemRoot%\\inf", REG_EXPAND_SZ),
                            Text("ProgramFilesPath", "C:\\Program Files"),
                            Text("CurrentVersion", "6.3"),
                            Text("SystemRoot", "C:\\Windows"),
                            Text("CurrentBuild", "22631")};
        state_.values[1] = {Text("ComputerName", "TESTPC")};
        state_.values[2] = {Text("VendorIdentifier", "GenuineIntel"), Text("Identifier", "Intel64 Family 6")};
        state_.values[3] = {Text("Version", "11.0.22621.1")};
        state_.values[4] = {Text("Default_Page_URL", "http://www.kelvane.example/"),
                            Text("Start Page", "about:blank"), Text("Save Directory", "C:\\下载\\网页")};
        state_.values[5] = {Text("Download Directory", "C:\\下载")};
        state_.values[6] = {Text("BitsPerPixel", "32"), Text("Resolution", "1920,1080")};
        for (KeyState& key : state_.keys)
            key = KeyState::Present;
        state_.disk = {8, 512, 2621440, 26214400};
        state_.tempPath = "C:\\Users\\张三\\AppData\\Local\\Temp\\";
        state_.separator = ',';
    }

    const char* Name() const override { return "system information report"; }

    // The report only reads: the export after every run shows the fixture untouched.
    void Build() override
    {
        if (!built_)
            system_info_model::Apply(state_);
        built_ = true;
    }

    void Execute(Report& report, FakeMachine& machine, const std::function<void(const std::string&)>&) override
    {
        machine.disk = state_.disk;
        machine.tempPath = state_.tempPath;
        RunSystemInfoReport(report, machine, state_.separator);
    }

    // A key that does not open skips its group; a size query that fails reads as empty; a data
    // fetch that fails raises; a failed query of the machine gives zero counts or no folder.
    Outcome Expect(const Fault& fault, const Baseline& baseline) const override
    {
        using namespace system_info_model;
        State state = state_;
        if (fault.call >= 0 && fault.seam == Seam::Registry) {
            const Call& call = baseline.registry[static_cast<size_t>(fault.call)];
            if (call.api == Api::OpenKeyEx) {
                state.keys[GroupOf(call)] = KeyState::Refused;
            } else if (call.api == Api::QueryValueEx) {
                const size_t group = GroupOf(call);
                size_t value = 0;
                while (value < kGroups[group].values.size() && call.name != kGroups[group].values[value])
                    ++value;
                if (value == kGroups[group].values.size())
                    throw NoRuleFor(call);
                if (call.sizeQuery)
                    state.values[group][value] = StoredValue{};
                else
                    state.values[group][value].fetchFails = true;
            } else if (call.api != Api::CloseKey) {
                throw NoRuleFor(call);
            }
        } else if (fault.call >= 0 && fault.seam == Seam::Machine) {
            const std::string& call = baseline.machine[static_cast<size_t>(fault.call)];
            if (call == "drive C:")
                state.disk = {};
            else if (call == "temporary folder")
                state.tempPath.clear();
            else
                throw std::logic_error("no rule for the machine's " + call);
        }
        const system_info_model::Outcome model = Model(state);
        Outcome outcome;
        outcome.lines = model.lines;
        outcome.error = model.error;
        outcome.reads = model.reads;
        outcome.registry = baseline.before;
        return outcome;
    }

private:
    static size_t GroupOf(const Call& call)
    {
        using system_info_model::kGroups;
        for (size_t group = 0; group < kGroups.size(); ++group) {
            if (SameName(call.key, KeyName(kGroups[group].root, kGroups[group].path)))
                return group;
        }
        throw NoRuleFor(call);
    }

    system_info_model::State state_;
    bool built_ = false;
};

// ---- The three registry tuning actions ----

// A step opens its key; only when it opened does it write its values in order, append its
// lines and delete its lists. A list still there after its deletion is named after the lines.
struct StepRule {
    const char* key;
    std::vector<NamedValue> writes;
    std::vector<std::string> lines;
    std::vector<const ListRule*> lists;
};

struct TuningRule {
    const char* name;
    HKEY root;
    std::vector<std::string> opening;  // appended before the registry object is made
    std::vector<StepRule> steps;
    std::vector<std::string> closing;  // appended after it is freed, unless an error was raised
};

class TuningCommand : public Command {
public:
    TuningCommand(TuningRule rule, std::function<void()> build, std::function<void(Report&)> run)
        : rule_(std::move(rule)), build_(std::move(build)), run_(std::move(run))
    {
    }

    const char* Name() const override { return rule_.name; }
    void Build() override { build_(); }
    void Execute(Report& report, FakeMachine&, const std::function<void(const std::string&)>&) override
    {
        run_(report);
    }

    std::vector<std::wstring> DeletableTrees() const override
    {
        std::vector<std::wstring> trees;
        for (const StepRule& step : rule_.steps)
            for (const ListRule* list : step.lists)
                trees.push_back(KeyName(rule_.root, list->Path()));
        return trees;
    }

    // A step whose key does not open is skipped; a write that fails raises and ends the action,
    // the closing lines included; deletions never raise and only leave keys behind.
    Outcome Expect(const Fault& fault, const Baseline& baseline) const override
    {
        if (fault.call >= 0 && fault.seam != Seam::Registry)
            throw std::logic_error("no rule for a machine call or a dialog");
        const Call* failing = fault.call >= 0 ? &baseline.registry[static_cast<size_t>(fault.call)] : nullptr;
        if (failing && !Covered(*failing))
            throw NoRuleFor(*failing);

        Outcome outcome;
        outcome.registry = baseline.before;
        outcome.lines = rule_.opening;
        for (const StepRule& step : rule_.steps) {
            const std::wstring key = KeyName(rule_.root, step.key);
            if (failing && IsOpenOf(*failing, key))
                continue;
            for (const NamedValue& write : step.writes) {
                if (failing && IsWriteOf(*failing, key, write)) {
                    outcome.error = std::string("Failed to set data for '") + write.name + "'";
                    return outcome;
                }
                outcome.registry[key][WideFromAnsi(write.name)] = Stored(write.value);
            }
            outcome.lines.insert(outcome.lines.end(), step.lines.begin(), step.lines.end());
            for (const ListRule* list : step.lists) {
                const std::wstring tree = KeyName(rule_.root, list->Path());
                if (Delete(outcome.registry, tree, failing && IsDeletionIn(*failing, tree) ? failing : nullptr,
                           fault.status))
                    outcome.lines.push_back(list->NotCleared());
            }
        }
        outcome.lines.insert(outcome.lines.end(), rule_.closing.begin(), rule_.closing.end());
        return outcome;
    }

private:
    static bool IsOpenOf(const Call& call, const std::wstring& key)
    {
        return call.api == Api::OpenKeyEx && call.options == 0 && SameName(call.key, key);
    }
    static bool IsWriteOf(const Call& call, const std::wstring& key, const NamedValue& write)
    {
        return call.api == Api::SetValueEx && SameName(call.key, key) &&
               SameName(WideFromAnsi(call.name), WideFromAnsi(write.name));
    }
    // DeleteTree opens every key as itself, links included.
    static bool IsDeletionIn(const Call& call, const std::wstring& tree)
    {
        const bool deleting = (call.api == Api::OpenKeyEx && call.options == REG_OPTION_OPEN_LINK) ||
                              call.api == Api::QueryInfoKey || call.api == Api::EnumKeyEx ||
                              call.api == Api::DeleteOpenedKey || call.api == Api::CloseKey;
        return deleting && AtOrUnder(call.key, tree);
    }
    // Closing a key changes nothing the user sees, whichever key it is.
    bool Covered(const Call& call) const
    {
        if (call.api == Api::CloseKey)
            return true;
        for (const StepRule& step : rule_.steps) {
            const std::wstring key = KeyName(rule_.root, step.key);
            if (IsOpenOf(call, key))
                return true;
            for (const NamedValue& write : step.writes)
                if (IsWriteOf(call, key, write))
                    return true;
            for (const ListRule* list : step.lists)
                if (IsDeletionIn(call, KeyName(rule_.root, list->Path())))
                    return true;
        }
        return false;
    }

    // Removes the list's tree from `registry` as far as the failing call lets the deletion go;
    // true when the list's own key stays. A key goes once its subkeys have gone: a key that does
    // not open, or whose subkeys cannot be counted, goes only when it has none; a subkey whose
    // name cannot be fetched stays with its whole tree; a name that needs more room is fetched
    // again; a key whose deletion is refused stays.
    static bool Delete(Snapshot& registry, const std::wstring& list, const Call* failing, LSTATUS status)
    {
        std::wstring stays;  // the key that stays, and with it every key above it in the list
        bool whole = false;  // and everything below it
        if (failing) {
            const auto hasSubkeys = [&](const std::wstring& key) {
                for (const auto& [name, values] : registry)
                    if (name.size() > key.size() && AtOrUnder(name, key))
                        return true;
                return false;
            };
            switch (failing->api) {
            case Api::OpenKeyEx:
            case Api::QueryInfoKey:
                if (hasSubkeys(failing->key))
                    stays = failing->key, whole = true;
                break;
            case Api::EnumKeyEx:
                if (status != ERROR_MORE_DATA)
                    stays = failing->key + L"\\" + WideFromAnsi(failing->name), whole = true;
                break;
            case Api::DeleteOpenedKey:
                stays = failing->key;
                break;
            case Api::CloseKey:
                break;
            default:
                throw NoRuleFor(*failing);
            }
        }
        bool listStays = false;
        for (auto key = registry.begin(); key != registry.end();) {
            const bool kept =
                !stays.empty() && (AtOrUnder(stays, key->first) || (whole && AtOrUnder(key->first, stays)));
            if (AtOrUnder(key->first, list) && !kept) {
                key = registry.erase(key);
                continue;
            }
            listStays = listStays || (kept && SameName(key->first, list));
            ++key;
        }
        return listStays;
    }

    TuningRule rule_;
    std::function<void()> build_;
    std::function<void(Report&)> run_;
};

void Recreate(HKEY root, const char* top)
{
    ::RegDeleteTreeA(root, top);
    RegistrySandbox::CreateKey(root, top);
}

TuningCommand SystemOptimisation()
{
    using namespace tuning_rules;
    return TuningCommand(
        {"system optimisation", HKEY_CURRENT_USER, {}, {{kDesktopKey, kDesktopValues, kDesktopLines, {}}},
         kOptimisationClosing},
        [] {
            Recreate(HKEY_CURRENT_USER, "Control Panel");
            RegistrySandbox::SetText(HKEY_CURRENT_USER, kDesktopKey, "MenuShowDelay", "400");
            RegistrySandbox::SetText(HKEY_CURRENT_USER, kDesktopKey, "Wallpaper", "C:\\Windows\\web.jpg");
            RegistrySandbox::SetText(HKEY_CURRENT_USER, "Control Panel\\Mouse", "DoubleClickSpeed", "500");
        },
        RunSystemOptimisation);
}

TuningCommand NetworkAcceleration()
{
    using namespace tuning_rules;
    return TuningCommand(
        {"network acceleration",
         HKEY_LOCAL_MACHINE,
         {},
         {{kTransportKey, kTransportValues, kTransportLines, {}},
          {kTcpKey, kTcpValues, {}, {}},
          {kTcpParametersKey, kParametersValues, kParametersLines, {}}},
         {}},
        [] {
            Recreate(HKEY_LOCAL_MACHINE, "System");
            RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, kTransportKey, "IPMTU", "1500");
            RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, kTransportKey, "DriverDesc", "TCP/IP");
            RegistrySandbox::SetValue(HKEY_LOCAL_MACHINE, kTcpKey, "DefaultTTL", REG_DWORD,
                                      std::string("\x80\x00\x00\x00", 4));
            RegistrySandbox::SetText(HKEY_LOCAL_MACHINE, kTcpParametersKey, "MaxDupAcks", "2");
            RegistrySandbox::SetText(HKEY_LOCAL_MACHINE,
                                     "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0001", "IPMTU", "1500");
        },
        RunNetworkAcceleration);
}

// The lists and what lies around them. The Run list holds a nested tree: a chain forty keys
// deep, and beside it branches of short chains, with values here and there; the address list is
// a single key with values. Keys beside the lists, some named like them, must survive. Every run
// deletes the whole tree and every call of it fails in turn, so the time grows with the square
// of its size: sixty-odd keys keep the sweep to seconds. Creating a key creates every key above
// it in the same call, so the lists are rebuilt quickly on top of whatever a run left of them;
// what lies around them is built once.
class CleanupFixture {
public:
    CleanupFixture()
    {
        using namespace tuning_rules;
        const std::string run = kRunList.Path();
        std::string chain = run;
        for (int depth = 1; depth <= 40; ++depth)
            chain += "\\d" + std::to_string(depth);
        lists_ = {{run, {"a", "MRUList"}}, {chain, {"deepest"}}};
        for (int branch = 0; branch < 3; ++branch)
            for (int twig = 0; twig < 2; ++twig)
                lists_.push_back({run + "\\a" + std::to_string(branch) + "\\b" + std::to_string(twig) + "\\c",
                                  {branch == 1 ? "x" : nullptr}});
        lists_.push_back({kFindList.Path() + "\\Nested\\Deeper", {"url1"}});
        lists_.push_back({kFindList.Path() + "\\Sibling", {}});
        lists_.push_back({kFindList.Path(), {"MRUList"}});
        lists_.push_back({kAddressList.Path(), {"url1", "url2", "url3"}});
        lists_.push_back({kPlayerList.Path() + "\\Nested", {}});
        lists_.push_back({kPlayerList.Path(), {"URL0"}});

        around_ = {{kExplorerKey, {"ShellState"}},
                   {std::string(kExplorerKey) + "\\RunMRUKeep\\Inner", {"k"}},
                   {std::string(kExplorerKey) + "\\Doc Find Spe", {}},  // a name the list's begins with
                   {std::string(kBrowserKey) + "\\Main", {"Start Page"}},
                   {std::string(kPlayerKey) + "\\Settings", {"k"}},
                   {std::string(kPlayerKey) + "\\RecentURLListOld", {}}};
    }

    void Build()
    {
        if (!aroundBuilt_)
            Create(around_);
        aroundBuilt_ = true;
        Create(lists_);
    }

private:
    struct Key {
        std::string path;
        std::vector<const char*> values;
    };

    static void Create(const std::vector<Key>& keys)
    {
        for (const Key& key : keys) {
            HKEY handle = nullptr;
            ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, WideFromAnsi(key.path).c_str(), 0, nullptr, 0,
                                        KEY_ALL_ACCESS, nullptr, &handle, nullptr),
                      ERROR_SUCCESS);
            for (const char* name : key.values) {
                if (!name)
                    continue;
                const std::string data = key.path + " : " + name;
                ::RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                                 static_cast<DWORD>(data.size() + 1));
            }
            ::RegCloseKey(handle);
        }
    }

    std::vector<Key> lists_;
    std::vector<Key> around_;
    bool aroundBuilt_ = false;
};

TuningCommand Cleanup()
{
    using namespace tuning_rules;
    return TuningCommand({"cleanup",
                          HKEY_CURRENT_USER,
                          kCleanupOpening,
                          {{kExplorerKey, {}, kExplorerLines, {&kRunList, &kFindList}},
                           {kBrowserKey, {}, kBrowserLines, {&kAddressList}},
                           {kPlayerKey, {}, kPlayerLines, {&kPlayerList}}},
                          kCleanupClosing},
                         [fixture = std::make_shared<CleanupFixture>()] { fixture->Build(); }, RunCleanup);
}

// ---- Online repair ----

class OnlineRepairCommand : public Command {
public:
    const char* Name() const override { return "online repair"; }
    void Build() override {}
    void Execute(Report&, FakeMachine& machine, const std::function<void(const std::string&)>& showMessage) override
    {
        RunOnlineRepair(machine, nullptr, showMessage, [] { return true; });
    }

    // The report stays as it was; a notice that cannot be shown and a hand-off that fails are
    // both silent, and the page is handed over either way.
    Outcome Expect(const Fault& fault, const Baseline& baseline) const override
    {
        Outcome outcome;
        outcome.lines = {kPreviousReport};
        outcome.registry = baseline.before;
        if (!(fault.call >= 0 && fault.seam == Seam::Dialog))
            outcome.shown = {"确保已经连到网上！在线自动修复！"};
        if (!(fault.call >= 0 && fault.seam == Seam::Machine))
            outcome.handedOver = {product::kOnlineRepairPage};
        if (fault.call >= 0 && fault.seam == Seam::Registry)
            throw NoRuleFor(baseline.registry[static_cast<size_t>(fault.call)]);
        return outcome;
    }
};

class FaultSweep : public RegistryTest {};

} // namespace

TEST_F(FaultSweep, SystemInformationReport)
{
    SystemInfoCommand command;
    Sweep(command);
}

TEST_F(FaultSweep, SystemOptimisation)
{
    TuningCommand command = SystemOptimisation();
    Sweep(command);
}

TEST_F(FaultSweep, NetworkAcceleration)
{
    TuningCommand command = NetworkAcceleration();
    Sweep(command);
}

TEST_F(FaultSweep, CleanupOfANestedTree)
{
    TuningCommand command = Cleanup();
    Sweep(command);
}

TEST_F(FaultSweep, OnlineRepair)
{
    OnlineRepairCommand command;
    Sweep(command);
}
