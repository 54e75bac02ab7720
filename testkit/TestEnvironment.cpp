#include "testkit/RegistryTestSupport.h"

#include <cstdlib>

unsigned ExpectedAnsiCodePage()
{
    const char* expected = std::getenv("KELVANE_EXPECTED_ACP");
    return expected && *expected ? static_cast<unsigned>(std::strtoul(expected, nullptr, 10)) : 936u;
}
