// The system information report in process against the bare sequence of the same registry and
// kernel calls, both reading sample values in the registry sandbox.
#include "actions/Machine.h"
#include "actions/Report.h"
#include "actions/SystemInfoReport.h"
#include "bench/CallCounts.h"
#include "bench/Figures.h"
#include "bench/Measure.h"
#include "registry/RegistryApi.h"
#include "testkit/RegistrySandbox.h"

#include <cstring>
#include <iterator>

namespace bench {
namespace {

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

} // namespace

void BenchSystemInfoReport()
{
    RegistrySandbox sandbox;
    for (const SampleValue& value : kReportValues)
        RegistrySandbox::SetText(value.root, value.key, value.name, value.text);

    CollectedReport report;
    Machine& machine = SystemMachine();

    // One counted run of each, to show that both make the same registry calls.
    CallCounts layerCalls, bareCalls;
    {
        CountedRegistryCalls counting;
        RunSystemInfoReport(report, machine, ',');
        layerCalls = counting.counts;
    }
    {
        CountedRegistryCalls counting;
        BareReportCalls(ActiveRegistryApi());
        bareCalls = counting.counts;
    }
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

} // namespace bench
