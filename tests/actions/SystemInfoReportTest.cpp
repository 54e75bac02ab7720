#include "actions/SystemInfoReport.h"
#include "registry/ERegistryException.h"
#include "testkit/RegistryTestSupport.h"
#include "testkit/TestDoubles.h"

#include <string>
#include <vector>

namespace {

// The seven keys, spelled as Windows spells them; the report's own paths differ in case.
const HKEY kWindowsRoot = HKEY_LOCAL_MACHINE;
constexpr char kWindowsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr char kComputerNameKey[] = "System\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
constexpr char kProcessorKey[] = "Hardware\\Description\\System\\CentralProcessor\\0";
constexpr char kBrowserKey[] = "Software\\Microsoft\\Internet Explorer";
constexpr char kBrowserPagesKey[] = "Software\\Microsoft\\Internet Explorer\\Main";
constexpr char kDownloadKey[] = ".DEFAULT\\Software\\Microsoft\\Internet Explorer";
constexpr char kDisplayKey[] = "Display\\Settings";

const std::vector<std::string> kFullReport = {
    "计算机系统：",
    "     用户姓名：张三",
    "     组织名称：Kelvane 测试部",
    "     操作系统：Microsoft Windows XP",
    "     版本信息：5.1",
    "     序列号码：55274-640-1234567-23456",
    "硬件设备：",
    "     本机名称：TESTPC",
    "     处理器标识：GenuineIntel",
    "     处理器名称：  x86 Family 6 Model 15 Stepping 11 ",
    "     C:驱动器总共容量：10,737,418,240字节",
    "     C:驱动器可用容量：1,073,741,824字节",
    "网页浏览器：",
    "     IE版本：6.0.2900.5512",
    "     默认主页：http://www.kelvane.example/",
    "     当前主页：about:blank",
    "     网页保存目录：C:\\Documents and Settings\\张三\\My Documents\\",
    "     软件下载目录：C:\\下载",
    "系统显示：",
    "     系统颜色：32色",
    "     分辨率：1024,768",
    "系统目录：",
    "     系统目录：C:\\WINDOWS",
    "     系统临时目录：C:\\DOCUME~1\\张三\\LOCALS~1\\Temp\\",
    "     设备驱动目录：%SystemRoot%\\inf",
    "     软件安装目录：C:\\Program Files",
};

// Lines 11, 12 and 22 to 26 of the full report, with nothing read from the registry.
std::vector<std::string> DriveAndFolderLinesAlone()
{
    return {
        "     C:驱动器总共容量：10,737,418,240字节",
        "     C:驱动器可用容量：1,073,741,824字节",
        "系统目录：",
        "     系统目录：",
        "     系统临时目录：C:\\DOCUME~1\\张三\\LOCALS~1\\Temp\\",
        "     设备驱动目录：",
        "     软件安装目录：",
    };
}

std::vector<std::string> Lines(const std::vector<std::string>& from, std::initializer_list<int> numbers)
{
    std::vector<std::string> lines;
    for (int number : numbers)
        lines.push_back(from.at(static_cast<size_t>(number - 1)));
    return lines;
}

void Text(HKEY root, const char* key, const char* name, const std::string& text)
{
    RegistrySandbox::SetText(root, key, name, text);
}

void BuildWindowsKey()
{
    Text(kWindowsRoot, kWindowsKey, "RegisteredOwner", "张三");
    Text(kWindowsRoot, kWindowsKey, "RegisteredOrganization", "Kelvane 测试部");
    Text(kWindowsRoot, kWindowsKey, "ProductName", "Microsoft Windows XP");
    Text(kWindowsRoot, kWindowsKey, "ProductId", "55274-640-1234567-23456");
    RegistrySandbox::SetValue(kWindowsRoot, kWindowsKey, "DevicePath", REG_EXPAND_SZ,
                              std::string("%SystemRoot%\\inf", 17));
    Text(kWindowsRoot, kWindowsKey, "ProgramFilesPath", "C:\\Program Files");
    Text(kWindowsRoot, kWindowsKey, "CurrentVersion", "5.1");
    Text(kWindowsRoot, kWindowsKey, "SystemRoot", "C:\\WINDOWS");
}
void BuildComputerNameKey() { Text(HKEY_LOCAL_MACHINE, kComputerNameKey, "ComputerName", "TESTPC"); }
void BuildProcessorKey()
{
    Text(HKEY_LOCAL_MACHINE, kProcessorKey, "VendorIdentifier", "GenuineIntel");
    Text(HKEY_LOCAL_MACHINE, kProcessorKey, "Identifier", "  x86 Family 6 Model 15 Stepping 11 ");
}
void BuildBrowserKey() { Text(HKEY_LOCAL_MACHINE, kBrowserKey, "Version", "6.0.2900.5512"); }
void BuildBrowserPagesKey()
{
    Text(HKEY_CURRENT_USER, kBrowserPagesKey, "Default_Page_URL", "http://www.kelvane.example/");
    Text(HKEY_CURRENT_USER, kBrowserPagesKey, "Start Page", "about:blank");
    Text(HKEY_CURRENT_USER, kBrowserPagesKey, "Save Directory", "C:\\Documents and Settings\\张三\\My Documents\\");
}
void BuildDownloadKey() { Text(HKEY_USERS, kDownloadKey, "Download Directory", "C:\\下载"); }
void BuildDisplayKey()
{
    Text(HKEY_CURRENT_CONFIG, kDisplayKey, "BitsPerPixel", "32");
    Text(HKEY_CURRENT_CONFIG, kDisplayKey, "Resolution", "1024,768");
}

class SystemInfoReport : public RegistryTest {
protected:
    SystemInfoReport()
    {
        machine_.disk = {8, 512, 262144, 2621440};  // 10 GiB, 1 GiB free
        machine_.tempPath = "C:\\DOCUME~1\\张三\\LOCALS~1\\Temp\\";
    }

    void BuildFullMachine()
    {
        BuildWindowsKey();
        BuildComputerNameKey();
        BuildProcessorKey();
        BuildBrowserKey();
        BuildBrowserPagesKey();
        BuildDownloadKey();
        BuildDisplayKey();
    }

    // Runs the report; the error's message, or "" when none was raised.
    std::string Run(char separator = ',')
    {
        try {
            RunSystemInfoReport(report_, machine_, separator);
        } catch (const ERegistryException& error) {
            return error.Message();
        }
        return "";
    }

    MemoReport report_;
    FakeMachine machine_;
};

// The log of what the report reads (each value's size query) and appends, in order.
std::vector<std::string> g_events;

void LogReads()
{
    ActiveRegistryApi().QueryValueEx = [](HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                          LPDWORD size) -> LSTATUS {
        if (!data)
            g_events.push_back(std::string("read:") + name);
        return SystemRegistryApi().QueryValueEx(key, name, reserved, type, data, size);
    };
}

std::vector<std::string> Reads(std::initializer_list<const char*> names)
{
    std::vector<std::string> events;
    for (const char* name : names)
        events.push_back(std::string("read:") + name);
    return events;
}

void Add(std::vector<std::string>& events, const std::vector<std::string>& more)
{
    events.insert(events.end(), more.begin(), more.end());
}

std::vector<std::string> LineEvents(std::initializer_list<int> numbers)
{
    std::vector<std::string> events;
    for (const std::string& line : Lines(kFullReport, numbers))
        events.push_back("line:" + line);
    return events;
}

} // namespace

TEST_F(SystemInfoReport, FullMachineGivesAll26LinesByteForByte)
{
    BuildFullMachine();
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(report_.lines, kFullReport);
    EXPECT_EQ(report_.clears, 1);
}

TEST_F(SystemInfoReport, EachGroupReadsItsValuesInOrderBeforeItsFirstLine)
{
    BuildFullMachine();
    g_events.clear();
    report_.log = &g_events;
    LogReads();
    EXPECT_EQ(Run(), "");

    std::vector<std::string> expected{"clear"};
    Add(expected, Reads({"registeredowner", "registeredorganization", "ProductName", "ProductId", "DevicePath",
                         "ProgramFilesPath", "CurrentVersion", "SystemRoot", "CurrentBuild"}));
    Add(expected, LineEvents({1, 2, 3, 4, 5, 6}));
    Add(expected, Reads({"computername"}));
    Add(expected, LineEvents({7, 8}));
    Add(expected, Reads({"VendorIdentifier", "Identifier"}));
    Add(expected, LineEvents({9, 10, 11, 12}));
    Add(expected, Reads({"Version"}));
    Add(expected, LineEvents({13, 14}));
    Add(expected, Reads({"Default_Page_URL", "Start Page", "Save Directory"}));
    Add(expected, LineEvents({15, 16, 17}));
    Add(expected, Reads({"Download Directory"}));
    Add(expected, LineEvents({18}));
    Add(expected, Reads({"BitsPerPixel", "Resolution"}));
    Add(expected, LineEvents({19, 20, 21, 22, 23, 24, 25, 26}));
    EXPECT_EQ(g_events, expected);
}

// A failed open leaves the last key current: reading anyway would find these decoys there.
TEST_F(SystemInfoReport, NothingIsReadFromAKeyThatDidNotOpen)
{
    BuildWindowsKey();
    for (const char* decoy : {"computername", "VendorIdentifier", "Identifier", "Version", "Default_Page_URL",
                              "Start Page", "Save Directory", "Download Directory", "BitsPerPixel", "Resolution"})
        Text(kWindowsRoot, kWindowsKey, decoy, "decoy");
    g_events.clear();
    LogReads();

    EXPECT_EQ(Run(), "");
    std::vector<std::string> expected = Lines(kFullReport, {1, 2, 3, 4, 5, 6, 11, 12, 22, 23, 24, 25, 26});
    EXPECT_EQ(report_.lines, expected);
    EXPECT_EQ(g_events, Reads({"registeredowner", "registeredorganization", "ProductName", "ProductId",
                               "DevicePath", "ProgramFilesPath", "CurrentVersion", "SystemRoot", "CurrentBuild"}));
}

TEST_F(SystemInfoReport, NoKeyOpensGivesDriveAndFolderLinesWithLabelsAlone)
{
    KeyHandleCounter::Install();
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(report_.lines, DriveAndFolderLinesAlone());
    EXPECT_EQ(KeyHandleCounter::opened, 0);
}

TEST_F(SystemInfoReport, ProcessorLinesWithoutComputerNameKeyHaveNoHeading)
{
    BuildWindowsKey();
    BuildProcessorKey();
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(report_.lines, Lines(kFullReport, {1, 2, 3, 4, 5, 6, 9, 10, 11, 12, 22, 23, 24, 25, 26}));

    ASSERT_EQ(::RegDeleteTreeA(kWindowsRoot, kWindowsKey), ERROR_SUCCESS);  // only the processor key now
    EXPECT_EQ(Run(), "");
    std::vector<std::string> expected = Lines(kFullReport, {9, 10});
    Add(expected, DriveAndFolderLinesAlone());
    EXPECT_EQ(report_.lines, expected);
}

TEST_F(SystemInfoReport, BrowserPagesWithoutBrowserKeyFollowTheDriveLines)
{
    BuildWindowsKey();
    BuildComputerNameKey();
    BuildProcessorKey();
    BuildBrowserPagesKey();
    BuildDownloadKey();
    BuildDisplayKey();
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(report_.lines, Lines(kFullReport, {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,
                                                 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26}));
}

TEST_F(SystemInfoReport, WrongTypedCurrentVersionRaisesWithTheReportStillEmpty)
{
    BuildFullMachine();
    RegistrySandbox::SetValue(kWindowsRoot, kWindowsKey, "CurrentVersion", REG_DWORD, Bytes({5, 0, 0, 0}));
    KeyHandleCounter::Install();
    EXPECT_EQ(Run(), "Invalid data type for 'CurrentVersion'");
    EXPECT_TRUE(report_.lines.empty());
    EXPECT_EQ(report_.clears, 1);
    EXPECT_EQ(machine_.diskQueries, 0);
    EXPECT_EQ(KeyHandleCounter::opened, 1);
    EXPECT_EQ(KeyHandleCounter::closed, 1);
}

TEST_F(SystemInfoReport, WrongTypedResolutionEndsTheReportAfterTheDownloadFolder)
{
    BuildFullMachine();
    RegistrySandbox::SetValue(HKEY_CURRENT_CONFIG, kDisplayKey, "Resolution", REG_BINARY, Bytes({0, 4, 0, 3}));
    KeyHandleCounter::Install();
    EXPECT_EQ(Run(), "Invalid data type for 'Resolution'");
    EXPECT_EQ(report_.lines, std::vector<std::string>(kFullReport.begin(), kFullReport.begin() + 18));
    EXPECT_EQ(machine_.tempPathQueries, 0);
    EXPECT_EQ(KeyHandleCounter::opened, 7);
    EXPECT_EQ(KeyHandleCounter::closed, 7);
}

TEST_F(SystemInfoReport, MissingOrEmptyValuesLeaveLabelsAloneAndKeepTheColourSuffix)
{
    BuildFullMachine();
    for (const char* name : {"BitsPerPixel", "Resolution"})
        ::RegDeleteKeyValueA(HKEY_CURRENT_CONFIG, kDisplayKey, name);
    RegistrySandbox::SetValue(HKEY_LOCAL_MACHINE, kBrowserKey, "Version", REG_DWORD, "");  // zero-length
    Text(HKEY_USERS, kDownloadKey, "Download Directory", "");
    EXPECT_EQ(Run(), "");
    std::vector<std::string> expected = kFullReport;
    expected[13] = "     IE版本：";
    expected[17] = "     软件下载目录：";
    expected[19] = "     系统颜色：色";
    expected[20] = "     分辨率：";
    EXPECT_EQ(report_.lines, expected);
}

// Windows 10 and 11 keep CurrentVersion at 6.3, and 11 keeps "Windows 10" in ProductName.
TEST_F(SystemInfoReport, BuildNumberTellsWindows10And11FromTheFrozenValues)
{
    BuildWindowsKey();
    Text(kWindowsRoot, kWindowsKey, "CurrentVersion", "6.3");
    const struct {
        const char* build;
        const char* productName;
        const char* shownName;
        const char* shownVersion;
    } machines[] = {
        {"9600", "Windows 8.1 Pro", "Windows 8.1 Pro", "6.3"},
        {"19045", "Windows 10 Pro", "Windows 10 Pro", "10.0.19045"},
        {"22631", "Windows 10 Pro", "Windows 11 Pro", "10.0.22631"},
        {"22631", "Windows Server 2022", "Windows Server 2022", "10.0.22631"},
        {"226x1", "Windows 10 Pro", "Windows 10 Pro", "6.3"},
    };
    for (const auto& machine : machines) {
        SCOPED_TRACE(machine.build);
        Text(kWindowsRoot, kWindowsKey, "CurrentBuild", machine.build);
        Text(kWindowsRoot, kWindowsKey, "ProductName", machine.productName);
        EXPECT_EQ(Run(), "");
        EXPECT_EQ(report_.lines.at(3), std::string("     操作系统：") + machine.shownName);
        EXPECT_EQ(report_.lines.at(4), std::string("     版本信息：") + machine.shownVersion);
    }
}

TEST_F(SystemInfoReport, ValueWithLineBreaksAndTabsStaysOnItsOwnLine)
{
    BuildWindowsKey();
    Text(kWindowsRoot, kWindowsKey, "RegisteredOwner", "张三\r\n计算机系统：\tX");
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(report_.lines.at(1), "     用户姓名：张三  计算机系统： X");
    EXPECT_EQ(report_.lines.at(2), "     组织名称：Kelvane 测试部");
}

TEST_F(SystemInfoReport, DriveCountsUseSixtyFourBitProductsAndPrintZero)
{
    machine_.disk = {128, 4096, 0, 0xFFFFFFFFu};  // about 2 PiB, nothing free
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(report_.lines.at(0), "     C:驱动器总共容量：2,251,799,813,160,960字节");
    EXPECT_EQ(report_.lines.at(1), "     C:驱动器可用容量：0字节");

    machine_.disk = {8, 512, 1048576, 1953525};  // just under 8 GiB, 4 GiB free
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(report_.lines.at(0), "     C:驱动器总共容量：8,001,638,400字节");
    EXPECT_EQ(report_.lines.at(1), "     C:驱动器可用容量：4,294,967,296字节");
}

TEST_F(SystemInfoReport, FailedDriveQueryPrintsZeroForBothCounts)
{
    machine_.disk = {};
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(report_.lines.at(0), "     C:驱动器总共容量：0字节");
    EXPECT_EQ(report_.lines.at(1), "     C:驱动器可用容量：0字节");
}

TEST_F(SystemInfoReport, SeparatorGivenIsTheOneUsed)
{
    EXPECT_EQ(Run('.'), "");
    EXPECT_EQ(report_.lines.at(0), "     C:驱动器总共容量：10.737.418.240字节");
    EXPECT_EQ(report_.lines.at(1), "     C:驱动器可用容量：1.073.741.824字节");
    EXPECT_EQ(Run(' '), "");
    EXPECT_EQ(report_.lines.at(0), "     C:驱动器总共容量：10 737 418 240字节");
    EXPECT_EQ(report_.lines.at(1), "     C:驱动器可用容量：1 073 741 824字节");
}

TEST_F(SystemInfoReport, EmptyTemporaryFolderLeavesItsLabelAlone)
{
    BuildFullMachine();
    machine_.tempPath = "";
    EXPECT_EQ(Run(), "");
    std::vector<std::string> expected = kFullReport;
    expected[23] = "     系统临时目录：";
    EXPECT_EQ(report_.lines, expected);
}

TEST_F(SystemInfoReport, RunningTwiceReplacesTheReportInsteadOfAppending)
{
    BuildFullMachine();
    KeyHandleCounter::Install();
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(Run(), "");
    EXPECT_EQ(report_.lines, kFullReport);
    EXPECT_EQ(report_.clears, 2);
    EXPECT_EQ(KeyHandleCounter::opened, 14);
    EXPECT_EQ(KeyHandleCounter::closed, 14);
}
