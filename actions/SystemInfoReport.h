#pragma once

#include "actions/Machine.h"
#include "actions/Report.h"

#include <string>

// A byte count in the number format "###,##0": the whole decimal number, grouped in threes from
// the right with the separator between groups; zero is "0".
std::string FormatByteCount(unsigned long long value, char thousandsSeparator);

// The system information report: replaces the report's lines with up to 26 lines on the
// owner, Windows, the computer, drive C:, the browser, the display and the system folders.
// Only reads. Values are shown each on its own line, control characters as spaces; on
// Windows 10 and 11 the build number gives the version and tells Windows 11 from 10. A value
// of a non-string type ends the report at the group that read it and raises
// ERegistryException; the lines appended before stay.
void RunSystemInfoReport(Report& report, Machine& machine, char thousandsSeparator);
