#include "actions/Machine.h"
#include "app/ErrorReport.h"
#include "app/MessageDialog.h"
#include "app/TApplication.h"
#include "common/DllSearch.h"
#include "common/ProductInfo.h"
#include "ui/help/TForm3.h"
#include "ui/main/TForm1.h"

#include <windows.h>

#include <cstdlib>
#include <memory>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showState)
{
    RestrictDllSearchToSystemFolder();
    // Never closed: it says that the program is open until the process ends, to whoever asks. The
    // installer asks which process runs the installed file instead: anyone may take this name.
    ::CreateMutexW(nullptr, FALSE, product::kRunningMutexName);
    std::unique_ptr<TApplication> application;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm3> form3;
    try {
        application = std::make_unique<TApplication>(instance, SystemMachine());
        application->SetTitle(product::kTitle);
        const auto showMessage = [&](const std::string& text) { ShowMessageDialog(*application, text); };
        form1 = std::make_unique<TForm1>(*application, SystemMachine(), showMessage);  // the main window
        form3 = std::make_unique<TForm3>(*application, form1->Handle());
        form1->SetHelpWindow(*form3);
    } catch (const std::exception& failure) {
        ReportStartupFailure(failure);
        return 1;
    }
    application->Run(showState);
    return 0;
}

// A C++ failure never leaves a window procedure, so the library's verbose terminate handler,
// which brings a symbol demangler of some 45 KB with it, is never wanted.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx
