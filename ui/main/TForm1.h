#pragma once

#include "common/UniqueHandle.h"
#include "ui/MemoLines.h"
#include "ui/main/Form1Accessibility.h"
#include "ui/main/Form1Design.h"
#include "ui/main/Form1Painter.h"
#include "ui/main/Form1ToolBar.h"
#include "ui/main/HoverFeedback.h"
#include "win/AccessibleItems.h"
#include "win/ApplicationHost.h"
#include "win/BaseWindow.h"
#include "win/DesignScale.h"
#include "win/WindowHandles.h"

#include <functional>
#include <span>
#include <string>

class Machine;
class TForm3;

// The main window: banner, tool bar, the category tiles, the report area and the status bar.
// It dispatches clicks, shortcut keys, tool buttons and a screen reader's presses to the
// commands and the help window, and gives hover feedback.
class TForm1 : public BaseWindow<TForm1> {
public:
    using MessageDialog = std::function<void(const std::string&)>;

    // `showMessage` is the plain message dialog (tests put a recorder in its place).
    TForm1(ApplicationHost& application, Machine& machine, MessageDialog showMessage);

    void SetHelpWindow(TForm3& helpWindow) { helpWindow_ = &helpWindow; }
    void SetMessageDialog(MessageDialog showMessage) { showMessage_ = std::move(showMessage); }

    // Runs what `command` names: every click, shortcut key, tool button and screen reader's press
    // comes through here.
    void Run(form1::Command command);

    // A command's entry points on this window: the one that runs it, and the one a right click on
    // the frame of the tile that runs it calls (null: such a right click does nothing).
    using EntryPoint = void (TForm1::*)();
    struct Binding {
        form1::Command command;
        EntryPoint run;
        EntryPoint frameRightClick;
    };
    // Every command the tiles and tool buttons name, bound once; null for any other number.
    static std::span<const Binding> Bindings();
    static const Binding* BindingOf(form1::Command command);

    // Event handlers, each tile's and tool button's named entry point.
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
    HWND ToolBar1() const noexcept { return toolBar_.Handle(); }
    HWND StatusBar1() const noexcept { return statusBar_; }
    MemoLines& Report() noexcept { return report_; }
    const HoverFeedback& Hover() const noexcept { return hover_; }
    const DesignScale& Scale() const noexcept { return scale_; }
    // A design rectangle in client pixels at the window's scale.
    RECT Scaled(const form1::Bounds& bounds) const { return form1::ScaledRect(bounds, scale_); }
    // The size the category icons and tool-bar glyphs are drawn at.
    int PictureSize() const noexcept { return painter_.PictureSize(); }

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    void CreateStatusBar();
    void CreateMemo();
    // Lays the window out at `dpi`: fonts, pictures, the frame and every control. At
    // creation the window goes to its designed place; on a dpi change to `suggestedFrame`.
    void LayOut(int dpi, const RECT* suggestedFrame);
    void LayOutFonts();
    static SIZE FrameSize(int dpi);
    void Place(HWND control, const form1::Bounds& bounds) const;
    void CreateShortcuts();
    LRESULT OnGetObject(WPARAM flags, LPARAM object);
    // High contrast switched, the system's colours or the visual style changed: the controls
    // follow, and the whole window is painted anew.
    void OnColoursChanged(UINT message, WPARAM wParam, LPARAM lParam);
    void OnDestroy();
    form1::Element ElementAt(LPARAM clientPoint) const;

    void OnPaint();
    void OnMouseMove(form1::Element element);
    void ApplyHover(const HoverFeedback::Change& change);
    void OnLeftButtonDown(form1::Element element);
    void OnLeftButtonUp(form1::Element element);
    // True when the request was the window's own (a client-area right click).
    bool OnContextMenu(HWND target, LPARAM screenPoint);
    LRESULT OnReportColour(HDC dc);
    LRESULT OnEraseBackground(HDC dc);

    ApplicationHost& application_;
    Machine& machine_;
    TForm3* helpWindow_ = nullptr;
    MessageDialog showMessage_;
    DesignScale scale_;

    HWND statusBar_ = nullptr;
    HWND memo_ = nullptr;
    MemoLines report_;
    HoverFeedback hover_;
    form1::Element pressed_;

    UniqueFont designFont_;  // the window's default font, which the status bar takes
    UniqueFont memoFont_;
    Form1Painter painter_;
    Form1ToolBar toolBar_;
    UniqueAccelerators shortcuts_;
    WindowSubclass statusBarSubclass_;

    // What a screen reader is given, made when one first asks. Declared last: the object
    // disconnects before what it reads goes, when the window's C++ object goes first.
    TileReaderItems tileReaderItems_{scale_, hover_};
    AccessibleObject accessible_;
};
