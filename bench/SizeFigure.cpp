// The size of Kelvane.exe, whether it is stripped, and the DLLs it imports.
#include "bench/Figures.h"
#include "bench/Measure.h"
#include "bench/PeImage.h"

namespace bench {
namespace {

// A system DLL is one the system itself provides in its system folder.
bool IsSystemDll(const std::string& name)
{
    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    const std::string bare = name.substr(0, name.find(' '));
    const std::wstring path = std::wstring(system) + L"\\" + std::wstring(bare.begin(), bare.end());
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

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

} // namespace bench
