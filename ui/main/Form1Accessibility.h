#pragma once

#include "ui/main/HoverFeedback.h"
#include "win/AccessibleItems.h"
#include "win/DesignScale.h"

// What a screen reader sees of the main window's client area: its tiles as push buttons,
// followed by the tool bar, the report area and the status bar as the system presents them. It
// reads the window's scale and hover state as they are at each question.
class TileReaderItems final : public AccessibleItemSource {
public:
    TileReaderItems(const DesignScale& scale, const HoverFeedback& hover) : scale_(scale), hover_(hover) {}

    // The main window, which runs the tiles' commands, and its controls in reading order.
    void Attach(HWND window, std::vector<HWND> controls)
    {
        window_ = window;
        controls_ = std::move(controls);
    }

    int ItemCount() const override;
    Item ItemAt(int index) const override;
    void Press(int index) override;
    std::vector<HWND> ChildWindows() const override { return controls_; }

private:
    const DesignScale& scale_;
    const HoverFeedback& hover_;
    HWND window_ = nullptr;
    std::vector<HWND> controls_;
};

// The tool bar's buttons, named by their hints, where the system's own object for the
// tool bar does not name them already (Wine's has no tool-bar object at all).
class ToolBarButtons final : public AccessibleItemSource {
public:
    ToolBarButtons(HWND toolBar, HWND commandWindow) : toolBar_(toolBar), commandWindow_(commandWindow) {}

    // Whether the system's own object for the tool bar names every button by its hint.
    static bool SystemNamesThem(HWND toolBar);

    int ItemCount() const override;
    Item ItemAt(int index) const override;
    void Press(int index) override;
    std::vector<HWND> ChildWindows() const override { return {}; }

private:
    HWND toolBar_;
    HWND commandWindow_;
};
