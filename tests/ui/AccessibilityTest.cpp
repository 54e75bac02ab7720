// What a screen reader finds in the main window through Active Accessibility, asked as a reader
// asks (AccessibleObjectFromWindow), and the keyboard shortcuts that run every command.
#include "testkit/KelvaneWindowsTest.h"

#include "common/Variant.h"
#include "ui/Form1Tiles.h"

#include <oleacc.h>

#include <iostream>
#include <string>

namespace {

std::string Read(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), IAccessible* object, long id)
{
    BSTR text = nullptr;
    (object->*get)(LongVariant(id), &text);
    const std::string result = text ? probe::Gbk(text) : "";
    ::SysFreeString(text);
    return result;
}

class Accessibility : public KelvaneWindowsTest {
protected:
    void SetUp() override
    {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        KelvaneWindowsTest::SetUp();
    }
    void TearDown() override
    {
        KelvaneWindowsTest::TearDown();
        ::CoUninitialize();
    }

    // The object a reader gets for a window's client area.
    ComPtr<IAccessible> ClientOf(HWND window)
    {
        ComPtr<IAccessible> object;
        EXPECT_EQ(::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                               object.PutVoid()),
                  S_OK);
        return object;
    }

    // A real key press, with Ctrl held where asked, to the active window.
    static void Press(WORD key, bool control)
    {
        INPUT inputs[4] = {};
        int count = 0;
        auto add = [&](WORD virtualKey, DWORD flags) {
            inputs[count].type = INPUT_KEYBOARD;
            inputs[count].ki.wVk = virtualKey;
            inputs[count++].ki.dwFlags = flags;
        };
        if (control)
            add(VK_CONTROL, 0);
        add(key, 0);
        add(key, KEYEVENTF_KEYUP);
        if (control)
            add(VK_CONTROL, KEYEVENTF_KEYUP);
        ::SendInput(static_cast<UINT>(count), inputs, sizeof(INPUT));
    }
};

TEST_F(Accessibility, TilesArePushButtonsWithNameHintShortcutAndPlaceThenTheWindowsControls)
{
    ComPtr<IAccessible> client = ClientOf(Main());
    ASSERT_TRUE(client);
    long count = 0;
    ASSERT_EQ(client->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 5 + 3) << "five tiles, then the tool bar, the report area and the status bar";

    const char* names[] = {"系统信息", "系统优化", "网络加速", "清理维护", "自动修复"};
    for (long tile = 1; tile <= 5; ++tile) {
        SCOPED_TRACE(tile);
        VARIANT role{};
        client->get_accRole(LongVariant(tile), &role);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON);
        const std::string name = Read(&IAccessible::get_accName, client.Get(), tile);
        const std::string description = Read(&IAccessible::get_accDescription, client.Get(), tile);
        const std::string shortcut = Read(&IAccessible::get_accKeyboardShortcut, client.Get(), tile);
        EXPECT_EQ(name, names[tile - 1]);
        EXPECT_EQ(description, form1::kTiles[static_cast<size_t>(tile - 1)].statusHint);
        EXPECT_EQ(shortcut, "Ctrl+" + std::to_string(tile));
        EXPECT_EQ(Read(&IAccessible::get_accDefaultAction, client.Get(), tile), "press");
        std::cout << "tile " << tile << ": push button \"" << name << "\", \"" << description << "\", " << shortcut
                  << std::endl;

        // The tile's frame on the screen, at the window's scale.
        long left = 0, top = 0, width = 0, height = 0;
        ASSERT_EQ(client->accLocation(&left, &top, &width, &height, LongVariant(tile)), S_OK);
        POINT frame{Form1().Scale()(17), Form1().Scale()(79 + 32 * (tile - 1))};
        ::ClientToScreen(Main(), &frame);
        EXPECT_EQ(left, frame.x);
        EXPECT_EQ(top, frame.y);
        EXPECT_EQ(width, Form1().Scale()(106));
        EXPECT_EQ(height, Form1().Scale()(25));
        VARIANT hit{};
        ASSERT_EQ(client->accHitTest(left + width / 2, top + height / 2, &hit), S_OK);
        EXPECT_EQ(hit.lVal, tile);
    }
    // The controls follow as objects of their own.
    for (long window = 6; window <= 8; ++window) {
        IDispatch* object = nullptr;
        EXPECT_EQ(client->get_accChild(LongVariant(window), &object), S_OK) << window;
        if (object)
            object->Release();
        VARIANT role{};
        client->get_accRole(LongVariant(window), &role);
        wchar_t roleText[64] = {};
        ::GetRoleTextW(static_cast<DWORD>(role.lVal), roleText, 64);
        std::cout << "child " << window << ": " << probe::Gbk(roleText) << " \""
                  << Read(&IAccessible::get_accName, client.Get(), window) << "\"" << std::endl;
    }
}

TEST_F(Accessibility, DefaultActionRunsTheTilesCommandAsAClickDoes)
{
    ComPtr<IAccessible> client = ClientOf(Main());
    ASSERT_TRUE(client);
    ASSERT_EQ(client->accDoDefaultAction(LongVariant(1)), S_OK);
    Pump();
    EXPECT_FALSE(ReportLines().empty()) << "系统信息 fills the report";
    EXPECT_EQ(ReportLines().back().rfind("     软件安装目录：", 0), 0u);

    ASSERT_EQ(client->accDoDefaultAction(LongVariant(5)), S_OK);
    Pump();
    EXPECT_EQ(messagesShown_, std::vector<std::string>{"确保已经连到网上！在线自动修复！"});
    EXPECT_EQ(machine_.shellCalls.size(), 1u);
}

TEST_F(Accessibility, NullOutParametersAreRefusedAndAnObjectHeldAfterTheFormFailsCleanly)
{
    ComPtr<IAccessible> client = ClientOf(Main());
    ASSERT_TRUE(client);
    const VARIANT tile = LongVariant(1);
    EXPECT_EQ(client->get_accRole(tile, nullptr), E_INVALIDARG);
    EXPECT_EQ(client->get_accState(tile, nullptr), E_INVALIDARG);
    EXPECT_EQ(client->get_accName(tile, nullptr), E_INVALIDARG);
    long topic = 7;
    EXPECT_EQ(client->get_accHelpTopic(nullptr, tile, &topic), E_INVALIDARG);
    BSTR file = ::SysAllocString(L"stale");
    BSTR stale = file;
    EXPECT_EQ(client->get_accHelpTopic(&file, tile, &topic), S_FALSE);
    EXPECT_EQ(file, nullptr);
    EXPECT_EQ(topic, 0);
    ::SysFreeString(stale);

    DestroyForm1Object();
    BSTR name = nullptr;
    long count = 7;
    VARIANT role = LongVariant(7);
    EXPECT_EQ(client->get_accName(tile, &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(name, nullptr);
    EXPECT_EQ(client->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(client->get_accRole(tile, &role), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(role.vt, VT_EMPTY);
    EXPECT_EQ(client->accDoDefaultAction(tile), CO_E_OBJNOTCONNECTED);
}

TEST_F(Accessibility, ToolButtonsAreNamedByTheirHints)
{
    ComPtr<IAccessible> toolBar = ClientOf(Form1().ToolBar1());
    ASSERT_TRUE(toolBar);
    long count = 0;
    toolBar->get_accChildCount(&count);
    std::vector<std::string> buttons;
    for (long child = 1; child <= count; ++child) {
        VARIANT role{};
        if (toolBar->get_accRole(LongVariant(child), &role) == S_OK && role.vt == VT_I4 &&
            role.lVal == ROLE_SYSTEM_PUSHBUTTON)
            buttons.push_back(Read(&IAccessible::get_accName, toolBar.Get(), child));
    }
    EXPECT_EQ(buttons, (std::vector<std::string>{"常见问题", "给我写信", "退出"}));
    for (const std::string& name : buttons)
        std::cout << "tool button: push button \"" << name << "\"" << std::endl;
}

TEST_F(Accessibility, CtrlDigitAndF1RunTheTileAndTheHelpButtonOnlyInTheMainWindow)
{
    ::SetForegroundWindow(Main());
    ASSERT_TRUE(WaitUntil([&] { return ::GetFocus() == Form1().Memo1(); })) << "the report area has the focus";
    Press('1', true);
    ASSERT_TRUE(WaitUntil([&] { return !ReportLines().empty(); })) << "Ctrl+1 runs 系统信息";

    Press(VK_F1, false);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(Help()) != FALSE; })) << "F1 shows the help window";
    ASSERT_TRUE(WaitUntil([&] { return ::GetActiveWindow() == Help(); }));

    // In the help window the shortcut belongs to nobody: its text stays the introduction.
    const std::vector<std::string> before = HelpLines();
    Form1().Report().Clear();
    Press('1', true);
    Press('2', true);
    Pump();
    EXPECT_TRUE(ReportLines().empty());
    EXPECT_EQ(HelpLines(), before);
}

} // namespace
