// Shows Kelvane's windows with the system's high contrast switched on, in this process through
// the program's own switch (Wine keeps the system's off), on whatever palette the Wine prefix
// holds, and saves them as BMP files named with SUFFIX:
//   kelvane_palette_screenshots OUTPUT-FOLDER SUFFIX
// It runs inside Wine's virtual desktop, which passes on no exit code: driver-SUFFIX.txt in
// OUTPUT-FOLDER says "done" once every picture is saved.
#include "ScreenCapture.h"

#include "actions/Machine.h"
#include "app/MessageDialog.h"
#include "app/TApplication.h"
#include "common/ProductInfo.h"
#include "ui/help/TForm3.h"
#include "ui/main/TForm1.h"
#include "win/HighContrast.h"

#include <windows.h>

namespace {

// Runs the windows for `milliseconds`, as the program's loop would.
void PumpFor(DWORD milliseconds)
{
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    while (::GetTickCount64() < end) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// The real pointer to a design point (96 dpi) of `form`.
void MoveTo(const TForm1& form, int x, int y)
{
    POINT point{form.Scale()(x), form.Scale()(y)};
    ::ClientToScreen(form.Handle(), &point);
    ::SetCursorPos(point.x, point.y);
    PumpFor(400);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    const std::wstring folder = argv[1];
    const std::wstring suffix = argv[2];
    HighContrastSwitch() = [] { return true; };

    TApplication application(::GetModuleHandleW(nullptr), SystemMachine());
    application.SetTitle(product::kTitle);
    TForm1 main(application, SystemMachine(), [&](const std::string& text) { ShowMessageDialog(application, text); });
    TForm3 help(application, main.Handle());
    main.SetHelpWindow(help);
    application.ShowMainWindow(SW_SHOWNORMAL);
    const auto save = [&](const wchar_t* name, HWND helpWindow) {
        SaveScreen(folder + L"\\" + name + L"-" + suffix + L".bmp", ProgramArea({main.Handle(), helpWindow}));
    };

    MoveTo(main, 80, 125);  // the label of 系统优化
    save(L"main-hover-tile", nullptr);
    main.Label2Click();
    MoveTo(main, 300, 30);  // over the banner: the frame stays red, the title comes back
    save(L"main-report", nullptr);
    help.Show();
    help.ShowTopic(1);
    PumpFor(500);
    save(L"help-topic", help.Handle());
    application.Shutdown();
    TellOutcome(folder, suffix, "done");
    return 0;
}
