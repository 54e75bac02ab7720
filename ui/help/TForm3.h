#pragma once

#include "common/UniqueHandle.h"
#include "ui/MemoLines.h"
#include "win/BaseWindow.h"
#include "win/DesignScale.h"

class TApplication;

// The help window: an introduction, and one help topic per category chosen from its menu.
// Closing it only hides it; its text stays as it was.
class TForm3 : public BaseWindow<TForm3> {
public:
    // `centreOver`: the window the help window is centred over when first shown.
    TForm3(TApplication& application, HWND centreOver);
    ~TForm3();

    // Makes the window visible, in front and active; centred over the main window the first
    // time only. A minimised help window stays minimised.
    void Show();

    void N1Click() { ShowTopic(0); }
    void N2Click() { ShowTopic(1); }
    void N3Click() { ShowTopic(2); }
    void N4Click() { ShowTopic(3); }
    void N5Click() { ShowTopic(4); }

    HWND Memo1() const noexcept { return memo_; }
    const DesignScale& Scale() const noexcept { return scale_; }
    HMENU MainMenu1() const noexcept { return menu_; }
    std::vector<std::string> Lines() const { return text_.Lines(); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    enum Command : UINT { kN1 = 301, kN2, kN3, kN4, kN5 };

private:
    // Lays the window out at `dpi`: its font, its client area below the menu bar and the text
    // area; on a dpi change at `suggestedFrame`'s place.
    void LayOut(int dpi, const RECT* suggestedFrame);
    void ShowTopic(int category);
    void ShowFromTheTop();
    void PlaceOverMainWindow();

    TApplication& application_;
    HWND centreOver_;
    DesignScale scale_;
    HMENU menu_ = nullptr;
    HWND memo_ = nullptr;
    MemoLines text_;
    UniqueFont memoFont_;
    bool placed_ = false;
};
