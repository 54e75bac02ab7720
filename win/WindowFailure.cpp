#include "win/WindowFailure.h"

namespace {

WindowFailureSink gSink = nullptr;
const void* gContext = nullptr;

} // namespace

void SetWindowFailureSink(WindowFailureSink sink, const void* context) noexcept
{
    gSink = sink;
    gContext = context;
}

void RemoveWindowFailureSink(const void* context) noexcept
{
    if (gContext == context)
        SetWindowFailureSink(nullptr, nullptr);
}

void ReportWindowFailure(const std::exception& failure) noexcept
{
    if (gSink)
        gSink(failure, gContext);
}
