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
#include "bench/Figures.h"
#include "bench/Measure.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv)
{
    using namespace bench;
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
