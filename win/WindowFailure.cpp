#include "win/WindowFailure.h"

namespace {

WindowFailureSink gSink = nullptr;

} // namespace

void SetWindowFailureSink(WindowFailureSink sink) noexcept
{
    gSink = sink;
}

void ReportWindowFailure(const std::exception& failure) noexcept
{
    if (gSink)
        gSink(failure);
}
