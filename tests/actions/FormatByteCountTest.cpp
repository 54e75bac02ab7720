#include "actions/SystemInfoReport.h"

#include <gtest/gtest.h>

#include <climits>

TEST(SystemInfoByteCount, GroupsDigitsInThreesFromTheRightOnlyBetweenGroups)
{
    struct Case {
        unsigned long long value;
        const char* text;
    };
    const Case cases[] = {
        {0, "0"},
        {7, "7"},
        {999, "999"},
        {1000, "1,000"},
        {12345, "12,345"},
        {100000, "100,000"},
        {999999, "999,999"},
        {1000000, "1,000,000"},
        {1234567890, "1,234,567,890"},
        {4294967296ull, "4,294,967,296"},
        {ULLONG_MAX, "18,446,744,073,709,551,615"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(FormatByteCount(c.value, ','), c.text);
    }
}

TEST(SystemInfoByteCount, UsesTheSeparatorGiven)
{
    EXPECT_EQ(FormatByteCount(1234567890, '.'), "1.234.567.890");
    EXPECT_EQ(FormatByteCount(1234567890, ' '), "1 234 567 890");
    EXPECT_EQ(FormatByteCount(1234567890, '\''), "1'234'567'890");
    EXPECT_EQ(FormatByteCount(999, '.'), "999");
}
