#include "actions/Machine.h"
#include "app/ErrorReport.h"
#include "app/TApplication.h"
#include "common/ProductInfo.h"
#include "ui/help/TForm3.h"
#include "ui/main/TForm1.h"

#include <windows.h>

#include <memory>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showState)
{
    std::unique_ptr<TApplication> application;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm3> form3;
    try {
        application = std::make_unique<TApplication>(instance, SystemMachine());
        application->SetTitle(product::kTitle);
        form1 = std::make_unique<TForm1>(*application, SystemMachine());  // the main window
        form3 = std::make_unique<TForm3>(*application, *form1);
        form1->SetHelpWindow(*form3);
    } catch (const std::exception& failure) {
        ReportStartupFailure(failure);
        return 1;
    }
    application->Run(showState);
    application->Shutdown();
    return 0;
}
