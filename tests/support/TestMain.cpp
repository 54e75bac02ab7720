// The entry point of the test programs.
#include "support/TestRun.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RunSelectedTests();
}
