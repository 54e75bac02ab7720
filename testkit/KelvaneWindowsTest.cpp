#include "testkit/KelvaneWindowsTest.h"

#include "common/ProductInfo.h"
#include "ui/Form1Tiles.h"

#include <commctrl.h>

std::vector<ErrorBoxCall>& RecordedErrorBoxes()
{
    static std::vector<ErrorBoxCall> calls;
    return calls;
}

namespace {

HWND gApplicationWindow = nullptr;
HWND gMainWindow = nullptr;
HWND gHelpWindow = nullptr;

int RecordErrorBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT flags)
{
    const bool disabled = !::IsWindowEnabled(gApplicationWindow) && !::IsWindowEnabled(gMainWindow) &&
                          !::IsWindowEnabled(gHelpWindow);
    RecordedErrorBoxes().push_back(
        {owner, probe::Gbk(text ? text : L""), probe::Gbk(caption ? caption : L""), flags, disabled, ::GetCapture()});
    return IDOK;
}

} // namespace

void KelvaneWindowsTest::SetUp()
{
    savedRegistryApi_ = ActiveRegistryApi();
    machine_.disk = {8, 512, 250'000, 2'000'000};  // 8,192,000,000 bytes, 1,024,000,000 free
    machine_.tempPath = "C:\\TEMP\\";
    realErrorBox_ = ErrorBox();
    ErrorBox() = RecordErrorBox;
    ErrorBoxCalls().clear();

    // The real pointer rests clear of where the windows will stand, so that only the messages a
    // test sends reach them.
    ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);

    application_ = std::make_unique<TApplication>(::GetModuleHandleW(nullptr), machine_);
    application_->SetTitle(product::kTitle);
    form1_ = std::make_unique<TForm1>(*application_, machine_,
                                      [this](const std::string& text) { messagesShown_.push_back(text); });
    form3_ = std::make_unique<TForm3>(*application_, form1_->Handle());
    form1_->SetHelpWindow(*form3_);
    gApplicationWindow = AppWindow();
    gMainWindow = Main();
    gHelpWindow = Help();

    application_->ShowMainWindow(SW_SHOWNORMAL);
    ::UpdateWindow(Main());
    // Shown and activated as after a normal start. Keyboard, focus and tool-tip tests rely on it,
    // so a window left inactive fails here, saying so, rather than there, in some other way.
    ASSERT_TRUE(WaitUntil([this] { return ::GetActiveWindow() == Main(); }, 5000))
        << "the main window was not activated within 5 s of being shown";
}

void KelvaneWindowsTest::TearDown()
{
    if (!errorBoxesExpected_) {
        for (const ErrorBoxCall& call : ErrorBoxCalls())
            ADD_FAILURE() << "unexpected error box: " << call.text;
    }
    ErrorBox() = realErrorBox_;
    ActiveRegistryApi() = savedRegistryApi_;
    if (application_)
        application_->Shutdown();
    form3_.reset();
    form1_.reset();
    application_.reset();
    gApplicationWindow = gMainWindow = gHelpWindow = nullptr;
    Pump();
}

void KelvaneWindowsTest::Pump()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitPosted_ = true;
            continue;
        }
        if (application_ && application_->TranslateShortcut(message))
            continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

HWND KelvaneWindowsTest::WindowAt(POINT client) const
{
    return ::ChildWindowFromPointEx(Main(), client, CWP_SKIPINVISIBLE);
}

namespace {

LPARAM PointIn(HWND from, HWND to, POINT point)
{
    ::MapWindowPoints(from, to, &point, 1);
    return MAKELPARAM(point.x, point.y);
}

} // namespace

void KelvaneWindowsTest::MoveTo(int x, int y)
{
    HWND target = WindowAt({x, y});
    ::SendMessageW(target, WM_MOUSEMOVE, 0, PointIn(Main(), target, {x, y}));
}

void KelvaneWindowsTest::PressAt(int x, int y)
{
    HWND target = WindowAt({x, y});
    ::SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, PointIn(Main(), target, {x, y}));
}

void KelvaneWindowsTest::ReleaseAt(int x, int y)
{
    // While a window holds the capture, the release goes to it.
    HWND target = ::GetCapture() ? ::GetCapture() : WindowAt({x, y});
    ::SendMessageW(target, WM_LBUTTONUP, 0, PointIn(Main(), target, {x, y}));
}

void KelvaneWindowsTest::ClickAt(int x, int y)
{
    MoveTo(x, y);
    PressAt(x, y);
    ReleaseAt(x, y);
    Pump();
}

void KelvaneWindowsTest::RightClickAt(int x, int y)
{
    HWND target = WindowAt({x, y});
    const LPARAM point = PointIn(Main(), target, {x, y});
    ::SendMessageW(target, WM_MOUSEMOVE, 0, point);
    ::SendMessageW(target, WM_RBUTTONDOWN, MK_RBUTTON, point);
    ::SendMessageW(target, WM_RBUTTONUP, 0, point);
    Pump();
}

void KelvaneWindowsTest::MoveOnToolBar(int x, int y)
{
    ::SendMessageW(form1_->ToolBar1(), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

UINT KelvaneWindowsTest::ToolButtonCommand(const char* hint)
{
    for (size_t button = 0; button < form1::kToolButtons.size(); ++button)
        if (std::string(form1::kToolButtons[button].hint) == hint)
            return static_cast<UINT>(form1::kToolButtons[button].command);
    ADD_FAILURE() << "no tool button " << hint;
    return 0;
}

RECT KelvaneWindowsTest::ToolButtonRect(const char* hint) const
{
    HWND toolBar = form1_->ToolBar1();
    const UINT command = ToolButtonCommand(hint);
    const auto index = ::SendMessageW(toolBar, TB_COMMANDTOINDEX, command, 0);
    RECT rect{};
    ::SendMessageW(toolBar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void KelvaneWindowsTest::ClickToolButton(const char* hint)
{
    HWND toolBar = form1_->ToolBar1();
    const RECT rect = ToolButtonRect(hint);
    const LPARAM centre = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SendMessageW(toolBar, WM_MOUSEMOVE, 0, centre);
    ::SendMessageW(toolBar, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ::SendMessageW(toolBar, WM_LBUTTONUP, 0, centre);
    Pump();
}

void KelvaneWindowsTest::ChooseHelpMenuItem(int position)
{
    HMENU menu = ::GetMenu(Help());
    const UINT id = ::GetMenuItemID(menu, position);
    ASSERT_NE(id, static_cast<UINT>(-1)) << "menu item " << position << " is a sub-menu or missing";
    // What the menu bar sends when one of its items is clicked.
    ::SendMessageW(Help(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Pump();
}

std::string KelvaneWindowsTest::Frames() const
{
    std::string frames;
    for (int tile = 0; tile < 5; ++tile)
        frames += form1_->Hover().IsHighlighted(tile) ? '1' : '0';
    return frames;
}
