#pragma once

#include <exception>

// Where a failure that escapes a window's message handling goes: the application installs its
// error report here, so that no window procedure, subclass or dialog procedure lets one leave.
using WindowFailureSink = void (*)(const std::exception& failure) noexcept;
void SetWindowFailureSink(WindowFailureSink sink) noexcept;

// Hands the failure to the installed sink; without one it is dropped, and the message loop
// goes on all the same.
void ReportWindowFailure(const std::exception& failure) noexcept;
