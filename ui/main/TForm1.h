#pragma once

#include "common/UniqueHandle.h"
#include "ui/MemoLines.h"
#include "ui/main/Form1Accessibility.h"
#include "ui/main/Form1Design.h"
#include "ui/main/HoverFeedback.h"
#include "win/AccessibleItems.h"
#include "win/BaseWindow.h"
#include "win/CommonControls.h"
#include "win/DesignScale.h"

#include <commctrl.h>

#include <array>
#include <functional>
#include <string>

class Machine;
class TApplication;
class TForm3;

// The main window: banner, tool bar, five category tiles, the report area and the status bar.
// It dispatches clicks to the commands and the help window, and gives hover feedback.
class TForm1 : public BaseWindow<TForm1> {
public:
    TForm1(TApplication& application, Machine& machine);

    void SetHelpWindow(TForm3& helpWindow) { helpWindow_ = &helpWindow; }
    // The plain message dialog; tests put a recorder in its place.
    void SetMessageDialog(std::function<void(const std::string&)> showMessage)
    {
        showMessage_ = std::move(showMessage);
    }

    // Event handlers.
    void Label2Click();
    void Label3Click() { N11Click(); }
    void Label4Click() { N21Click(); }
    void Label5Click() { N31Click(); }
    void Label6Click() { N41Click(); }
    void N11Click();
    void N21Click();
    void N31Click();
    void N41Click();
    void Shape5ContextPopup();
    void ToolButton3Click();
    void ToolButton5Click();
    void ToolButton9Click();

    // What the window shows, for the tests.
    HWND Memo1() const noexcept { return memo_; }
    HWND ToolBar1() const noexcept { return toolBar_; }
    HWND StatusBar1() const noexcept { return statusBar_; }
    MemoLines& Report() noexcept { return report_; }
    const HoverFeedback& Hover() const noexcept { return hover_; }
    const DesignScale& Scale() const noexcept { return scale_; }
    // A design rectangle in client pixels at the window's scale.
    RECT Scaled(const form1::Bounds& bounds) const;
    // The size the category icons and tool-bar glyphs are drawn at.
    int PictureSize() const noexcept { return scale_(kDesignPictureSize); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static constexpr int kDesignPictureSize = 16;

    void CreateControls();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateMemo();
    // Lays the window out at `dpi`: fonts, pictures, the frame and every control. At
    // creation the window goes to its designed place; on a dpi change to `suggestedFrame`.
    void LayOut(int dpi, const RECT* suggestedFrame);
    void LayOutFonts();
    void LayOutPictures();
    void LayOutToolBar();
    static SIZE FrameSize(int dpi);
    void Place(HWND control, const form1::Bounds& bounds) const;
    void CreateShortcuts();
    LRESULT OnGetObject(WPARAM flags, LPARAM object);
    void OnDestroy();
    form1::Element ElementAt(LPARAM clientPoint) const;

    void OnPaint();
    void PaintContent(HDC dc);
    void PaintFrame(HDC dc, int tile);
    void OnMouseMove(form1::Element element);
    void ApplyHover(const HoverFeedback::Change& change);
    void OnLeftButtonDown(form1::Element element);
    void OnLeftButtonUp(form1::Element element);
    // True when the request was the window's own (a client-area right click).
    bool OnContextMenu(HWND target, LPARAM screenPoint);
    void OnClick(form1::Element element);
    LRESULT OnNotify(const NMHDR& header);
    LRESULT OnControlColour(HDC dc, HWND control);
    LRESULT OnEraseBackground(HDC dc);

    static LRESULT CALLBACK ToolBarSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                            UINT_PTR id, DWORD_PTR self) noexcept;

    TApplication& application_;
    Machine& machine_;
    TForm3* helpWindow_ = nullptr;
    std::function<void(const std::string&)> showMessage_;
    DesignScale scale_;

    HWND toolBar_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND memo_ = nullptr;
    MemoLines report_;
    HoverFeedback hover_;
    form1::Element pressed_ = form1::Element::None;
    std::wstring tooltipText_;

    UniqueFont designFont_;  // the window's default font, which the status bar takes
    UniqueFont labelFont_;
    UniqueFont versionFont_;
    UniqueFont memoFont_;
    UniqueBrush tileBrush_;
    UniqueBitmap banner_;        // drawn for 100 %
    UniqueBitmap banner2x_;      // drawn for 200 %
    UniqueBitmap scaledBanner_;  // the banner at any other scale; empty at 100 %
    std::array<UniqueIcon, 5> categoryIcons_;
    UniqueImageList glyphs_;
    UniqueAccelerators shortcuts_;
    WindowSubclass toolBarSubclass_;

    // What a screen reader is given, made when one first asks.
    Form1Tiles tiles_{scale_, hover_};
    ToolBarButtons toolBarButtons_{nullptr, nullptr};
    // Declared last: they disconnect before what they read goes, when the object goes first.
    AccessibleObject accessible_;
    AccessibleObject toolBarAccessible_;
};
