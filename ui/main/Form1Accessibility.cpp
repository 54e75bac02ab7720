#include "ui/main/Form1Accessibility.h"

#include "common/SystemLibrary.h"
#include "common/Text.h"
#include "common/Variant.h"
#include "ui/main/Form1Design.h"
#include "win/CommonControls.h"

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

int Form1Tiles::ItemCount() const
{
    return static_cast<int>(form1::kTiles.size());
}

AccessibleItemSource::Item Form1Tiles::ItemAt(int index) const
{
    const form1::Tile& tile = form1::kTiles.at(static_cast<size_t>(index));
    const RECT frame = form1::ScaledRect(form1::TileFrame(index), scale_);
    return {Trimmed(WideFromGbk(tile.caption)), WideFromGbk(tile.statusText),
            std::wstring(L"Ctrl+") + static_cast<wchar_t>(L'1' + index), ToScreen(window_, frame),
            hover_.IsHighlighted(index)};
}

void Form1Tiles::Press(int index)
{
    // Posted: a reader's call returns at once, and the command runs as a click runs it.
    ::PostMessageW(window_, WM_COMMAND, form1::kTiles.at(static_cast<size_t>(index)).command, 0);
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
    const form1::ToolButton& button = form1::kToolButtons.at(static_cast<size_t>(index));
    const auto hot = static_cast<int>(::SendMessageW(toolBar_, TB_GETHOTITEM, 0, 0));
    TBBUTTON hotButton{};
    const bool isHot = hot >= 0 && ::SendMessageW(toolBar_, TB_GETBUTTON, static_cast<WPARAM>(hot),
                                                  reinterpret_cast<LPARAM>(&hotButton)) &&
                       static_cast<UINT>(hotButton.idCommand) == button.command;
    return {WideFromGbk(button.hint), {}, {}, ToScreen(toolBar_, toolbar::ButtonRect(toolBar_, button.command)), isHot};
}

void ToolBarButtons::Press(int index)
{
    ::PostMessageW(commandWindow_, WM_COMMAND, form1::kToolButtons.at(static_cast<size_t>(index)).command, 0);
}
