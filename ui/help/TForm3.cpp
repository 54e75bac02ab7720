#include "ui/help/TForm3.h"

#include "common/Exception.h"
#include "common/Text.h"
#include "common/ProductInfo.h"
#include "ui/Form1Tiles.h"
#include "win/CommonControls.h"
#include "win/Gdi.h"
#include "win/HighContrast.h"

namespace {

constexpr wchar_t kWindowClass[] = L"TForm3";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr char kCaption[] = "帮助文件";
constexpr SIZE kClientSize{314, 147};
constexpr RECT kMemoBounds{0, 0, 312, 145};
constexpr COLORREF kTextColour = RGB(0, 0x80, 0xC0);

// What the window opens with, lines separated by "\n".
std::string Introduction()
{
    return std::string("               《系统优化Kelvane》\n"
                       "\n"
                       "《系统优化Kelvane》是一款自动系统优化、网络加速、清\n"
                       "理维护的Kelvane软件。麻雀虽小，五脏俱全。轻轻点击，\n"
                       "一切ok。\n"
                       "“Tavrin软件”隆重推出的又一力作。\n"
                       "\n"
                       "                   Tavrin软件\n"
                       "          网址：") +
           product::kHomePage + "\n          Email：" + product::kSupportEmail;
}

} // namespace

TForm3::TForm3(ApplicationHost& application, HWND centreOver) : centreOver_(centreOver)
{
    HINSTANCE instance = application.InstanceHandle();
    Register(instance, kWindowClass, application.Icon(), application.SmallIcon());

    // No access keys: the captions carry none of their own.
    menu_ = ::CreateMenu();
    for (size_t tile = 0; tile < form1::kTiles.size(); ++tile)
        ::AppendMenuW(menu_, MF_STRING, form1::HelpTopicItem(form1::kTiles[tile].command),
                      WideFromGbk(form1::kTiles[tile].help.menuCaption).c_str());

    Create(instance, kWindowClass, WideFromGbk(kCaption).c_str(), kStyle, 0, {0, 0, 0, 0}, application.OwnerWindow(),
           menu_);
    application.AddWindow(Handle());

    memo_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN,
                              0, 0, 0, 0, Handle(), nullptr, instance, nullptr);
    if (!memo_)
        throw Exception("cannot create the help text area");
    LayOut(WindowDpi(Handle()), nullptr);
    text_ = MemoLines(memo_);
    text_.SetLines(Introduction());
    ShowFromTheTop();
}

void TForm3::LayOut(int dpi, const RECT* suggestedFrame)
{
    scale_ = DesignScale::ForDpi(dpi);
    UniqueFont memoFont = CreateDesignFont(scale_(12), L"宋体", GB2312_CHARSET);
    SetFont(memo_, memoFont.Get());
    memoFont_ = std::move(memoFont);

    RECT window;
    ::GetWindowRect(Handle(), &window);
    const POINT place = suggestedFrame ? POINT{suggestedFrame->left, suggestedFrame->top}
                                       : POINT{window.left, window.top};
    const SIZE clientSize{scale_(kClientSize.cx), scale_(kClientSize.cy)};
    PlaceWithClientSize(Handle(), place, clientSize, FrameSizeForDpi(clientSize, kStyle, true, dpi));

    const RECT bounds = scale_(kMemoBounds);
    ::MoveWindow(memo_, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE);
}

TForm3::~TForm3()
{
    // The menu goes with the window; a menu never attached is freed here.
    if (!Handle() && menu_ && ::IsMenu(menu_))
        ::DestroyMenu(menu_);
}

void TForm3::ShowTopic(size_t tile)
{
    text_.SetLines(form1::kTiles[tile].help.text);
    ShowFromTheTop();
}

void TForm3::ShowFromTheTop()
{
    // The area holds about nine lines: the reader starts at the heading, not the last line.
    ::SendMessageW(memo_, EM_SETSEL, 0, 0);
    ::SendMessageW(memo_, EM_SCROLLCARET, 0, 0);
}

void TForm3::PlaceOverMainWindow()
{
    RECT main;
    ::GetWindowRect(centreOver_, &main);
    RECT own;
    ::GetWindowRect(Handle(), &own);
    const int ownWidth = own.right - own.left;
    const int ownHeight = own.bottom - own.top;
    // Halves taken toward zero; never off the top or left of the screen.
    int left = main.left + ((main.right - main.left) - ownWidth) / 2;
    int top = main.top + ((main.bottom - main.top) - ownHeight) / 2;
    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    ::SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm3::Show()
{
    if (!placed_) {
        PlaceOverMainWindow();
        placed_ = true;
    }
    ::ShowWindow(Handle(), SW_SHOW);
    ::BringWindowToTop(Handle());
    ::SetForegroundWindow(Handle());
    ::SetActiveWindow(Handle());
}

LRESULT TForm3::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (ChangesColours(message, wParam))
        ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    switch (message) {
    case WM_COMMAND:
        // A menu item of the menu bar: a topic.
        if (lParam == 0)
            for (size_t tile = 0; tile < form1::kTiles.size(); ++tile)
                if (LOWORD(wParam) == form1::HelpTopicItem(form1::kTiles[tile].command)) {
                    ShowTopic(tile);
                    return 0;
                }
        break;
    case WM_CTLCOLOREDIT:
        if (reinterpret_cast<HWND>(lParam) == memo_) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, HighContrastIsOn() ? ::GetSysColor(COLOR_WINDOWTEXT) : kTextColour);
            ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
        }
        break;
    case WM_ACTIVATE:
    case WM_SETFOCUS:
        return PassFocusTo(memo_, message, wParam);
    case WM_CLOSE:
        ::ShowWindow(Handle(), SW_HIDE);
        return 0;
    case WM_DPICHANGED:
        LayOut(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    }
    return ::DefWindowProcW(Handle(), message, wParam, lParam);
}
