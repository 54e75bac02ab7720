#include "actions/Machine.h"
#include "actions/ShellHandOff.h"
#include "actions/ThousandsSeparator.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

// Puts the thread's locale back, whatever a test set it to.
class SystemInfoSeparator : public testing::Test {
protected:
    ~SystemInfoSeparator() override { ::SetThreadLocale(saved_); }

private:
    LCID saved_ = ::GetThreadLocale();
};

// Sets TMP for the test and restores it afterwards; GetTempPath looks at TMP first.
class SystemInfoTempFolder : public testing::Test {
protected:
    SystemInfoTempFolder()
    {
        char value[1024] = {};
        DWORD length = ::GetEnvironmentVariableA("TMP", value, sizeof value);
        had_ = length > 0 && length < sizeof value;
        saved_ = value;
    }
    ~SystemInfoTempFolder() override { ::SetEnvironmentVariableA("TMP", had_ ? saved_.c_str() : nullptr); }

private:
    bool had_ = false;
    std::string saved_;
};

} // namespace

TEST(SystemInfoMachine, DriveCCountsMultiplyToTheVolumesCapacity)
{
    const Machine::DiskCounts counts = SystemMachine().QueryDriveC();
    ULARGE_INTEGER available{}, total{}, free{};
    ASSERT_TRUE(::GetDiskFreeSpaceExA("c:\\", &available, &total, &free));
    EXPECT_GT(counts.totalClusters, 0u);
    EXPECT_LE(counts.freeClusters, counts.totalClusters);
    EXPECT_EQ(static_cast<unsigned long long>(counts.totalClusters) * counts.sectorsPerCluster * counts.bytesPerSector,
              total.QuadPart);
}

TEST_F(SystemInfoTempFolder, TemporaryFolderIsTheOneTheSystemNames)
{
    ::SetEnvironmentVariableA("TMP", "C:\\windows\\temp");
    EXPECT_EQ(SystemMachine().QueryTempPath(), "C:\\windows\\temp\\");
}

// The length given is 255: 254 characters and the terminating zero fit, one more does not.
TEST_F(SystemInfoTempFolder, TemporaryFolderTooLongForTheBufferLeavesTheValueEmpty)
{
    const std::string fits = "C:\\" + std::string(250, 'f');  // 254 with the backslash added
    ::SetEnvironmentVariableA("TMP", fits.c_str());
    EXPECT_EQ(SystemMachine().QueryTempPath(), fits + "\\");

    const std::string tooLong = "C:\\" + std::string(251, 'g');  // 255 with the backslash added
    ::SetEnvironmentVariableA("TMP", tooLong.c_str());
    EXPECT_EQ(SystemMachine().QueryTempPath(), "");

    ::SetEnvironmentVariableA("TMP", ("C:\\" + std::string(400, 'h')).c_str());
    EXPECT_EQ(SystemMachine().QueryTempPath(), "");
}

TEST_F(SystemInfoSeparator, SeparatorIsTheFirstCharacterOfTheThreadLocalesSetting)
{
    ASSERT_TRUE(::SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT)));
    EXPECT_EQ(SystemMachine().QueryThousandsSeparator(), '.');
    ASSERT_TRUE(::SetThreadLocale(MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT)));
    EXPECT_EQ(SystemMachine().QueryThousandsSeparator(), ',');
}

// French and Russian separate with a no-break space, Swiss German with a typographic
// apostrophe: single bytes of another code page that would spoil the GBK line, and under code
// page 936, which has no no-break space, a "?" where read in the ANSI code page.
TEST_F(SystemInfoSeparator, SeparatorOutsidePlainAsciiFallsBackToComma)
{
    for (LANGID language : {MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT),
                            MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN_SWISS)}) {
        SCOPED_TRACE(language);
        const LCID locale = MAKELCID(language, SORT_DEFAULT);
        wchar_t setting[8] = {};
        ASSERT_GT(::GetLocaleInfoW(locale, LOCALE_STHOUSAND, setting, 8), 0);
        if (setting[0] < 0x80)
            GTEST_SKIP() << "this system gives locale " << locale << " an ASCII separator";
        ASSERT_TRUE(::SetThreadLocale(locale));
        EXPECT_EQ(SystemMachine().QueryThousandsSeparator(), ',');
    }
}

TEST_F(SystemInfoSeparator, RefreshResetsTheThreadLocaleToTheUsersDefaultBeforeReading)
{
    const LCID german = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);
    char userSetting[8] = {};
    ASSERT_GT(::GetLocaleInfoA(::GetUserDefaultLCID(), LOCALE_STHOUSAND, userSetting, sizeof userSetting), 0);
    ASSERT_NE(userSetting[0], '.') << "needs a user locale whose separator differs from German's";

    ASSERT_TRUE(::SetThreadLocale(german));
    EXPECT_EQ(RefreshThousandsSeparator(SystemMachine()), userSetting[0]);
    EXPECT_EQ(::GetThreadLocale(), ::GetUserDefaultLCID());
}

namespace {

// The hand-off's platform as a script: whether the process is elevated, whether a desktop shell
// runs and takes the file, and what each route was handed.
struct ScriptedShell {
    static inline bool elevated = false;
    static inline bool splitToken = false;
    static inline bool shellRunning = false;
    static inline bool desktopAccepts = false;
    static inline std::vector<std::string> desktopFiles;
    struct Execute {
        HWND owner;
        const char* verb;
        std::string file;
        const char* parameters;
        const char* directory;
        INT show;
    };
    static inline std::vector<Execute> executed;

    static ShellHandOffPlatform Platform()
    {
        desktopFiles.clear();
        executed.clear();
        return {[] { return elevated; }, [] { return splitToken; }, [] { return shellRunning; },
                [](const std::string& file) {
                    desktopFiles.push_back(file);
                    return desktopAccepts;
                },
                [](HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                   INT show) -> HINSTANCE {
                    executed.push_back({owner, verb, file, parameters, directory, show});
                    return reinterpret_cast<HINSTANCE>(2);  // ERROR_FILE_NOT_FOUND: ignored all the same
                }};
    }
};

} // namespace

TEST(SystemShellHandOff, ElevatedGoesThroughTheDesktopShellElseShellExecuteWithTheExactArguments)
{
    const HWND owner = reinterpret_cast<HWND>(0x1234);
    const std::string file = "mailto:support@kelvane.example";
    const struct {
        bool elevated, shellRunning, desktopAccepts, throughDesktop;
        bool splitToken = false;
        bool nothingStarted = false;
    } cases[] = {
        {true, true, true, true},     // the browser runs as the signed-in user
        {true, true, false, false},   // the shell could not be asked: as before
        {true, false, true, false},   // no desktop shell (a server's console, Wine without one)
        {false, true, true, false},   // not elevated: what the program starts has its rights anyway
        {false, false, false, false},
        // The account also runs unelevated: only its desktop shell may start the browser.
        {true, true, true, true, true},
        {true, true, false, false, true, true},
        {true, false, true, false, true, true},
        {false, true, false, false, true},  // not elevated: its rights are the user's
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "elevated " << c.elevated << ", split " << c.splitToken << ", shell "
                                        << c.shellRunning << ", accepts " << c.desktopAccepts);
        ScriptedShell::elevated = c.elevated;
        ScriptedShell::splitToken = c.splitToken;
        ScriptedShell::shellRunning = c.shellRunning;
        ScriptedShell::desktopAccepts = c.desktopAccepts;
        EXPECT_EQ(HandToShell(ScriptedShell::Platform(), owner, file), !c.nothingStarted);
        if (c.nothingStarted) {
            EXPECT_TRUE(ScriptedShell::executed.empty());
            continue;
        }
        if (c.throughDesktop) {
            EXPECT_EQ(ScriptedShell::desktopFiles, std::vector<std::string>{file});
            EXPECT_TRUE(ScriptedShell::executed.empty());
            continue;
        }
        ASSERT_EQ(ScriptedShell::executed.size(), 1u);
        const ScriptedShell::Execute& call = ScriptedShell::executed[0];
        EXPECT_EQ(call.owner, owner);
        EXPECT_EQ(call.verb, nullptr);
        EXPECT_EQ(call.file, file);
        EXPECT_EQ(call.parameters, nullptr);
        EXPECT_EQ(call.directory, nullptr);
        EXPECT_EQ(call.show, SW_SHOWNORMAL);
    }
}
