#include "ui/main/Form1Accessibility.h"

#include "common/SystemLibrary.h"
#include "common/Text.h"
#include "common/Variant.h"
#include "ui/Form1Tiles.h"
#include "win/CommonControls.h"
#include "win/UiLibraries.h"

namespace {

std::wstring Trimmed(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

RECT ToScreen(HWND window, RECT rect)
{
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

int TileReaderItems::ItemCount() const
{
    return static_cast<int>(form1::kTiles.size());
}

AccessibleItemSource::Item TileReaderItems::ItemAt(int index) const
{
    const auto tile = static_cast<size_t>(index);
    const form1::Tile& row = form1::kTiles[tile];
    return {Trimmed(WideFromGbk(row.caption)), WideFromGbk(row.statusHint), row.shortcut.Text(),
            ToScreen(window_, form1::ScaledRect(row.frame, scale_)), hover_.IsHighlighted(tile)};
}

void TileReaderItems::Press(int index)
{
    // Posted: a reader's call returns at once, and the command runs as a click runs it.
    ::PostMessageW(window_, WM_COMMAND, static_cast<WPARAM>(form1::kTiles[static_cast<size_t>(index)].command), 0);
}

bool ToolBarButtons::SystemNamesThem(HWND toolBar)
{
    ComPtr<IAccessible> standard;
    if (FAILED(late::CreateStdAccessibleObject(toolBar, OBJID_CLIENT, IID_IAccessible, standard.PutVoid())))
        return false;
    long count = 0;
    standard->get_accChildCount(&count);
    size_t named = 0;
    for (const form1::ToolButton& button : form1::kToolButtons) {
        for (long child = 1; child <= count; ++child) {
            BSTR name = nullptr;
            const bool same =
                standard->get_accName(LongVariant(child), &name) == S_OK && name && WideFromGbk(button.hint) == name;
            late::SysFreeString(name);
            if (same) {
                ++named;
                break;
            }
        }
    }
    return named == form1::kToolButtons.size();
}

int ToolBarButtons::ItemCount() const
{
    return static_cast<int>(form1::kToolButtons.size());
}

AccessibleItemSource::Item ToolBarButtons::ItemAt(int index) const
{
    const auto button = static_cast<size_t>(index);
    const auto command = static_cast<UINT>(form1::kToolButtons[button].command);
    TBBUTTON hot{};
    const bool isHot = toolbar::HotButton(toolBar_, hot) && static_cast<UINT>(hot.idCommand) == command;
    return {WideFromGbk(form1::kToolButtons[button].hint), {}, form1::kToolButtons[button].shortcut.Text(),
            ToScreen(toolBar_, toolbar::ButtonRect(toolBar_, command)), isHot};
}

void ToolBarButtons::Press(int index)
{
    ::PostMessageW(commandWindow_, WM_COMMAND,
                   static_cast<WPARAM>(form1::kToolButtons[static_cast<size_t>(index)].command), 0);
}
