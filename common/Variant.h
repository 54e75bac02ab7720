#pragma once

#include <windows.h>
#include <oaidl.h>

// A VARIANT holding a long (VT_I4): how COM passes a child id, a role, a state or a number.
inline VARIANT LongVariant(long value)
{
    VARIANT variant{};
    variant.vt = VT_I4;
    variant.lVal = value;
    return variant;
}
