// The plain message dialog, shown for real and answered from a timer while its own message loop
// runs: what it shows, that it is modal over the program's windows, and that each of the four
// ways of closing it returns.
#include "app/MessageDialog.h"
#include "testkit/KelvaneWindowsTest.h"

#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <string>

namespace {

// What the timer saw of the dialog, and how it answered it.
struct DialogVisit {
    HWND owner = nullptr;
    std::vector<HWND> programWindows;
    std::function<void(HWND dialog, HWND button)> answer;

    HWND dialog = nullptr;
    std::string caption;
    std::string text;
    std::string buttonText;
    LONG_PTR buttonStyle = 0;
    RECT dialogRect{};
    RECT textRect{};     // in the dialog's client coordinates
    RECT buttonRect{};   // in the dialog's client coordinates
    RECT clientRect{};
    LONG_PTR style = 0;
    bool hasIcon = false;
    int buttons = 0;
    HWND focus = nullptr;
    HWND okButton = nullptr;
    HWND dialogOwner = nullptr;
    LOGFONTW font{};
    bool programWindowsDisabled = false;
    bool dialogEnabled = false;
    int ticks = 0;
    int ticksAfterAnswer = -1;
    bool forcedClosed = false;
};
DialogVisit gVisit;

BOOL CALLBACK LookAtControl(HWND control, LPARAM)
{
    const std::string kind = probe::ClassName(control);
    const LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
    RECT rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(HWND_DESKTOP, gVisit.dialog, reinterpret_cast<POINT*>(&rect), 2);
    if (kind == "Static") {
        if ((style & SS_TYPEMASK) == SS_ICON)
            gVisit.hasIcon = true;
        else {
            gVisit.text = probe::WindowText(control);
            gVisit.textRect = rect;
            gVisit.font = probe::FontOf(control);
        }
    } else if (kind == "Button") {
        ++gVisit.buttons;
        gVisit.buttonText = probe::WindowText(control);
        gVisit.buttonStyle = style;
        gVisit.buttonRect = rect;
    }
    return TRUE;
}

void CALLBACK VisitDialog(HWND, UINT, UINT_PTR, DWORD)
{
    ++gVisit.ticks;
    if (gVisit.ticksAfterAnswer >= 0) {
        // Answered: a dialog still up after two seconds did not close; end it so the test fails
        // instead of hanging.
        if (::IsWindow(gVisit.dialog) && ++gVisit.ticksAfterAnswer > 40) {
            gVisit.forcedClosed = true;
            ::EndDialog(gVisit.dialog, 0);
        }
        return;
    }
    HWND dialog = probe::FindOwnedDialog(gVisit.owner);
    if (!dialog) {
        // No dialog of ours in three seconds, yet a modal loop runs: end it, so the test fails
        // now instead of hanging.
        if (gVisit.ticks > 60)
            ::PostQuitMessage(0);
        return;
    }
    gVisit.dialog = dialog;
    gVisit.caption = probe::WindowText(dialog);
    gVisit.style = ::GetWindowLongPtrW(dialog, GWL_STYLE);
    ::GetWindowRect(dialog, &gVisit.dialogRect);
    ::GetClientRect(dialog, &gVisit.clientRect);
    ::EnumChildWindows(dialog, LookAtControl, 0);
    gVisit.focus = ::GetFocus();
    gVisit.okButton = ::GetDlgItem(dialog, IDOK);
    gVisit.dialogOwner = ::GetWindow(dialog, GW_OWNER);
    gVisit.dialogEnabled = ::IsWindowEnabled(dialog) != FALSE;
    gVisit.programWindowsDisabled = true;
    for (HWND window : gVisit.programWindows)
        gVisit.programWindowsDisabled &= !::IsWindowEnabled(window);

    gVisit.ticksAfterAnswer = 0;
    gVisit.answer(dialog, ::GetDlgItem(dialog, IDOK));
}

void PostKey(HWND target, UINT key, UINT scanCode)
{
    ::PostMessageW(target, WM_KEYDOWN, key, static_cast<LPARAM>(1 | (scanCode << 16)));
    ::PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(1 | (scanCode << 16) | 0xC0000000u));
}

class MessageDialog : public KelvaneWindowsTest {
protected:
    // Shows the dialog for real and answers it with `answer` once it is up. False if the
    // dialog had to be ended by force or never came up.
    bool ShowAndAnswer(const std::string& text, std::function<void(HWND, HWND)> answer)
    {
        return AnswerDuring([&] { ShowMessageDialog(Application(), text); }, std::move(answer));
    }

    // Runs `action`, during which a dialog is expected, and answers the dialog.
    bool AnswerDuring(const std::function<void()>& action, std::function<void(HWND, HWND)> answer)
    {
        gVisit = {};
        gVisit.owner = AppWindow();
        gVisit.programWindows = {AppWindow(), Main(), Help()};
        gVisit.answer = std::move(answer);
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, VisitDialog);
        action();
        ::KillTimer(nullptr, timer);
        Pump();
        return gVisit.dialog && !gVisit.forcedClosed;
    }

    void ExpectEverythingEnabledAgain()
    {
        for (HWND window : {AppWindow(), Main(), Help()})
            EXPECT_TRUE(::IsWindowEnabled(window)) << probe::ClassName(window) << " left disabled";
        EXPECT_FALSE(::IsWindow(gVisit.dialog)) << "the dialog is destroyed when it closes";
    }
};

TEST_F(MessageDialog, ClosesWithEnter)
{
    ASSERT_TRUE(ShowAndAnswer("确保已经连到网上！在线自动修复！", [](HWND, HWND) {
        PostKey(::GetFocus(), VK_RETURN, 0x1C);
    }));
    ExpectEverythingEnabledAgain();
}

TEST_F(MessageDialog, ClosesWithEsc)
{
    ASSERT_TRUE(ShowAndAnswer("确保已经连到网上！在线自动修复！", [](HWND, HWND) {
        PostKey(::GetFocus(), VK_ESCAPE, 0x01);
    }));
    ExpectEverythingEnabledAgain();
}

TEST_F(MessageDialog, ClosesWithAClickOnOK)
{
    ASSERT_TRUE(ShowAndAnswer("确保已经连到网上！在线自动修复！", [](HWND, HWND button) {
        RECT rect;
        ::GetClientRect(button, &rect);
        const LPARAM centre = MAKELPARAM(rect.right / 2, rect.bottom / 2);
        ::PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, centre);
        ::PostMessageW(button, WM_LBUTTONUP, 0, centre);
    }));
    ExpectEverythingEnabledAgain();
}

TEST_F(MessageDialog, ClosesWithTheCloseBox)
{
    ASSERT_TRUE(ShowAndAnswer("确保已经连到网上！在线自动修复！", [](HWND dialog, HWND) {
        ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    }));
    ExpectEverythingEnabledAgain();
}

TEST_F(MessageDialog, ClosesWithACloseMessage)
{
    ASSERT_TRUE(ShowAndAnswer("确保已经连到网上！在线自动修复！", [](HWND dialog, HWND) {
        ::PostMessageW(dialog, WM_CLOSE, 0, 0);
    }));
    ExpectEverythingEnabledAgain();
}

TEST_F(MessageDialog, ShowsTheTextUnderTheApplicationTitleWithOneOKButtonAndNoIcon)
{
    ASSERT_TRUE(ShowAndAnswer("确保已经连到网上！在线自动修复！", [](HWND, HWND) {
        PostKey(::GetFocus(), VK_ESCAPE, 0x01);
    }));
    EXPECT_EQ(gVisit.caption, "系统优化Kelvane");
    EXPECT_EQ(gVisit.text, "确保已经连到网上！在线自动修复！");
    EXPECT_EQ(gVisit.buttons, 1);
    EXPECT_EQ(gVisit.buttonText, "OK");
    EXPECT_EQ(gVisit.buttonStyle & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    ASSERT_NE(gVisit.okButton, nullptr) << "the button answers as IDOK";
    EXPECT_EQ(gVisit.focus, gVisit.okButton) << "OK has the focus";
    EXPECT_FALSE(gVisit.hasIcon);
}

TEST_F(MessageDialog, HasAFixedDialogFrameWithTheSystemMessageFont)
{
    ASSERT_TRUE(ShowAndAnswer("确保已经连到网上！在线自动修复！", [](HWND, HWND) {
        PostKey(::GetFocus(), VK_ESCAPE, 0x01);
    }));
    EXPECT_TRUE(gVisit.style & WS_CAPTION);
    EXPECT_TRUE(gVisit.style & WS_SYSMENU);
    EXPECT_FALSE(gVisit.style & WS_THICKFRAME);
    EXPECT_FALSE(gVisit.style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(gVisit.style & WS_MINIMIZEBOX);

    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    EXPECT_EQ(std::wstring(gVisit.font.lfFaceName), std::wstring(metrics.lfMessageFont.lfFaceName));
    EXPECT_EQ(gVisit.font.lfHeight, metrics.lfMessageFont.lfHeight);
}

TEST_F(MessageDialog, IsCentredOnTheScreenWithTheTextTopLeftAndOKCentredBelow)
{
    ASSERT_TRUE(ShowAndAnswer("确保已经连到网上！在线自动修复！", [](HWND, HWND) {
        PostKey(::GetFocus(), VK_ESCAPE, 0x01);
    }));
    const RECT& dialog = gVisit.dialogRect;
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(std::abs(dialog.left - (screenWidth - (dialog.right - dialog.left)) / 2), 1);
    EXPECT_LE(std::abs(dialog.top - (screenHeight - (dialog.bottom - dialog.top)) / 2), 1);

    EXPECT_LT(gVisit.textRect.left, gVisit.clientRect.right / 4);
    EXPECT_LT(gVisit.textRect.top, gVisit.clientRect.bottom / 3);
    EXPECT_LE(gVisit.textRect.bottom, gVisit.buttonRect.top) << "the button stands below the text";
    const int buttonCentre = (gVisit.buttonRect.left + gVisit.buttonRect.right) / 2;
    EXPECT_LE(std::abs(buttonCentre - gVisit.clientRect.right / 2), 1);
}

TEST_F(MessageDialog, LongTextWrapsWithinHalfTheScreen)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "word" + std::to_string(i) + " ";
    ASSERT_TRUE(ShowAndAnswer(text, [](HWND, HWND) { PostKey(::GetFocus(), VK_RETURN, 0x1C); }));
    const int width = gVisit.textRect.right - gVisit.textRect.left;
    EXPECT_LE(width, ::GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_GT(width, ::GetSystemMetrics(SM_CXSCREEN) / 4) << "the text uses the width it may";
    const LONG lineHeight = -gVisit.font.lfHeight > 0 ? -gVisit.font.lfHeight : 8;
    EXPECT_GE(gVisit.textRect.bottom - gVisit.textRect.top, 2 * lineHeight) << "more than one line";
    EXPECT_EQ(gVisit.text, text);
}

TEST_F(MessageDialog, IsModalOverEveryProgramWindowAndGivesTheActivationBack)
{
    Form3().Show();
    Pump();
    ::SetActiveWindow(Main());
    ASSERT_TRUE(WaitUntil([this] { return ::GetActiveWindow() == Main(); }));
    ASSERT_TRUE(ShowAndAnswer("确保已经连到网上！在线自动修复！", [](HWND, HWND) {
        PostKey(::GetFocus(), VK_RETURN, 0x1C);
    }));
    EXPECT_TRUE(gVisit.programWindowsDisabled);
    EXPECT_TRUE(gVisit.dialogEnabled);
    EXPECT_EQ(gVisit.dialogOwner, AppWindow());
    ExpectEverythingEnabledAgain();
    EXPECT_EQ(::GetActiveWindow(), Main());
    EXPECT_EQ(::GetFocus(), Form1().Memo1());
}

TEST_F(MessageDialog, Label6ShowsTheRealDialogAndHandsThePageOverOnlyAfterItCloses)
{
    Form1().SetMessageDialog([this](const std::string& text) { ShowMessageDialog(Application(), text); });
    size_t shellCallsWhileUp = 99;
    const bool answered = AnswerDuring([&] { ClickAt(kTilePoints[4].label.x, kTilePoints[4].label.y); },
                                       [&](HWND, HWND) {
                                           shellCallsWhileUp = machine_.shellCalls.size();
                                           PostKey(::GetFocus(), VK_ESCAPE, 0x01);
                                       });
    ASSERT_TRUE(answered);
    EXPECT_EQ(gVisit.text, "确保已经连到网上！在线自动修复！");
    EXPECT_EQ(shellCallsWhileUp, 0u);
    ASSERT_EQ(machine_.shellCalls.size(), 1u);
    EXPECT_EQ(machine_.shellCalls[0].file, "https://www.kelvane.example/ie.htm");
    EXPECT_EQ(machine_.shellCalls[0].owner, Main());
}

} // namespace
