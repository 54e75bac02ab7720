#include "ui/main/Form1ToolBar.h"

#include "common/Text.h"
#include "ui/Form1Tiles.h"
#include "win/DeviceContext.h"
#include "win/Gdi.h"
#include "win/WindowFailure.h"

#include <windowsx.h>

#include <vector>

namespace {

// The glyph list ImageList1, one glyph a tool button in the buttons' order, drawn side by side
// on a key colour and handed to the image list in one go: adding icons one by one costs some
// milliseconds each under Wine.
UniqueImageList GlyphList(HINSTANCE instance, int size)
{
    constexpr COLORREF kKey = RGB(255, 0, 255);
    const int count = static_cast<int>(form1::kToolButtons.size());
    const WindowDC screen(nullptr);
    UniqueBitmap strip(::CreateCompatibleBitmap(screen.Get(), size * count, size));
    {
        const UniqueMemoryDC dc = CreateMemoryDC(screen.Get());
        const SelectedObject selected(dc.Get(), strip.Get());
        const UniqueBrush key(::CreateSolidBrush(kKey));
        const RECT all{0, 0, size * count, size};
        ::FillRect(dc.Get(), &all, key.Get());
        for (int i = 0; i < count; ++i)
            ::DrawIconEx(dc.Get(), i * size, 0,
                         LoadIconOfSize(instance, WideFromGbk(form1::kToolButtons[i].glyph).c_str(), size).Get(), size,
                         size, 0, nullptr, DI_NORMAL);
    }
    UniqueImageList list(::ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, count, 0));
    ::ImageList_AddMasked(list.Get(), strip.Get(), kKey);
    return list;
}

} // namespace

void Form1ToolBar::Create(HWND parent, const RECT& bounds, ApplicationHost& application,
                          std::function<void()> onSpacerHover)
{
    instance_ = application.InstanceHandle();
    onSpacerHover_ = std::move(onSpacerHover);
    window_ = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS |
                                    CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                parent, nullptr, instance_, nullptr);
    toolbar::SetButtonStructSize(window_);
    application.ApplyHintSettings(toolbar::ToolTips(window_));
    subclass_ = WindowSubclass(window_, Subclass, 1, reinterpret_cast<DWORD_PTR>(this));
    readerItems_ = ToolBarButtons(window_, parent);
}

void Form1ToolBar::LayOut(const DesignScale& scale)
{
    scale_ = scale;
    const int pictureSize = scale_(form1::kPictureSize);
    UniqueImageList glyphs = GlyphList(instance_, pictureSize);
    toolbar::SetImageList(window_, glyphs.Get());
    glyphs_ = std::move(glyphs);

    // The separators' widths are part of the buttons, so the buttons are laid in anew.
    toolbar::DeleteAllButtons(window_);
    const SIZE buttonSize{scale_(form1::kToolButtonSize.cx), scale_(form1::kToolButtonSize.cy)};
    toolbar::SetButtonSize(window_, buttonSize);
    // The spacer Label1 takes the left of the bar; the buttons start after it.
    toolbar::SetIndent(window_, scale_(form1::kToolBarSpacerWidth));

    std::vector<TBBUTTON> buttons;
    for (size_t i = 0; i < form1::kToolButtons.size(); ++i) {
        TBBUTTON separator{};
        separator.iBitmap = scale_(form1::kToolSeparatorWidth);
        separator.fsStyle = BTNS_SEP;
        buttons.push_back(separator);
        TBBUTTON tool{};
        tool.iBitmap = static_cast<int>(i);  // its glyph's place in the list
        tool.idCommand = static_cast<int>(form1::kToolButtons[i].command);
        tool.fsState = TBSTATE_ENABLED;
        tool.fsStyle = BTNS_BUTTON;
        tool.iString = -1;
        buttons.push_back(tool);
    }
    toolbar::AddButtons(window_, buttons);
    toolbar::SetButtonSize(window_, buttonSize);
}

bool Form1ToolBar::AnswerToolTip(const NMHDR& header)
{
    if (header.code != TTN_GETDISPINFOW)
        return false;
    // The tip asks its owner, whose notification names the command of the button under it.
    auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
    for (const form1::ToolButton& button : form1::kToolButtons)
        if (info.hdr.idFrom == static_cast<UINT_PTR>(button.command)) {
            tooltipText_ = WideFromGbk(button.hint);
            info.lpszText = tooltipText_.data();
        }
    return true;
}

LRESULT CALLBACK Form1ToolBar::Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) noexcept
{
    auto* toolBar = reinterpret_cast<Form1ToolBar*>(self);
    if (message == WM_GETOBJECT) {
        // Where the system's own object names the buttons, it answers; else they are supplied.
        static const bool systemNamesThem = ToolBarButtons::SystemNamesThem(window);
        if (!systemNamesThem)
            if (const std::optional<LRESULT> answer =
                    toolBar->accessible_.Answer(window, toolBar->readerItems_, wParam, lParam))
                return *answer;
    }
    if (message == WM_MOUSEMOVE && toolBar->onSpacerHover_) {
        // The spacer Label1 fills the left of the button row.
        const int x = GET_X_LPARAM(lParam);
        const int y = GET_Y_LPARAM(lParam);
        if (x < toolBar->scale_(form1::kToolBarSpacerWidth) && y < toolBar->scale_(form1::kToolBarRowHeight)) {
            try {
                toolBar->onSpacerHover_();
            } catch (const std::exception& failure) {
                ReportWindowFailure(failure);
            }
        }
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}
