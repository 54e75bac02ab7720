#pragma once

#include "actions/Machine.h"
#include "actions/Report.h"

#include <windows.h>

#include <functional>
#include <string>

// The tuning actions. Each registry action replaces the report's lines, skips silently every
// step whose key does not open, and raises ERegistryException when a value cannot be written;
// the values and lines written before the failure stay.

// Menu speed-up, then the fixed optimisation lines.
void RunSystemOptimisation(Report& report);
// The TCP/IP values of the network transport and the TCP driver.
void RunNetworkAcceleration(Report& report);
// Removes the recently-used lists of the Run and Find dialogs, the browser's address bar and
// the media player. A list still there after its deletion is named once more after its step's
// lines. Never raises.
void RunCleanup(Report& report);
// Hands `file`, a web page or a "mailto:" address, to the user's shell. Where nothing may be
// started for it (Machine::OpenWithShell), tells the user in the message dialog that it could not
// be opened and where to find it.
void OpenOrSayWhere(Machine& machine, HWND owner, const std::string& file,
                    const std::function<void(const std::string&)>& showMessage);
// Tells the user to go online, then hands the online-repair page to the shell (OpenOrSayWhere),
// unless the program began to end while the notice was up (`goesOn` says false): nothing is started
// on the way out. The report is left as it is; a notice that cannot be shown and a hand-off that
// fails are both silent.
void RunOnlineRepair(Machine& machine, HWND owner, const std::function<void(const std::string&)>& showMessage,
                     const std::function<bool()>& goesOn);
