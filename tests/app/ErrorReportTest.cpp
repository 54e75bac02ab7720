// The error report: the "." rule, the start-up failure text, and the box a failure in an event
// handler brings up, with the program's windows disabled meanwhile and activation and focus
// given back afterwards.
#include "common/Exception.h"
#include "registry/ERegistryException.h"
#include "testkit/KelvaneWindowsTest.h"

#include <cstdint>
#include <string>

namespace {

// ---- The closing "." ----

struct Ending {
    const char* what;
    std::string message;
    std::string shown;
};

const Ending kEndings[] = {
    {"apostrophe", "Failed to set data for 'menushowdelay'", "Failed to set data for 'menushowdelay'"},
    {"full stop", "Disk full.", "Disk full."},
    {"Chinese full stop", "操作完成。", "操作完成。."},
    {"Chinese character", "磁盘已满", "磁盘已满."},
    {"lower-case letter", "cannot open", "cannot open."},
    {"upper-case letter", "Failed on C", "Failed on C."},
    {"digit", "code 5", "code 5."},
    {"colon", "path:", "path:."},
    {"slash", "C:/", "C:/."},
    {"tilde", "home ~", "home ~."},
    {"exclamation mark", "Stop!", "Stop!"},
    {"comma", "one,", "one,"},
    {"hyphen", "half-", "half-"},
    {"space", "trailing ", "trailing "},
    {"control character", "line\r\n", "line\r\n"},
    {"tab", "tab\t", "tab\t"},
    {"empty", "", ""},
    {"single full stop", ".", "."},
    {"single letter", "x", "x."},
    // A double-byte character is one character: its trail byte, which may be a letter's code,
    // does not count as a character of its own.
    {"double-byte with letter trail byte", "\xB0\x41", "\xB0\x41."},
};

TEST(ErrorReportClosingPeriod, AppendsAPeriodOnlyAfterACharacterSortingAfterIt)
{
    for (const Ending& ending : kEndings)
        EXPECT_EQ(WithClosingPeriod(ending.message), ending.shown) << ending.what;
}

// Every single-byte ending: "." is added exactly when the byte sorts after '.'.
TEST(ErrorReportClosingPeriod, EverySingleByteEndingFollowsTheOrdinalComparison)
{
    for (int byte = 1; byte < 0x80; ++byte) {
        const std::string message = std::string("x") + static_cast<char>(byte);
        const bool appended = WithClosingPeriod(message) == message + ".";
        EXPECT_EQ(appended, byte > '.') << "byte " << byte;
        if (!appended) {
            EXPECT_EQ(WithClosingPeriod(message), message) << "byte " << byte;
        }
    }
}

// ---- The start-up failure box ----

std::string Hex16(const void* address)
{
    std::string digits;
    auto value = reinterpret_cast<std::uintptr_t>(address);
    for (int shift = 60; shift >= 0; shift -= 4)
        digits += "0123456789ABCDEF"[(value >> shift) & 0xF];
    return digits;
}

TEST(ErrorReportStartupFailure, NamesTheClassModuleAndAddressThenTheMessageWithAPeriod)
{
    const ERegistryException failure = ERegistryException::FailedToSetData("menushowdelay");
    ASSERT_NE(failure.Address(), nullptr);
    EXPECT_EQ(StartupFailureText(failure, "Kelvane.exe"),
              "Exception ERegistryException in module Kelvane.exe at " + Hex16(failure.Address()) +
                  ".\r\nFailed to set data for 'menushowdelay'.\r\n");
}

TEST(ErrorReportStartupFailure, AddressIsSixteenUpperCaseHexDigits)
{
    const Exception failure("cannot create a window");
    const std::string text = StartupFailureText(failure, "Kelvane.exe");
    const std::string before = "Exception Exception in module Kelvane.exe at ";
    ASSERT_EQ(text.compare(0, before.size(), before), 0) << text;
    const std::string digits = text.substr(before.size(), 16);
    EXPECT_EQ(digits.find_first_not_of("0123456789ABCDEF"), std::string::npos) << digits;
    EXPECT_EQ(text.substr(before.size() + 16), ".\r\ncannot create a window.\r\n");
}

TEST(ErrorReportStartupFailure, NoSecondPeriodAfterAMessageEndingInOne)
{
    const Exception failure("Out of memory.");
    const std::string text = StartupFailureText(failure, "Kelvane.exe");
    EXPECT_EQ(text.substr(text.size() - 18), "\r\nOut of memory.\r\n");
}

TEST(ErrorReportStartupFailure, EmptyMessageGetsNoPeriod)
{
    const Exception failure("");
    const std::string text = StartupFailureText(failure, "Kelvane.exe");
    EXPECT_EQ(text.substr(text.size() - 5), ".\r\n\r\n");
}

// ---- The box, with the windows up ----

class ErrorReportBox : public KelvaneWindowsTest {
protected:
    void SetUp() override
    {
        KelvaneWindowsTest::SetUp();
        ExpectErrorBoxes();
    }
};

TEST_F(ErrorReportBox, ShowsTheMessageWithItsPeriodOwnedByTheApplicationWindow)
{
    ReportWindowFailure(Exception("磁盘已满"));
    ASSERT_EQ(ErrorBoxCalls().size(), 1u);
    const ErrorBoxCall& box = ErrorBoxCalls()[0];
    EXPECT_EQ(box.text, "磁盘已满.");
    EXPECT_EQ(box.caption, "系统优化Kelvane");
    EXPECT_EQ(box.owner, AppWindow());
    EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(box.flags, 0x10u);
}

TEST_F(ErrorReportBox, DisablesEveryProgramWindowWhileUpAndEnablesThemAfterwards)
{
    Form3().Show();
    Pump();
    ReportWindowFailure(Exception("x"));
    ASSERT_EQ(ErrorBoxCalls().size(), 1u);
    EXPECT_TRUE(ErrorBoxCalls()[0].programWindowsDisabled);
    for (HWND window : {AppWindow(), Main(), Help()})
        EXPECT_TRUE(::IsWindowEnabled(window)) << probe::ClassName(window);
}

TEST_F(ErrorReportBox, CancelsTheMouseCaptureFirst)
{
    // A tool button held down: the tool bar holds the capture. Disabling the main window would
    // not take it from a child control; the report must.
    const RECT button = ToolButtonRect("给我写信");
    ::SendMessageW(Form1().ToolBar1(), WM_LBUTTONDOWN, MK_LBUTTON,
                   MAKELPARAM((button.left + button.right) / 2, (button.top + button.bottom) / 2));
    ASSERT_EQ(::GetCapture(), Form1().ToolBar1());
    ReportWindowFailure(Exception("x"));
    ASSERT_EQ(ErrorBoxCalls().size(), 1u);
    EXPECT_EQ(ErrorBoxCalls()[0].capture, nullptr);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ErrorReportBox, CancelsTheCaptureOfAPressedTile)
{
    PressAt(kTilePoints[0].label.x, kTilePoints[0].label.y);
    ASSERT_EQ(::GetCapture(), Main());
    ReportWindowFailure(Exception("x"));
    ASSERT_EQ(ErrorBoxCalls().size(), 1u);
    EXPECT_EQ(ErrorBoxCalls()[0].capture, nullptr);
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(ErrorReportBox, StartupFailureBoxIsTaskModalWithoutOwner)
{
    ReportStartupFailure(Exception("cannot create a window"));
    ASSERT_EQ(ErrorBoxCalls().size(), 1u);
    const ErrorBoxCall& box = ErrorBoxCalls()[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.caption, "Application Error");
    EXPECT_EQ(box.flags, 0x2010u);
    EXPECT_EQ(box.text.rfind("Exception Exception in module app_window_tests.exe at ", 0), 0u) << box.text;
    EXPECT_EQ(box.text.substr(box.text.size() - 25), "cannot create a window.\r\n");
}

// The system's own message box, closed with Enter from a timer once it is up.
struct RealBoxState {
    HWND owner = nullptr;
    HWND box = nullptr;
    std::string caption;
    std::string text;
    bool programWindowsDisabled = false;
    int ticks = 0;
    std::vector<HWND> programWindows;
};
RealBoxState gRealBox;

void CALLBACK CloseRealBox(HWND, UINT, UINT_PTR timer, DWORD)
{
    ++gRealBox.ticks;
    HWND box = probe::FindOwnedDialog(gRealBox.owner);
    if (!box) {
        // No box of ours in three seconds: end whatever modal loop runs, so the test fails now
        // instead of hanging.
        if (gRealBox.ticks > 60) {
            ::KillTimer(nullptr, timer);
            ::PostQuitMessage(0);
        }
        return;
    }
    if (gRealBox.box == box)
        return;
    gRealBox.box = box;
    gRealBox.caption = probe::WindowText(box);
    gRealBox.text = probe::WindowText(::GetDlgItem(box, 0xFFFF));
    gRealBox.programWindowsDisabled = true;
    for (HWND window : gRealBox.programWindows)
        gRealBox.programWindowsDisabled &= !::IsWindowEnabled(window);
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
    ::PostMessageW(::GetFocus(), WM_KEYUP, VK_RETURN, 0xC01C0001);
}

TEST_F(ErrorReportBox, SystemBoxGivesActivationAndFocusBackToTheHelpWindow)
{
    UseRealErrorBox();
    Form3().Show();
    ASSERT_TRUE(WaitUntil([this] { return ::GetActiveWindow() == Help(); }));
    ASSERT_TRUE(WaitUntil([this] { return ::GetFocus() == Form3().Memo1(); }));

    gRealBox = {};
    gRealBox.owner = AppWindow();
    gRealBox.programWindows = {AppWindow(), Main(), Help()};
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, CloseRealBox);
    ReportWindowFailure(Exception("Failed to get data for 'x'"));
    ::KillTimer(nullptr, timer);
    Pump();

    ASSERT_NE(gRealBox.box, nullptr) << "no message box owned by the application window came up";
    EXPECT_EQ(gRealBox.caption, "系统优化Kelvane");
    EXPECT_EQ(gRealBox.text, "Failed to get data for 'x'");
    EXPECT_TRUE(gRealBox.programWindowsDisabled);
    EXPECT_FALSE(::IsWindow(gRealBox.box));
    EXPECT_EQ(::GetActiveWindow(), Help());
    EXPECT_EQ(::GetFocus(), Form3().Memo1());
    for (HWND window : {AppWindow(), Main(), Help()})
        EXPECT_TRUE(::IsWindowEnabled(window)) << probe::ClassName(window);
}

} // namespace
