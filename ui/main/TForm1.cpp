#include "ui/main/TForm1.h"

#include "common/ProductInfo.h"
#include "common/Text.h"
#include "ui/Form1Tiles.h"
#include "win/CommonControls.h"
#include "win/DeviceContext.h"
#include "win/Gdi.h"
#include "win/HighContrast.h"

#include <windowsx.h>

using form1::Element;

namespace {

constexpr wchar_t kWindowClass[] = L"TForm1";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE, Windows 10 1703 and later

} // namespace

TForm1::TForm1(ApplicationHost& application, Machine& machine, MessageDialog showMessage)
    : application_(application), machine_(machine), showMessage_(std::move(showMessage)),
      scale_(DesignScale::ForScreen()), painter_(application.InstanceHandle())
{
    HINSTANCE instance = application.InstanceHandle();
    Register(instance, kWindowClass, application.Icon(), application.SmallIcon());

    // Created at the screen's scale; LayOut then makes it right for the monitor it is on.
    const SIZE frame = FrameSize(WindowDpi(nullptr));
    const int left = scale_(form1::kPosition.x);
    const int top = scale_(form1::kPosition.y);
    Create(instance, kWindowClass, WideFromGbk(form1::Caption()).c_str(), kStyle, 0,
           {left, top, left + frame.cx, top + frame.cy}, application.OwnerWindow(), nullptr);
    application.AddWindow(Handle());

    toolBar_.Create(Handle(), Scaled(form1::kToolBar1), application_,
                    [this] { ApplyHover(hover_.PointerMovedOverToolBarSpacer()); });
    CreateStatusBar();
    CreateMemo();
    tileReaderItems_.Attach(Handle(), {toolBar_.Handle(), memo_, statusBar_});
    // Started under high contrast, the controls follow it as they would on a switch.
    if (HighContrastIsOn())
        OnColoursChanged(WM_THEMECHANGED, 0, 0);
    LayOut(WindowDpi(Handle()), nullptr);
    CreateShortcuts();
}

void TForm1::CreateShortcuts()
{
    // Every tile and tool button that has a key; a digit with Ctrl from either row of digits.
    std::vector<ACCEL> keys;
    auto add = [&keys](const form1::Shortcut& shortcut, form1::Command command) {
        if (!shortcut.key)
            return;
        const BYTE flags = FVIRTKEY | (shortcut.control ? FCONTROL : 0);
        keys.push_back({flags, shortcut.key, static_cast<WORD>(command)});
        if (shortcut.key >= '0' && shortcut.key <= '9')
            keys.push_back({flags, static_cast<WORD>(VK_NUMPAD0 + shortcut.key - '0'), static_cast<WORD>(command)});
    };
    for (const form1::Tile& tile : form1::kTiles)
        add(tile.shortcut, tile.command);
    for (const form1::ToolButton& button : form1::kToolButtons)
        add(button.shortcut, button.command);
    shortcuts_.Reset(::CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size())));
    application_.SetShortcuts(Handle(), shortcuts_.Get());
}

void TForm1::Place(HWND control, const form1::Bounds& bounds) const
{
    // Created in place at the screen's scale, a control moves only when a dpi change asks it to.
    const RECT place = Scaled(bounds);
    RECT now;
    ::GetWindowRect(control, &now);
    ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&now), 2);
    if (!::EqualRect(&now, &place))
        ::MoveWindow(control, place.left, place.top, place.right - place.left, place.bottom - place.top, TRUE);
}

SIZE TForm1::FrameSize(int dpi)
{
    const DesignScale scale = DesignScale::ForDpi(dpi);
    return FrameSizeForDpi({scale(form1::kClientSize.cx), scale(form1::kClientSize.cy)}, kStyle, false, dpi);
}

void TForm1::LayOut(int dpi, const RECT* suggestedFrame)
{
    scale_ = DesignScale::ForDpi(dpi);
    LayOutFonts();
    painter_.LayOut(scale_);

    const POINT place = suggestedFrame ? POINT{suggestedFrame->left, suggestedFrame->top}
                                       : POINT{scale_(form1::kPosition.x), scale_(form1::kPosition.y)};
    PlaceWithClientSize(Handle(), place, {scale_(form1::kClientSize.cx), scale_(form1::kClientSize.cy)},
                        FrameSize(dpi));

    Place(toolBar_.Handle(), form1::kToolBar1);
    toolBar_.LayOut(scale_);
    Place(statusBar_, form1::kStatusBar1);
    const int parts[] = {scale_(form1::kStatusPanel0Width), -1};
    statusbar::SetParts(statusBar_, 2, parts);
    Place(memo_, form1::kMemo1);
    ::InvalidateRect(Handle(), nullptr, TRUE);
}

void TForm1::LayOutFonts()
{
    // The GB2312 character set lets the font mapper stand in a face with Chinese glyphs for
    // the status texts where MS Sans Serif has none, whatever the system code page.
    UniqueFont designFont = CreateDesignFont(scale_(11), L"MS Sans Serif", GB2312_CHARSET);
    UniqueFont memoFont = CreateDesignFont(scale_(12), L"宋体", GB2312_CHARSET);
    // The controls take the new fonts before the old ones are freed.
    for (HWND control : {statusBar_, toolbar::ToolTips(toolBar_.Handle())})
        if (control)
            SetFont(control, designFont.Get());
    SetFont(memo_, memoFont.Get());
    designFont_ = std::move(designFont);
    memoFont_ = std::move(memoFont);
}

void TForm1::CreateStatusBar()
{
    const RECT bounds = Scaled(form1::kStatusBar1);
    statusBar_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr,
                                   WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER,
                                   bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                   Handle(), nullptr, application_.InstanceHandle(), nullptr);
    statusBarSubclass_ = StatusTextInSystemColours(statusBar_);
    // Two panels before their texts; LayOut gives them their widths.
    const int parts[] = {form1::kStatusPanel0Width, -1};
    statusbar::SetParts(statusBar_, 2, parts);
    statusbar::SetText(statusBar_, 0, WideFromGbk(hover_.StatusText()));
    // A leading tab centres a panel's text.
    statusbar::SetText(statusBar_, 1, L"\t" + WideFromGbk(product::kHomePageShown));
}

void TForm1::CreateMemo()
{
    const RECT bounds = Scaled(form1::kMemo1);
    memo_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                              bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                              Handle(), nullptr, application_.InstanceHandle(), nullptr);
    // A registry value may be long; the report is never cut short at the default 32K.
    ::SendMessageW(memo_, EM_SETLIMITTEXT, 0, 0);
    report_ = MemoLines(memo_);
}

// ---- Pointer ----

Element TForm1::ElementAt(LPARAM clientPoint) const
{
    return form1::HitTest(GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint), [this](const form1::Bounds& b) {
        return form1::Bounds{scale_(b.left), scale_(b.top), scale_(b.width), scale_(b.height)};
    });
}

void TForm1::OnMouseMove(Element element)
{
    ApplyHover(hover_.PointerMovedOver(element));
}

void TForm1::ApplyHover(const HoverFeedback::Change& change)
{
    for (const std::optional<size_t>& tile : {change.unhighlighted, change.highlighted})
        if (tile) {
            const RECT bounds = Scaled(form1::kTiles[*tile].frame);
            ::InvalidateRect(Handle(), &bounds, FALSE);
        }
    if (change.statusChanged)
        statusbar::SetText(statusBar_, 0, WideFromGbk(hover_.StatusText()));
}

void TForm1::OnLeftButtonDown(Element element)
{
    pressed_ = element;
    ::SetCapture(Handle());
}

void TForm1::OnLeftButtonUp(Element element)
{
    const Element pressed = pressed_;
    pressed_ = {};
    if (::GetCapture() == Handle())
        ::ReleaseCapture();
    // A click is a press and a release on the same label.
    if (element == pressed && element.kind == Element::TileLabel)
        Run(form1::kTiles[element.tile].command);
}

bool TForm1::OnContextMenu(HWND target, LPARAM screenPoint)
{
    // From the keyboard, or on the caption and frame: the system's (the window menu).
    if (screenPoint == -1)
        return false;
    POINT point{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    ::ScreenToClient(Handle(), &point);
    RECT client;
    ::GetClientRect(Handle(), &client);
    if (!::PtInRect(&client, point))
        return false;
    // The client area is the window's own: only a frame whose row has a handler answers there.
    const Element element = ElementAt(MAKELPARAM(point.x, point.y));
    if (target == Handle() && element.kind == Element::TileFrame)
        if (const Binding* binding = BindingOf(form1::kTiles[element.tile].command); binding && binding->frameRightClick)
            (this->*binding->frameRightClick)();
    return true;
}

LRESULT TForm1::OnGetObject(WPARAM flags, LPARAM object)
{
    if (const std::optional<LRESULT> answer = accessible_.Answer(Handle(), tileReaderItems_, flags, object))
        return *answer;
    return ::DefWindowProcW(Handle(), WM_GETOBJECT, flags, object);
}

void TForm1::OnColoursChanged(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The common controls hear of new system colours only from their parent.
    for (HWND control : {toolBar_.Handle(), statusBar_}) {
        FollowHighContrast(control);
        if (message == WM_SYSCOLORCHANGE)
            ::SendMessageW(control, message, wParam, lParam);
    }
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TForm1::OnDestroy()
{
    // A reader may hold the objects longer than the window lives.
    accessible_.Close();
    toolBar_.CloseAccessibility();
}

// ---- Painting ----

void TForm1::OnPaint()
{
    PaintDC paint(Handle());
    RECT client;
    ::GetClientRect(Handle(), &client);
    // Painted off screen and copied in one go, so nothing flickers on hover.
    UniqueMemoryDC memory = CreateMemoryDC(paint.Get());
    UniqueBitmap buffer(::CreateCompatibleBitmap(paint.Get(), client.right, client.bottom));
    SelectedObject selected(memory.Get(), buffer.Get());
    painter_.Paint(memory.Get(), client, hover_);
    const RECT& area = paint.Area();
    ::BitBlt(paint.Get(), area.left, area.top, area.right - area.left, area.bottom - area.top, memory.Get(),
             area.left, area.top, SRCCOPY);
}

LRESULT TForm1::OnEraseBackground(HDC dc)
{
    // The window paints all of itself off screen. The flat tool bar is transparent and asks
    // for the background under it with its own device context.
    if (::WindowFromDC(dc) != Handle()) {
        RECT area;
        ::GetClipBox(dc, &area);
        ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_BTNFACE));
    }
    return 1;
}

LRESULT TForm1::OnReportColour(HDC dc)
{
    ::SetTextColor(dc, form1::CurrentPalette().reportText);
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
}

// ---- Messages ----

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (ChangesColours(message, wParam))
        OnColoursChanged(message, wParam, lParam);
    switch (message) {
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return OnEraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_MOUSEMOVE: OnMouseMove(ElementAt(lParam)); return 0;
    case WM_LBUTTONDOWN: OnLeftButtonDown(ElementAt(lParam)); return 0;
    case WM_LBUTTONUP: OnLeftButtonUp(ElementAt(lParam)); return 0;
    case WM_CONTEXTMENU:
        if (OnContextMenu(reinterpret_cast<HWND>(wParam), lParam))
            return 0;
        break;
    case WM_NOTIFY: toolBar_.AnswerToolTip(*reinterpret_cast<const NMHDR*>(lParam)); return 0;
    case WM_CTLCOLORSTATIC:
        // The read-only report area asks as a static control does.
        if (reinterpret_cast<HWND>(lParam) == memo_)
            return OnReportColour(reinterpret_cast<HDC>(wParam));
        break;
    case WM_GETOBJECT: return OnGetObject(wParam, lParam);
    case WM_DESTROY: OnDestroy(); break;
    case WM_COMMAND: Run(form1::Command(LOWORD(wParam))); return 0;
    case WM_ACTIVATE:
    case WM_SETFOCUS:
        // The report area is the only control that takes the focus.
        return PassFocusTo(memo_, message, wParam);
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            application_.Minimize();
            return 0;
        }
        break;
    case WM_CLOSE:
        application_.Terminate();
        return 0;
    case WM_DPICHANGED:
        LayOut(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case kGetDpiScaledSize:
        // The system asks before a dpi change how large the window will be: the design at the
        // new scale, which need not be the old size times the ratio of the dpis.
        *reinterpret_cast<SIZE*>(lParam) = FrameSize(static_cast<int>(wParam));
        return TRUE;
    }
    return ::DefWindowProcW(Handle(), message, wParam, lParam);
}
