#pragma once

#include <string>

// Shows `text` (GBK) in a plain dialog captioned with the application title, with one "OK"
// button that Enter, Esc, a click and the close box all answer; returns once it is closed.
// Modal over all of the program's windows and centred on the screen.
void ShowMessageDialog(const std::string& text);
