#include "support/TestRun.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Outcome {
    std::vector<std::string> ran;
    std::vector<std::string> skipped;
};

Outcome OutcomeOf(const testing::UnitTest& run)
{
    Outcome outcome;
    for (int suite = 0; suite < run.total_test_suite_count(); ++suite) {
        const testing::TestSuite& tests = *run.GetTestSuite(suite);
        for (int index = 0; index < tests.total_test_count(); ++index) {
            const testing::TestInfo& test = *tests.GetTestInfo(index);
            if (!test.should_run())
                continue;
            const std::string name = std::string(tests.name()) + "." + test.name();
            (test.result()->Skipped() ? outcome.skipped : outcome.ran).push_back(name);
        }
    }
    return outcome;
}

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// One file per process: runs side by side never write into the same file.
void Record(const std::string& folder, const std::string& label, const Outcome& outcome)
{
    const std::string path = folder + "\\" + std::to_string(::GetCurrentProcessId()) + "-" +
                             std::to_string(::GetTickCount64()) + ".txt";
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file) {
        std::fprintf(stderr, "cannot note the outcome of this run in %s\n", path.c_str());
        return;
    }
    for (const std::string& name : outcome.ran)
        std::fprintf(file, "%s ran %s\n", label.c_str(), name.c_str());
    for (const std::string& name : outcome.skipped)
        std::fprintf(file, "%s skipped %s\n", label.c_str(), name.c_str());
    std::fclose(file);
}

} // namespace

int RunSelectedTests()
{
    const int status = RUN_ALL_TESTS();
    if (GTEST_FLAG_GET(list_tests))
        return status;

    const testing::UnitTest& run = *testing::UnitTest::GetInstance();
    const Outcome outcome = OutcomeOf(run);
    const std::string madeFor = Variable("KELVANE_RUN_MADE_FOR");
    const std::string folder = Variable("KELVANE_TEST_RECORDS");
    if (!folder.empty()) {
        const std::string otherRun = Variable("KELVANE_RUN");
        Record(folder, !madeFor.empty() ? madeFor : !otherRun.empty() ? otherRun : "ordinary", outcome);
    }

    const std::string filter = GTEST_FLAG_GET(filter);
    const size_t selected = outcome.ran.size() + outcome.skipped.size();
    if (selected == 0) {
        std::fprintf(stderr, "This run ran nothing: the filter \"%s\" matches none of the %d tests of this program.\n",
                     filter.c_str(), run.total_test_count());
        return 1;
    }
    if (!madeFor.empty() && !outcome.skipped.empty()) {
        std::fprintf(stderr, "%zu of the %zu tests of the run made for them (%s) skipped:\n", outcome.skipped.size(),
                     selected, madeFor.c_str());
        for (const std::string& name : outcome.skipped)
            std::fprintf(stderr, "  %s\n", name.c_str());
        return 1;
    }
    if (selected > 1 && outcome.ran.empty()) {
        std::fprintf(stderr, "This run ran nothing: all %zu tests it selected (filter \"%s\") skipped.\n", selected,
                     filter.c_str());
        return 1;
    }
    return status;
}
