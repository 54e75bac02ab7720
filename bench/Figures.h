#pragma once

// The four figures, one file each. Each prints its lines in the form BENCHMARKS.md quotes and
// judges its targets (Measure.h counts them).
#include <string>

namespace bench {

// Start-up of `kelvane` against the system's notepad.exe.
void BenchStartUp(const std::wstring& kelvane);
// The system information report in process against the bare calls it makes.
void BenchSystemInfoReport();
// TRegistry::DeleteTree against RegDeleteTreeA on trees of 1,000 and 10,000 keys.
void BenchDeleteTree();
// The size of `kelvane` and the DLLs it imports.
void BenchSize(const std::wstring& kelvane);

} // namespace bench
