#pragma once

#include "ui/AccessibleItems.h"

class TForm1;

// The five tiles of the main window as push buttons for screen readers, followed by the tool
// bar, the report area and the status bar as the system presents them.
class Form1Tiles final : public AccessibleItemSource {
public:
    explicit Form1Tiles(const TForm1& form) : form_(form) {}

    int ItemCount() const override;
    Item ItemAt(int index) const override;
    void Press(int index) override;
    std::vector<HWND> ChildWindows() const override;

private:
    const TForm1& form_;
};

// The tool bar's three buttons, named by their hints, where the system's own object for the
// tool bar does not name them already (Wine's has no tool-bar object at all).
class ToolBarButtons final : public AccessibleItemSource {
public:
    ToolBarButtons(HWND toolBar, HWND commandWindow) : toolBar_(toolBar), commandWindow_(commandWindow) {}

    // Whether the system's own object for the tool bar names all three buttons by their hints.
    static bool SystemNamesThem(HWND toolBar);

    int ItemCount() const override;
    Item ItemAt(int index) const override;
    void Press(int index) override;
    std::vector<HWND> ChildWindows() const override { return {}; }

private:
    HWND toolBar_;
    HWND commandWindow_;
};
