#pragma once

#include <exception>

// Where a failure that escapes a window's message handling goes: the application installs its
// error report here, with what the report needs of it as `context`, so that no window procedure,
// subclass or dialog procedure lets one leave.
using WindowFailureSink = void (*)(const std::exception& failure, const void* context) noexcept;
void SetWindowFailureSink(WindowFailureSink sink, const void* context) noexcept;
// Takes the sink away, if it is still the one installed with `context`.
void RemoveWindowFailureSink(const void* context) noexcept;

// Hands the failure to the installed sink; without one it is dropped, and the message loop
// goes on all the same.
void ReportWindowFailure(const std::exception& failure) noexcept;
