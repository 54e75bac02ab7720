#include "ui/main/TForm1.h"

#include "actions/Machine.h"
#include "actions/SystemInfoReport.h"
#include "actions/TuningActions.h"
#include "app/MessageDialog.h"
#include "app/TApplication.h"
#include "common/ProductInfo.h"
#include "common/SystemLibrary.h"
#include "common/Text.h"
#include "resources/ResourceIds.h"
#include "ui/help/TForm3.h"
#include "win/CommonControls.h"
#include "win/DeviceContext.h"

#include <windowsx.h>

using form1::Element;

namespace {

constexpr wchar_t kWindowClass[] = L"TForm1";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE, Windows 10 1703 and later

constexpr int kCategoryIconIds[] = {IDI_CATEGORY_SYSTEM_INFO, IDI_CATEGORY_SYSTEM_OPTIMISE, IDI_CATEGORY_NETWORK,
                                    IDI_CATEGORY_CLEANUP, IDI_CATEGORY_REPAIR};

// `family` tells the font mapper what to stand in where the face itself is missing.
UniqueFont CreateDesignFont(int characterHeight, int weight, BYTE charset, const wchar_t* face,
                            BYTE family = FF_DONTCARE)
{
    return UniqueFont(::CreateFontW(-characterHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset,
                                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | family,
                                    face));
}

// An icon of the resource drawn at (or nearest to) `size` pixels, which the system picks.
UniqueIcon LoadIconOfSize(HINSTANCE instance, int id, int size)
{
    return UniqueIcon(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
}

UniqueBitmap LoadBitmapResource(HINSTANCE instance, int id)
{
    return UniqueBitmap(static_cast<HBITMAP>(::LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
}

SIZE SizeOf(HBITMAP bitmap)
{
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

// `source` stretched to `size`, averaged (HALFTONE) so that a larger picture scaled down
// stays sharp.
UniqueBitmap Stretched(HBITMAP source, SIZE size)
{
    WindowDC screen(nullptr);
    UniqueBitmap result(::CreateCompatibleBitmap(screen.Get(), size.cx, size.cy));
    UniqueMemoryDC from = CreateMemoryDC(screen.Get());
    UniqueMemoryDC to = CreateMemoryDC(screen.Get());
    SelectedObject selectedFrom(from.Get(), source);
    SelectedObject selectedTo(to.Get(), result.Get());
    ::SetStretchBltMode(to.Get(), HALFTONE);
    ::SetBrushOrgEx(to.Get(), 0, 0, nullptr);
    const SIZE sourceSize = SizeOf(source);
    ::StretchBlt(to.Get(), 0, 0, size.cx, size.cy, from.Get(), 0, 0, sourceSize.cx, sourceSize.cy, SRCCOPY);
    return result;
}

// The tool-bar glyphs (index 2 unused, keeping the exit glyph at 3) drawn side by side on a
// key colour and handed to the image list in one go: adding icons one by one costs some
// milliseconds each under Wine.
UniqueImageList GlyphList(HINSTANCE instance, int size)
{
    constexpr COLORREF kKey = RGB(255, 0, 255);
    const int ids[] = {IDI_TOOL_MAIL, IDI_TOOL_HELP, IDI_TOOL_HELP, IDI_TOOL_EXIT};
    const WindowDC screen(nullptr);
    UniqueBitmap strip(::CreateCompatibleBitmap(screen.Get(), size * static_cast<int>(std::size(ids)), size));
    {
        const UniqueMemoryDC dc = CreateMemoryDC(screen.Get());
        const SelectedObject selected(dc.Get(), strip.Get());
        const UniqueBrush key(::CreateSolidBrush(kKey));
        const RECT all{0, 0, size * static_cast<int>(std::size(ids)), size};
        ::FillRect(dc.Get(), &all, key.Get());
        for (size_t i = 0; i < std::size(ids); ++i)
            ::DrawIconEx(dc.Get(), static_cast<int>(i) * size, 0, LoadIconOfSize(instance, ids[i], size).Get(), size,
                         size, 0, nullptr, DI_NORMAL);
    }
    UniqueImageList list(::ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, static_cast<int>(std::size(ids)), 0));
    ::ImageList_AddMasked(list.Get(), strip.Get(), kKey);
    return list;
}

} // namespace

TForm1::TForm1(TApplication& application, Machine& machine)
    : application_(application), machine_(machine), showMessage_(ShowMessageDialog),
      scale_(DesignScale::ForScreen())
{
    HINSTANCE instance = application.InstanceHandle();
    Register(instance, kWindowClass, application.Icon(), application.SmallIcon());

    // Created at the screen's scale; LayOut then makes it right for the monitor it is on.
    const SIZE frame = FrameSize(WindowDpi(nullptr));
    const int left = scale_(form1::kPosition.x);
    const int top = scale_(form1::kPosition.y);
    Create(instance, kWindowClass, WideFromGbk(form1::Caption()).c_str(), kStyle, 0,
           {left, top, left + frame.cx, top + frame.cy}, application.Handle(), nullptr);
    application.AddWindow(Handle());

    tileBrush_.Reset(::CreateSolidBrush(form1::kTileFill));
    banner_ = LoadBitmapResource(instance, IDB_BANNER);
    CreateControls();
    LayOut(WindowDpi(Handle()), nullptr);
    CreateShortcuts();
}

void TForm1::CreateShortcuts()
{
    // Ctrl+1 to Ctrl+5 (either row of digits) run the tiles, F1 shows the help window.
    std::vector<ACCEL> keys;
    for (size_t tile = 0; tile < form1::kTiles.size(); ++tile) {
        const WORD command = static_cast<WORD>(form1::kTiles[tile].command);
        keys.push_back({FVIRTKEY | FCONTROL, static_cast<WORD>('1' + tile), command});
        keys.push_back({FVIRTKEY | FCONTROL, static_cast<WORD>(VK_NUMPAD1 + tile), command});
    }
    keys.push_back({FVIRTKEY, VK_F1, static_cast<WORD>(form1::ToolButton3)});
    shortcuts_.Reset(::CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size())));
    application_.SetShortcuts(Handle(), shortcuts_.Get());
}

RECT TForm1::Scaled(const form1::Bounds& bounds) const
{
    return form1::ScaledRect(bounds, scale_);
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
    LayOutPictures();

    const POINT place = suggestedFrame ? POINT{suggestedFrame->left, suggestedFrame->top}
                                       : POINT{scale_(form1::kPosition.x), scale_(form1::kPosition.y)};
    PlaceWithClientSize(Handle(), place, {scale_(form1::kClientSize.cx), scale_(form1::kClientSize.cy)},
                        FrameSize(dpi));

    Place(toolBar_, form1::kToolBar1);
    LayOutToolBar();
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
    UniqueFont designFont = CreateDesignFont(scale_(11), FW_NORMAL, GB2312_CHARSET, L"MS Sans Serif");
    UniqueFont memoFont = CreateDesignFont(scale_(12), FW_NORMAL, GB2312_CHARSET, L"宋体");
    // The controls take the new fonts before the old ones are freed.
    for (HWND control : {statusBar_, toolbar::ToolTips(toolBar_)})
        if (control)
            SetFont(control, designFont.Get());
    SetFont(memo_, memoFont.Get());
    designFont_ = std::move(designFont);
    memoFont_ = std::move(memoFont);
    labelFont_ = CreateDesignFont(scale_(14), FW_BOLD, GB2312_CHARSET, L"宋体");
    // Latin letters only: the Latin character set keeps a serif face where Times New Roman is
    // missing, not the Chinese face of the locale.
    versionFont_ = CreateDesignFont(scale_(21), FW_NORMAL, ANSI_CHARSET, L"Times New Roman", FF_ROMAN);
}

void TForm1::LayOutPictures()
{
    HINSTANCE instance = application_.InstanceHandle();
    for (size_t i = 0; i < std::size(kCategoryIconIds); ++i)
        categoryIcons_[i] = LoadIconOfSize(instance, kCategoryIconIds[i], PictureSize());

    // The banner fills its band at every scale: drawn for 100 % and 200 %, and in between
    // the nearest larger drawing scaled down.
    scaledBanner_.Reset();
    const SIZE size{scale_(form1::kImage1.width), scale_(form1::kImage1.height)};
    if (scale_.IsIdentity() || !banner_)
        return;
    if (size.cx <= SizeOf(banner_.Get()).cx) {
        scaledBanner_ = Stretched(banner_.Get(), size);
        return;
    }
    // Drawn for 200 %: loaded only once a display asks for more than 100 %.
    if (!banner2x_)
        banner2x_ = LoadBitmapResource(instance, IDB_BANNER_2X);
    scaledBanner_ = Stretched(banner2x_ ? banner2x_.Get() : banner_.Get(), size);
}

void TForm1::CreateControls()
{
    CreateToolBar();
    CreateStatusBar();
    CreateMemo();
    tiles_.Attach(Handle(), {toolBar_, memo_, statusBar_});
}

void TForm1::CreateToolBar()
{
    const RECT bounds = Scaled(form1::kToolBar1);
    toolBar_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                     CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                 bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                 Handle(), nullptr, application_.InstanceHandle(), nullptr);
    ::SendMessageW(toolBar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    application_.ApplyHintSettings(toolbar::ToolTips(toolBar_));
    toolBarSubclass_ = WindowSubclass(toolBar_, ToolBarSubclass, 1, reinterpret_cast<DWORD_PTR>(this));
    toolBarButtons_ = ToolBarButtons(toolBar_, Handle());
}

void TForm1::LayOutToolBar()
{
    UniqueImageList glyphs = GlyphList(application_.InstanceHandle(), PictureSize());
    ::SendMessageW(toolBar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(glyphs.Get()));
    glyphs_ = std::move(glyphs);

    // The separators' widths are part of the buttons, so the buttons are laid in anew.
    while (::SendMessageW(toolBar_, TB_BUTTONCOUNT, 0, 0) > 0)
        ::SendMessageW(toolBar_, TB_DELETEBUTTON, 0, 0);
    const LPARAM buttonSize = MAKELPARAM(scale_(form1::kToolButtonSize.cx), scale_(form1::kToolButtonSize.cy));
    ::SendMessageW(toolBar_, TB_SETBUTTONSIZE, 0, buttonSize);
    // The spacer Label1 takes the left of the bar; the buttons start after it.
    ::SendMessageW(toolBar_, TB_SETINDENT, static_cast<WPARAM>(scale_(form1::kToolBarSpacerWidth)), 0);

    std::vector<TBBUTTON> buttons;
    for (const form1::ToolButton& button : form1::kToolButtons) {
        TBBUTTON separator{};
        separator.iBitmap = scale_(form1::kToolSeparatorWidth);
        separator.fsStyle = BTNS_SEP;
        buttons.push_back(separator);
        TBBUTTON tool{};
        tool.iBitmap = button.glyph;
        tool.idCommand = static_cast<int>(button.command);
        tool.fsState = TBSTATE_ENABLED;
        tool.fsStyle = BTNS_BUTTON;
        tool.iString = -1;
        buttons.push_back(tool);
    }
    ::SendMessageW(toolBar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    ::SendMessageW(toolBar_, TB_SETBUTTONSIZE, 0, buttonSize);
}

void TForm1::CreateStatusBar()
{
    const RECT bounds = Scaled(form1::kStatusBar1);
    statusBar_ = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr,
                                   WS_CHILD | WS_VISIBLE | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER,
                                   bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                   Handle(), nullptr, application_.InstanceHandle(), nullptr);
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

// ---- Commands ----

void TForm1::Label2Click()
{
    RunSystemInfoReport(report_, machine_, application_.ThousandsSeparator());
}

void TForm1::N11Click()
{
    RunSystemOptimisation(report_);
}

void TForm1::N21Click()
{
    RunNetworkAcceleration(report_);
}

void TForm1::N31Click()
{
    RunCleanup(report_);
}

void TForm1::N41Click()
{
    RunOnlineRepair(machine_, Handle(), showMessage_, [this] { return !application_.Ending(); });
}

void TForm1::Shape5ContextPopup()
{
    if (helpWindow_)
        helpWindow_->Show();
}

void TForm1::ToolButton3Click()
{
    if (helpWindow_)
        helpWindow_->Show();
}

void TForm1::ToolButton5Click()
{
    machine_.OpenWithShell(Handle(), std::string("mailto:") + product::kSupportEmail);
}

void TForm1::ToolButton9Click()
{
    ::SendMessageW(Handle(), WM_CLOSE, 0, 0);
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
    for (size_t tile = 0; tile < form1::kTiles.size(); ++tile) {
        if (!change.framesChanged[tile])
            continue;
        const Element shape = form1::kTiles[tile].shape;
        for (const form1::ElementDesign& design : form1::kElements)
            if (design.element == shape) {
                const RECT bounds = Scaled(design.bounds);
                ::InvalidateRect(Handle(), &bounds, FALSE);
            }
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
    pressed_ = Element::None;
    if (::GetCapture() == Handle())
        ::ReleaseCapture();
    // A click is a press and a release on the same element.
    if (element == pressed)
        OnClick(element);
}

LRESULT TForm1::OnGetObject(WPARAM flags, LPARAM object)
{
    if (const std::optional<LRESULT> answer = accessible_.Answer(Handle(), tiles_, flags, object))
        return *answer;
    return ::DefWindowProcW(Handle(), WM_GETOBJECT, flags, object);
}

void TForm1::OnDestroy()
{
    // A reader may hold the objects longer than the window lives.
    accessible_.Close();
    toolBarAccessible_.Close();
}

void TForm1::OnClick(Element element)
{
    switch (element) {
    case Element::Label2: Label2Click(); break;
    case Element::Label3: Label3Click(); break;
    case Element::Label4: Label4Click(); break;
    case Element::Label5: Label5Click(); break;
    case Element::Label6: Label6Click(); break;
    default: break;
    }
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
    // The client area is the window's own: only Shape5 answers there.
    if (target == Handle() && ElementAt(MAKELPARAM(point.x, point.y)) == Element::Shape5)
        Shape5ContextPopup();
    return true;
}

LRESULT CALLBACK TForm1::ToolBarSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR self) noexcept
{
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        // Where the system's own object names the buttons, it answers; else they are supplied.
        auto* form = reinterpret_cast<TForm1*>(self);
        static const bool systemNamesThem = ToolBarButtons::SystemNamesThem(window);
        if (!systemNamesThem)
            if (const std::optional<LRESULT> answer =
                    form->toolBarAccessible_.Answer(window, form->toolBarButtons_, wParam, lParam))
                return *answer;
    }
    if (message == WM_MOUSEMOVE) {
        auto* form = reinterpret_cast<TForm1*>(self);
        const int x = GET_X_LPARAM(lParam);
        const int y = GET_Y_LPARAM(lParam);
        // The spacer Label1 fills the left of the button row.
        if (x < form->scale_(form1::kToolBarSpacerWidth) && y < form->scale_(form1::kToolBarRowHeight)) {
            try {
                form->ApplyHover(form->hover_.PointerMovedOverToolBarSpacer());
            } catch (const std::exception& failure) {
                ReportWindowFailure(failure);
            }
        }
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
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
    PaintContent(memory.Get());
    const RECT& area = paint.Area();
    ::BitBlt(paint.Get(), area.left, area.top, area.right - area.left, area.bottom - area.top, memory.Get(),
             area.left, area.top, SRCCOPY);
}

void TForm1::PaintFrame(HDC dc, int tile)
{
    // The outline lies inside the frame's bounds, half its width in from the edge. Its width
    // (1 pixel, 2 when highlighted) scales with the design.
    const bool highlighted = hover_.IsHighlighted(tile);
    const int penWidth = scale_(highlighted ? 2 : 1);
    UniquePen pen(::CreatePen(PS_SOLID, penWidth, highlighted ? form1::kFrameHighlighted : form1::kFrameNormal));
    SelectedObject selectedPen(dc, pen.Get());
    SelectedObject selectedBrush(dc, tileBrush_.Get());
    const RECT bounds = Scaled(form1::TileFrame(tile));
    const int inset = penWidth / 2;
    const int width = bounds.right - bounds.left - penWidth + 1;
    const int height = bounds.bottom - bounds.top - penWidth + 1;
    ::Rectangle(dc, bounds.left + inset, bounds.top + inset, bounds.left + inset + width,
                bounds.top + inset + height);
}

void TForm1::PaintContent(HDC dc)
{
    RECT client;
    ::GetClientRect(Handle(), &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    ::SetBkMode(dc, TRANSPARENT);

    for (const form1::ElementDesign& design : form1::kElements) {
        const RECT bounds = Scaled(design.bounds);
        switch (design.element) {
        case Element::Shape1: case Element::Shape2: case Element::Shape3: case Element::Shape4:
        case Element::Shape5:
            PaintFrame(dc, static_cast<int>(design.element) - static_cast<int>(Element::Shape1));
            break;
        case Element::Bevel1: {
            // A lowered line along the right edge: shadow, then highlight, a pixel each at 100 %.
            const int line = scale_(1);
            RECT shadow{bounds.right - 2 * line, bounds.top, bounds.right - line, bounds.bottom};
            RECT light{bounds.right - line, bounds.top, bounds.right, bounds.bottom};
            ::FillRect(dc, &shadow, ::GetSysColorBrush(COLOR_BTNSHADOW));
            ::FillRect(dc, &light, ::GetSysColorBrush(COLOR_BTNHIGHLIGHT));
            break;
        }
        case Element::Label2: case Element::Label3: case Element::Label4: case Element::Label5:
        case Element::Label6: {
            const std::wstring caption = WideFromGbk(form1::kTiles[static_cast<size_t>(
                form1::TileOfLabel(design.element))].caption);
            SelectedObject font(dc, labelFont_.Get());
            ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
            RECT textBounds = bounds;
            ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textBounds,
                        DT_CENTER | DT_EXPANDTABS);
            break;
        }
        case Element::Image2: case Element::Image3: case Element::Image4: case Element::Image5:
        case Element::Image6: {
            const size_t tile = static_cast<size_t>(design.element) - static_cast<size_t>(Element::Image2);
            if (categoryIcons_[tile])
                ::DrawIconEx(dc, bounds.left, bounds.top, categoryIcons_[tile].Get(), PictureSize(), PictureSize(), 0,
                             nullptr, DI_NORMAL);
            break;
        }
        case Element::CoolBar1:
            ::FillRect(dc, &bounds, ::GetSysColorBrush(COLOR_BTNFACE));
            break;
        case Element::Image1: {
            // The band clips the picture's last column and row.
            const RECT band = Scaled(form1::kCoolBar1);
            UniqueMemoryDC source = CreateMemoryDC(dc);
            SelectedObject selected(source.Get(), scaledBanner_ ? scaledBanner_.Get() : banner_.Get());
            ::BitBlt(dc, band.left, band.top, band.right - band.left, band.bottom - band.top, source.Get(), 0, 0,
                     SRCCOPY);
            break;
        }
        case Element::Label7: {
            SelectedObject font(dc, versionFont_.Get());
            ::SetTextColor(dc, form1::kVersionColour);
            RECT textBounds = bounds;
            const std::wstring text = WideFromGbk(form1::kVersionLabel);
            ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textBounds, DT_LEFT | DT_EXPANDTABS);
            break;
        }
        case Element::None:
            break;
        }
    }
}

// ---- Messages ----

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

LRESULT TForm1::OnNotify(const NMHDR& header)
{
    if (header.code == TTN_GETDISPINFOW) {
        auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
        for (const form1::ToolButton& button : form1::kToolButtons)
            if (info.hdr.idFrom == button.command) {
                tooltipText_ = WideFromGbk(button.hint);
                info.lpszText = tooltipText_.data();
            }
    }
    return 0;
}

LRESULT TForm1::OnControlColour(HDC dc, HWND control)
{
    if (control != memo_)
        return ::DefWindowProcW(Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                reinterpret_cast<LPARAM>(control));
    ::SetTextColor(dc, form1::kReportColour);
    ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
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
    case WM_NOTIFY: return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
    case WM_CTLCOLORSTATIC: return OnControlColour(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_GETOBJECT: return OnGetObject(wParam, lParam);
    case WM_DESTROY: OnDestroy(); break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case form1::Label2: Label2Click(); return 0;
        case form1::Label3: Label3Click(); return 0;
        case form1::Label4: Label4Click(); return 0;
        case form1::Label5: Label5Click(); return 0;
        case form1::Label6: Label6Click(); return 0;
        case form1::ToolButton3: ToolButton3Click(); return 0;
        case form1::ToolButton5: ToolButton5Click(); return 0;
        case form1::ToolButton9: ToolButton9Click(); return 0;
        }
        break;
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
