#pragma once

#include <windows.h>

#include <vector>

// While a message box or dialog is up, every other window of the program is disabled; on
// leaving, they are enabled again and the previously active window and focus come back.
class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    HWND active_;
    HWND focus_;
    std::vector<HWND> disabled_;
};
