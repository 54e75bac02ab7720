#pragma once

#include "common/UniqueHandle.h"
#include "ui/MemoLines.h"
#include "win/ApplicationHost.h"
#include "win/BaseWindow.h"
#include "win/DesignScale.h"

// The help window: an introduction, and the help topic of each tile of the main window, chosen
// from its menu (N1, N2 … in the tiles' order). Closing it only hides it; its text stays as it
// was.
class TForm3 : public BaseWindow<TForm3> {
public:
    // `centreOver`: the window the help window is centred over when first shown.
    TForm3(ApplicationHost& application, HWND centreOver);
    ~TForm3();

    // Makes the window visible, in front and active; centred over the main window the first
    // time only. A minimised help window stays minimised.
    void Show();

    // Shows the help topic of `tile`, as its menu item does.
    void ShowTopic(size_t tile);

    HWND Memo1() const noexcept { return memo_; }
    const DesignScale& Scale() const noexcept { return scale_; }
    HMENU MainMenu1() const noexcept { return menu_; }
    std::vector<std::string> Lines() const { return text_.Lines(); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Lays the window out at `dpi`: its font, its client area below the menu bar and the text
    // area; on a dpi change at `suggestedFrame`'s place.
    void LayOut(int dpi, const RECT* suggestedFrame);
    void ShowFromTheTop();
    void PlaceOverMainWindow();

    HWND centreOver_;
    DesignScale scale_;
    HMENU menu_ = nullptr;
    HWND memo_ = nullptr;
    MemoLines text_;
    UniqueFont memoFont_;
    bool placed_ = false;
};
