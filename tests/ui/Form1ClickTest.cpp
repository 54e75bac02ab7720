// Clicks on the main window: each tile's label runs its command on the sandboxed registry, the
// icons over the labels do nothing, the tool buttons do their part, and a command that fails is
// shown through the error report while the window keeps what the command wrote before.
#include "testkit/KelvaneWindowsTest.h"

#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr char kWindowsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion";
constexpr char kComputerNameKey[] = "System\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
constexpr char kProcessorKey[] = "Hardware\\Description\\System\\CentralProcessor\\0";
constexpr char kDisplayKey[] = "Display\\Settings";
constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kTransportKey[] = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000";
constexpr char kTcpKey[] = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
constexpr char kExplorerKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";

const std::string kLongBanner(32, '*');

const std::vector<std::string> kOptimisationReport = {
    "菜单加速优化成功", "", "磁盘缓存自动优化成功", "", "文件系统自动优化成功", "", "系统安全自动优化成功", "",
    kLongBanner,        "重新启动计算机，系统优化设置生效", kLongBanner,
};
const std::vector<std::string> kTransportLines = {"网络加速配置成功！！", "", "网络连接加速成功！！", ""};

class Form1Clicks : public KelvaneWindowsTest {
protected:
    static void Text(HKEY root, const char* key, const char* name, const std::string& text)
    {
        RegistrySandbox::SetText(root, key, name, text);
    }

    // A value as the system holds it, UTF-16, whatever the ANSI code page of the run.
    static void WideText(HKEY root, const char* key, const wchar_t* name, const std::wstring& text)
    {
        HKEY handle = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(root, probe::Wide(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                                    nullptr),
                  ERROR_SUCCESS);
        ::RegSetValueExW(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
        ::RegCloseKey(handle);
    }

    // Names with letters of the ANSI code page beyond ASCII (936 and 1252 both have them), and a
    // value holding a line break.
    void BuildMachine()
    {
        WideText(HKEY_LOCAL_MACHINE, kWindowsKey, L"RegisteredOwner", L"José Müller");
        WideText(HKEY_LOCAL_MACHINE, kWindowsKey, L"RegisteredOrganization", L"Kelvane\r\nLab");
        const std::wstring temp = L"C:\\Users\\Müller\\Temp\\";
        machine_.tempPath.assign(static_cast<size_t>(::WideCharToMultiByte(CP_ACP, 0, temp.c_str(), -1, nullptr, 0,
                                                                           nullptr, nullptr) - 1),
                                 '\0');
        ::WideCharToMultiByte(CP_ACP, 0, temp.c_str(), -1, machine_.tempPath.data(),
                              static_cast<int>(machine_.tempPath.size() + 1), nullptr, nullptr);
        Text(HKEY_LOCAL_MACHINE, kWindowsKey, "ProductName", "Windows XP");
        Text(HKEY_LOCAL_MACHINE, kWindowsKey, "ProductId", "12345-OEM");
        Text(HKEY_LOCAL_MACHINE, kWindowsKey, "DevicePath", "C:\\WINDOWS\\inf");
        Text(HKEY_LOCAL_MACHINE, kWindowsKey, "ProgramFilesPath", "C:\\Program Files");
        Text(HKEY_LOCAL_MACHINE, kWindowsKey, "CurrentVersion", "5.1");
        Text(HKEY_LOCAL_MACHINE, kWindowsKey, "SystemRoot", "C:\\WINDOWS");
        Text(HKEY_LOCAL_MACHINE, kComputerNameKey, "ComputerName", "KELVANE-PC");
        Text(HKEY_LOCAL_MACHINE, kProcessorKey, "VendorIdentifier", "GenuineIntel");
        Text(HKEY_LOCAL_MACHINE, kProcessorKey, "Identifier", "x86 Family 6");
        Text(HKEY_CURRENT_CONFIG, kDisplayKey, "BitsPerPixel", "32");
        Text(HKEY_CURRENT_CONFIG, kDisplayKey, "Resolution", "1024,768");
    }

    static std::vector<std::string> MachineReport(const std::string& total, const std::string& free)
    {
        return {
            "计算机系统：",
            "     用户姓名：José Müller",
            "     组织名称：Kelvane  Lab",
            "     操作系统：Windows XP",
            "     版本信息：5.1",
            "     序列号码：12345-OEM",
            "硬件设备：",
            "     本机名称：KELVANE-PC",
            "     处理器标识：GenuineIntel",
            "     处理器名称：x86 Family 6",
            "     C:驱动器总共容量：" + total + "字节",
            "     C:驱动器可用容量：" + free + "字节",
            "系统显示：",
            "     系统颜色：32色",
            "     分辨率：1024,768",
            "系统目录：",
            "     系统目录：C:\\WINDOWS",
            "     系统临时目录：C:\\Users\\Müller\\Temp\\",
            "     设备驱动目录：C:\\WINDOWS\\inf",
            "     软件安装目录：C:\\Program Files",
        };
    }

    void Click(int tile) { ClickAt(kTilePoints[tile].label.x, kTilePoints[tile].label.y); }
    void ClickIcon(int tile) { ClickAt(kTilePoints[tile].iconOverLabel.x, kTilePoints[tile].iconOverLabel.y); }

    void FillReportWith(const std::vector<std::string>& lines)
    {
        Form1().Report().Clear();
        for (const std::string& line : lines)
            Form1().Report().AppendLine(line);
    }
};

TEST_F(Form1Clicks, Label2FillsTheReportWithTheSystemReport)
{
    BuildMachine();
    Click(0);
    EXPECT_EQ(ReportLines(), MachineReport("8,192,000,000", "1,024,000,000"));
}

TEST_F(Form1Clicks, Label2GroupsDigitsWithTheSeparatorTakenAgainAfterASettingsChange)
{
    BuildMachine();
    machine_.separator = '.';
    ::SendMessageW(AppWindow(), WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
    Click(0);
    EXPECT_EQ(ReportLines(), MachineReport("8.192.000.000", "1.024.000.000"));
}

TEST_F(Form1Clicks, Label3RunsSystemOptimisation)
{
    RegistrySandbox::CreateKey(HKEY_CURRENT_USER, kDesktopKey);
    Click(1);
    EXPECT_EQ(ReportLines(), kOptimisationReport);
    auto value = RegistrySandbox::GetValue(HKEY_CURRENT_USER, kDesktopKey, "MenuShowDelay");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->data, std::string("2", 2));
}

TEST_F(Form1Clicks, Label4RunsNetworkAcceleration)
{
    RegistrySandbox::CreateKey(HKEY_LOCAL_MACHINE, kTransportKey);
    Click(2);
    EXPECT_EQ(ReportLines(), kTransportLines);
    auto value = RegistrySandbox::GetValue(HKEY_LOCAL_MACHINE, kTransportKey, "IPMTU");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->data, std::string("576", 4));
}

TEST_F(Form1Clicks, Label5RunsCleanup)
{
    RegistrySandbox::CreateKey(HKEY_CURRENT_USER, std::string(kExplorerKey) + "\\RunMRU");
    Click(3);
    const std::vector<std::string> lines = ReportLines();
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 5),
              (std::vector<std::string>{"清理多余的DLL文件成功；", "", "清理注册表多余信息成功；", "",
                                        "已清除“运行”对话框中的历史记录"}));
    EXPECT_EQ(lines.back(), std::string(28, '*'));
    EXPECT_FALSE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, std::string(kExplorerKey) + "\\RunMRU"));
}

TEST_F(Form1Clicks, Label6ShowsTheNoticeThenHandsTheRepairPageToTheShellAndLeavesTheReport)
{
    FillReportWith({"计算机系统：", "     用户姓名：张三"});
    size_t shellCallsWhenNoticeShown = 99;
    Form1().SetMessageDialog([&](const std::string& text) {
        messagesShown_.push_back(text);
        shellCallsWhenNoticeShown = machine_.shellCalls.size();
    });
    Click(4);
    EXPECT_EQ(messagesShown_, std::vector<std::string>{"确保已经连到网上！在线自动修复！"});
    EXPECT_EQ(shellCallsWhenNoticeShown, 0u) << "the page is handed over after the notice is closed";
    ASSERT_EQ(machine_.shellCalls.size(), 1u);
    EXPECT_EQ(machine_.shellCalls[0].owner, Main());
    EXPECT_EQ(machine_.shellCalls[0].file, "https://www.kelvane.example/ie.htm");
    EXPECT_EQ(ReportLines(), (std::vector<std::string>{"计算机系统：", "     用户姓名：张三"}));
}

// The ways the program is told to end, each while the online-repair notice is up.
struct Ending {
    const char* how;
    std::vector<std::tuple<bool, UINT, WPARAM, LPARAM>> messages;  // to the main window?, message
};
const Ending kEndings[] = {
    {"OwnerWindowClosedFromOutside", {{false, WM_CLOSE, 0, 0}}},
    {"TaskBarEntryClosed", {{false, WM_SYSCOMMAND, SC_CLOSE, 0}}},
    {"MainWindowClosedFromOutside", {{true, WM_CLOSE, 0, 0}}},
    {"SessionEnds", {{false, WM_QUERYENDSESSION, 0, 0}, {false, WM_ENDSESSION, TRUE, 0}}},
    {"RestartManager",
     {{false, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP}, {false, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP}}},
};

void PrintTo(const Ending& ending, std::ostream* out)
{
    *out << ending.how;
}

class Form1EndingDuringRepairNotice : public KelvaneWindowsTest, public testing::WithParamInterface<Ending> {};

TEST_P(Form1EndingDuringRepairNotice, HandsNothingToTheShell)
{
    Form1().SetMessageDialog([&](const std::string&) {
        for (const auto& [toMain, message, wParam, lParam] : GetParam().messages)
            ::SendMessageW(toMain ? Main() : AppWindow(), message, wParam, lParam);
        ASSERT_TRUE(WaitUntil([&] { return QuitPosted(); }));
    });
    ClickAt(kTilePoints[4].label.x, kTilePoints[4].label.y);
    EXPECT_TRUE(QuitPosted());
    EXPECT_TRUE(machine_.shellCalls.empty());
}

INSTANTIATE_TEST_SUITE_P(Ways, Form1EndingDuringRepairNotice, testing::ValuesIn(kEndings),
                         [](const testing::TestParamInfo<Ending>& way) { return std::string(way.param.how); });

TEST_F(Form1Clicks, IconsOverTheLabelsRunNothing)
{
    BuildMachine();
    RegistrySandbox::CreateKey(HKEY_CURRENT_USER, kDesktopKey);
    RegistrySandbox::CreateKey(HKEY_LOCAL_MACHINE, kTransportKey);
    RegistrySandbox::CreateKey(HKEY_CURRENT_USER, std::string(kExplorerKey) + "\\RunMRU");
    FillReportWith({"unchanged"});
    for (int tile = 0; tile < 5; ++tile) {
        SCOPED_TRACE(kTilePoints[tile].name);
        ClickIcon(tile);
        EXPECT_EQ(ReportLines(), std::vector<std::string>{"unchanged"});
    }
    EXPECT_TRUE(messagesShown_.empty());
    EXPECT_TRUE(machine_.shellCalls.empty());
    EXPECT_FALSE(RegistrySandbox::GetValue(HKEY_CURRENT_USER, kDesktopKey, "MenuShowDelay").has_value());
    EXPECT_FALSE(RegistrySandbox::GetValue(HKEY_LOCAL_MACHINE, kTransportKey, "IPMTU").has_value());
    EXPECT_TRUE(RegistrySandbox::KeyExists(HKEY_CURRENT_USER, std::string(kExplorerKey) + "\\RunMRU"));
}

TEST_F(Form1Clicks, PressOnOneElementAndReleaseOnAnotherRunsNothing)
{
    RegistrySandbox::CreateKey(HKEY_CURRENT_USER, kDesktopKey);
    FillReportWith({"unchanged"});
    // From Label3 to Label2, from Label3 onto its own icon, from the icon onto Label3.
    PressAt(kTilePoints[1].label.x, kTilePoints[1].label.y);
    ReleaseAt(kTilePoints[0].label.x, kTilePoints[0].label.y);
    PressAt(kTilePoints[1].label.x, kTilePoints[1].label.y);
    ReleaseAt(kTilePoints[1].iconOverLabel.x, kTilePoints[1].iconOverLabel.y);
    PressAt(kTilePoints[1].iconOverLabel.x, kTilePoints[1].iconOverLabel.y);
    ReleaseAt(kTilePoints[1].label.x, kTilePoints[1].label.y);
    Pump();
    EXPECT_EQ(ReportLines(), std::vector<std::string>{"unchanged"});
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(Form1Clicks, ClickingATileTwiceReplacesTheReport)
{
    BuildMachine();
    RegistrySandbox::CreateKey(HKEY_CURRENT_USER, kDesktopKey);
    Click(0);
    Click(0);
    EXPECT_EQ(ReportLines(), MachineReport("8,192,000,000", "1,024,000,000"));
    Click(1);
    Click(1);
    EXPECT_EQ(ReportLines(), kOptimisationReport);
}

TEST_F(Form1Clicks, MailButtonHandsTheSupportAddressToTheShell)
{
    ClickToolButton("给我写信");
    ASSERT_EQ(machine_.shellCalls.size(), 1u);
    EXPECT_EQ(machine_.shellCalls[0].owner, Main());
    EXPECT_EQ(machine_.shellCalls[0].file, "mailto:support@kelvane.example");
    EXPECT_TRUE(ReportLines().empty());
}

TEST_F(Form1Clicks, HelpButtonShowsTheHelpWindowInFrontAndActive)
{
    ClickToolButton("常见问题");
    EXPECT_TRUE(::IsWindowVisible(Help()));
    EXPECT_EQ(::GetActiveWindow(), Help());
    EXPECT_EQ(::GetFocus(), Form3().Memo1());
    EXPECT_TRUE(::IsWindowEnabled(Main())) << "the help window is not modal";
}

TEST_F(Form1Clicks, ExitButtonEndsTheMessageLoop)
{
    ASSERT_FALSE(QuitPosted());
    ClickToolButton("退出");
    Pump();
    EXPECT_TRUE(QuitPosted());
}

TEST_F(Form1Clicks, ClosingTheMainWindowEndsTheMessageLoop)
{
    ::SendMessageW(Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_TRUE(QuitPosted());
}

// ---- Failures inside a command ----

std::string gFailingValue;

void FailWritesOf(const std::string& name)
{
    gFailingValue = name;
    ActiveRegistryApi().SetValueEx = [](HKEY key, LPCSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                                        DWORD size) -> LSTATUS {
        if (::lstrcmpiA(valueName, gFailingValue.c_str()) == 0)
            return ERROR_ACCESS_DENIED;
        return SystemRegistryApi().SetValueEx(key, valueName, reserved, type, data, size);
    };
}

TEST_F(Form1Clicks, FailedWriteIsShownByTheErrorReportAndTheReportKeepsItsFirstLines)
{
    ExpectErrorBoxes();
    RegistrySandbox::CreateKey(HKEY_LOCAL_MACHINE, kTransportKey);
    RegistrySandbox::CreateKey(HKEY_LOCAL_MACHINE, kTcpKey);
    FailWritesOf("DefaultMSS");
    Click(2);

    ASSERT_EQ(ErrorBoxCalls().size(), 1u);
    const ErrorBoxCall& box = ErrorBoxCalls()[0];
    EXPECT_EQ(box.text, "Failed to set data for 'DefaultMSS'") << "no \".\" after an apostrophe";
    EXPECT_EQ(box.caption, "系统优化Kelvane");
    EXPECT_EQ(box.flags, 0x10u);
    EXPECT_EQ(box.owner, AppWindow());
    EXPECT_TRUE(box.programWindowsDisabled);

    for (HWND window : {AppWindow(), Main(), Help()})
        EXPECT_TRUE(::IsWindowEnabled(window)) << probe::ClassName(window) << " left disabled";
    EXPECT_EQ(ReportLines(), kTransportLines);
    EXPECT_TRUE(RegistrySandbox::GetValue(HKEY_LOCAL_MACHINE, kTransportKey, "IPMTU").has_value());
    EXPECT_FALSE(QuitPosted()) << "the program goes on";

    // The window still works: the next click runs its command.
    ActiveRegistryApi() = SystemRegistryApi();
    Click(2);
    EXPECT_EQ(ErrorBoxCalls().size(), 1u);
    EXPECT_TRUE(RegistrySandbox::GetValue(HKEY_LOCAL_MACHINE, kTcpKey, "DefaultMSS").has_value());
}

TEST_F(Form1Clicks, WrongTypedValueInTheSystemReportIsShownWithTheReportStillEmpty)
{
    ExpectErrorBoxes();
    BuildMachine();
    RegistrySandbox::SetValue(HKEY_LOCAL_MACHINE, kWindowsKey, "CurrentVersion", REG_DWORD,
                              std::string("\x05\x00\x00\x00", 4));
    FillReportWith({"previous report"});
    Click(0);
    ASSERT_EQ(ErrorBoxCalls().size(), 1u);
    EXPECT_EQ(ErrorBoxCalls()[0].text, "Invalid data type for 'CurrentVersion'");
    EXPECT_TRUE(ReportLines().empty());
}

TEST_F(Form1Clicks, FailedMenuDelayWriteEndsOptimisationBeforeItsClosingLines)
{
    ExpectErrorBoxes();
    RegistrySandbox::CreateKey(HKEY_CURRENT_USER, kDesktopKey);
    FailWritesOf("menushowdelay");
    Click(1);
    ASSERT_EQ(ErrorBoxCalls().size(), 1u);
    EXPECT_EQ(ErrorBoxCalls()[0].text, "Failed to set data for 'menushowdelay'");
    EXPECT_TRUE(ReportLines().empty());
}

} // namespace
