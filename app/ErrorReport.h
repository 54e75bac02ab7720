#pragma once

#include <windows.h>

#include <exception>
#include <string>

// Appends "." to a failure's message whose last character sorts after "." (ordinal bytes; a
// double-byte GBK character is judged by its first byte). An empty message stays empty.
std::string WithClosingPeriod(const std::string& message);

// The text of the box shown when the windows cannot be created:
// "Exception <class> in module <file> at <address>.\r\n<message>[.]\r\n".
std::string StartupFailureText(const std::exception& failure, const std::string& moduleName);

// The message box the reports use; tests replace it to see what would be shown.
using ErrorBoxFunction = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT flags);
ErrorBoxFunction& ErrorBox();

// Shows a failure that escaped an event handler in a box owned by `owner` and captioned
// `title`, with all of the program's windows disabled meanwhile, then gives activation and the
// keyboard focus back.
void ReportError(const std::exception& failure, HWND owner, const std::string& title) noexcept;

// Shows the "Application Error" box for a failure during start-up.
void ReportStartupFailure(const std::exception& failure) noexcept;
