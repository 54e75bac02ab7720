// The help window: its introduction and five topics line by line, where it opens, and what
// closing and reopening it keeps.
#include "testkit/KelvaneWindowsTest.h"

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

const Lines kIntroduction = {
    "               《系统优化Kelvane》",
    "",
    "《系统优化Kelvane》是一款自动系统优化、网络加速、清",
    "理维护的Kelvane软件。麻雀虽小，五脏俱全。轻轻点击，",
    "一切ok。",
    "“Tavrin软件”隆重推出的又一力作。",
    "",
    "                   Tavrin软件",
    "          网址：https://www.kelvane.example/",
    "          Email：support@kelvane.example",
};

const Lines kTopics[5] = {
    {
        "                   系统信息",
        "",
        "功能：检测并显示系统信息",
        "",
        "   系统信息包括：",
        "      计算机系统信息",
        "      硬件设备信息",
        "      网页浏览器信息",
        "      系统目录信息",
    },
    {
        "                   系统优化",
        "",
        "功能：系统内部优化达到最佳的运行状态",
        "",
        "   系统优化包括：",
        "",
        "      磁盘缓存自动优化",
        "      系统安全自动优化",
        "      文件系统自动优化",
        "      菜单加速优化",
    },
    {
        "                   网络加速",
        "",
        "功能：优化网络配置，使上网速度达到最快",
        "",
        "   网络加速包括：",
        "",
        "      网络加速配置",
        "      网络连接加速",
        "      网络驱动设备加速",
    },
    {
        "                   清理维护",
        "",
        "功能：清理系统内部的垃圾文件和垃圾信息",
        "",
        "   清理维护包括：",
        "      清理多余的DLL文件",
        "      清理注册表多余信息",
        "      清除“IE”地址栏中的历史记录",
        "      清除病毒和木马",
        "      清除系统安全漏洞",
    },
    {
        "                   自动修复",
        "功能：查杀电脑中的恶意代码，全面修复您的IE,有效消除QQ尾巴现象。",
        "   自动修复包括：",
        "      恢复IE浏览器标题为空白",
        "      恢复IE浏览器首页为空白页、地址为系统默认页",
        "      修复IE浏览器的Internet选项为可用",
        "      修复IE浏览器右键菜单不能弹出的问题",
        "      修复重新开机后IE浏览器又被感染的问题",
        "      恢复IE为默认浏览器",
        "      修复注册表编辑器为可用",
    },
};

// The area's whole text: every line followed by a line break, nothing more.
std::string Joined(const Lines& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

class HelpWindow : public KelvaneWindowsTest {
protected:
    void OpenFromHelpButton() { ClickToolButton("常见问题"); }
    void OpenFromShape5() { RightClickAt(80, 209); }
    void Close()
    {
        ::SendMessageW(Help(), WM_CLOSE, 0, 0);
        Pump();
    }
    void Type(const std::wstring& text)
    {
        for (wchar_t character : text)
            ::SendMessageW(Form3().Memo1(), WM_CHAR, character, 1);
    }
    POINT Place() const
    {
        RECT rect;
        ::GetWindowRect(Help(), &rect);
        return {rect.left, rect.top};
    }
    void MoveMainTo(int left, int top, int width, int height)
    {
        ::SetWindowPos(Main(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
};

TEST_F(HelpWindow, OpensWithTheIntroduction)
{
    OpenFromHelpButton();
    ASSERT_TRUE(::IsWindowVisible(Help()));
    EXPECT_EQ(HelpLines(), kIntroduction);
    EXPECT_EQ(probe::WindowText(Form3().Memo1()), Joined(kIntroduction));
}

TEST_F(HelpWindow, EachMenuItemShowsExactlyItsTopic)
{
    OpenFromHelpButton();
    for (int item = 0; item < 5; ++item) {
        SCOPED_TRACE("menu item " + std::to_string(item));
        ChooseHelpMenuItem(item);
        EXPECT_EQ(HelpLines(), kTopics[item]);
        EXPECT_EQ(probe::WindowText(Form3().Memo1()), Joined(kTopics[item]));
    }
}

TEST_F(HelpWindow, ChoosingTheSameTopicTwiceShowsItsLinesOnce)
{
    OpenFromHelpButton();
    ChooseHelpMenuItem(3);
    ChooseHelpMenuItem(3);
    EXPECT_EQ(HelpLines(), kTopics[3]);
}

TEST_F(HelpWindow, TopicIsShownFromItsHeading)
{
    OpenFromHelpButton();
    ChooseHelpMenuItem(4);
    EXPECT_EQ(::SendMessageW(Form3().Memo1(), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(HelpWindow, FirstShowingCentresItOverTheMainWindow)
{
    const probe::Rect main = probe::ScreenRect(Main());
    const probe::Rect own = probe::ScreenRect(Help());
    OpenFromHelpButton();
    const POINT place = Place();
    EXPECT_EQ(place.x, main.left + (main.width - own.width) / 2);
    EXPECT_EQ(place.y, main.top + (main.height - own.height) / 2);
    EXPECT_EQ(probe::ScreenRect(Help()).width, own.width) << "placing does not resize";
}

TEST_F(HelpWindow, CentringTakesHalvesTowardZero)
{
    // A main window narrower and lower than the help window, by odd amounts: the halves are
    // negative and odd, where rounding down and toward zero differ.
    const probe::Rect own = probe::ScreenRect(Help());
    MoveMainTo(600, 400, own.width - 51, own.height - 31);
    const probe::Rect main = probe::ScreenRect(Main());
    ASSERT_EQ(main.width, own.width - 51) << "the test needs the main window this narrow";
    ASSERT_EQ(main.height, own.height - 31);
    // The tool bar's button lies outside so small a window; this is what it sends.
    ::SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(ToolButtonCommand("常见问题"), BN_CLICKED), 0);
    Pump();
    EXPECT_EQ(Place().x, 600 - 25);
    EXPECT_EQ(Place().y, 400 - 15);
}

TEST_F(HelpWindow, CentringThatWouldLeaveTheScreenStopsAtZero)
{
    MoveMainTo(-300, -250, probe::ScreenRect(Main()).width, probe::ScreenRect(Main()).height);
    ASSERT_EQ(probe::ScreenRect(Main()).left, -300);
    OpenFromHelpButton();
    EXPECT_EQ(Place().x, 0);
    EXPECT_EQ(Place().y, 0);
}

TEST_F(HelpWindow, LaterShowingsLeaveItWhereItWasMoved)
{
    OpenFromHelpButton();
    ::SetWindowPos(Help(), nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Close();
    ASSERT_FALSE(::IsWindowVisible(Help()));
    OpenFromShape5();
    EXPECT_EQ(Place().x, 20);
    EXPECT_EQ(Place().y, 30);

    // Nor does moving the main window bring the centring back.
    Close();
    MoveMainTo(300, 250, probe::ScreenRect(Main()).width, probe::ScreenRect(Main()).height);
    OpenFromHelpButton();
    EXPECT_EQ(Place().x, 20);
    EXPECT_EQ(Place().y, 30);
}

TEST_F(HelpWindow, ReopeningShowsTheLastTopicAtTheSamePlace)
{
    OpenFromHelpButton();
    const POINT first = Place();
    ChooseHelpMenuItem(1);
    Close();
    OpenFromShape5();
    EXPECT_EQ(HelpLines(), kTopics[1]);
    EXPECT_EQ(Place().x, first.x);
    EXPECT_EQ(Place().y, first.y);
}

TEST_F(HelpWindow, TypedTextSurvivesCloseAndReopenButNotATopic)
{
    OpenFromHelpButton();
    Type(L"注意AB");
    Lines typed = kIntroduction;
    typed[0] = "注意AB" + typed[0];
    ASSERT_EQ(HelpLines(), typed);

    Close();
    EXPECT_TRUE(::IsWindow(Help())) << "closing only hides the window";
    OpenFromHelpButton();
    EXPECT_EQ(HelpLines(), typed);

    ChooseHelpMenuItem(0);
    EXPECT_EQ(HelpLines(), kTopics[0]);
}

TEST_F(HelpWindow, ClosingItLeavesTheMainWindowAndTheProgramRunning)
{
    OpenFromHelpButton();
    Close();
    EXPECT_FALSE(::IsWindowVisible(Help()));
    EXPECT_TRUE(::IsWindow(Help()));
    EXPECT_TRUE(::IsWindowVisible(Main()));
    EXPECT_TRUE(::IsWindowEnabled(Main()));
    EXPECT_FALSE(QuitPosted());

    // From the close box too.
    OpenFromHelpButton();
    ::SendMessageW(Help(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_FALSE(::IsWindowVisible(Help()));
    EXPECT_TRUE(::IsWindow(Help()));
    EXPECT_FALSE(QuitPosted());

    // The main window still answers.
    ClickToolButton("给我写信");
    EXPECT_EQ(machine_.shellCalls.size(), 1u);
}

TEST_F(HelpWindow, ShowingItWhileOpenBringsItToTheFrontAndActivatesIt)
{
    OpenFromHelpButton();
    const POINT first = Place();
    ::SetActiveWindow(Main());
    Pump();
    ASSERT_EQ(::GetActiveWindow(), Main());
    OpenFromShape5();
    EXPECT_EQ(::GetActiveWindow(), Help());
    EXPECT_EQ(::GetFocus(), Form3().Memo1());
    EXPECT_EQ(Place().x, first.x);
    EXPECT_EQ(Place().y, first.y);
}

TEST_F(HelpWindow, MinimisedHelpWindowStaysMinimisedWhenShownAgain)
{
    OpenFromHelpButton();
    ::ShowWindow(Help(), SW_MINIMIZE);
    Pump();
    ASSERT_TRUE(::IsIconic(Help()));
    OpenFromHelpButton();
    EXPECT_TRUE(::IsIconic(Help()));
}

} // namespace
