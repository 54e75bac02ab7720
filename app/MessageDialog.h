#pragma once

#include "win/ApplicationHost.h"

#include <string>

// Shows `text` (GBK) in a plain dialog captioned with the application title, with one "OK"
// button that Enter, Esc, a click and the close box all answer; returns once it is closed.
// Modal over all of the program's windows, owned by the application's window and centred on the
// screen.
void ShowMessageDialog(const ApplicationHost& application, const std::string& text);
