// Start-up: Kelvane.exe against the system's notepad.exe, until the main window is shown and the
// program is idle.
#include "bench/Figures.h"
#include "bench/Measure.h"
#include "testkit/ProgramStart.h"

namespace bench {
namespace {

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

} // namespace

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

} // namespace bench
