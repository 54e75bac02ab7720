#include "testkit/RegistryTestSupport.h"

#include <windows.h>

// Wine takes the ANSI code page from the C library's locale and silently falls back to 1252
// when the locale is missing; every GBK expectation of the suite depends on this one.
TEST(CodePage, AnsiCodePageIsTheOneThisRunIsMeantFor)
{
    EXPECT_EQ(::GetACP(), ExpectedAnsiCodePage());
}

TEST(CodePage, LiteralsAreCompiledToGbkBytes)
{
    const std::string title = "系统优化Kelvane“IE”！";
    EXPECT_EQ(title, std::string("\xCF\xB5\xCD\xB3\xD3\xC5\xBB\xAF"
                                 "Kelvane"
                                 "\xA1\xB0"
                                 "IE"
                                 "\xA1\xB1\xA3\xA1"));
}
