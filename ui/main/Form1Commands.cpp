// The main window's commands: which entry point each command runs, and the entry points, which
// hand the work to the actions and the help window.
#include "ui/main/TForm1.h"

#include "actions/Machine.h"
#include "actions/SystemInfoReport.h"
#include "actions/TuningActions.h"
#include "common/ProductInfo.h"
#include "ui/help/TForm3.h"

namespace {

// Where the tables meet the window: each command a row names, and the entry points it runs.
constexpr TForm1::Binding kBindings[] = {
    {form1::Command::SystemInformation, &TForm1::Label2Click, nullptr},
    {form1::Command::SystemOptimisation, &TForm1::Label3Click, nullptr},
    {form1::Command::NetworkAcceleration, &TForm1::Label4Click, nullptr},
    {form1::Command::Cleanup, &TForm1::Label5Click, nullptr},
    {form1::Command::OnlineRepair, &TForm1::Label6Click, &TForm1::Shape5ContextPopup},
    {form1::Command::ShowHelp, &TForm1::ToolButton3Click, nullptr},
    {form1::Command::WriteToSupport, &TForm1::ToolButton5Click, nullptr},
    {form1::Command::Exit, &TForm1::ToolButton9Click, nullptr},
};

} // namespace

std::span<const TForm1::Binding> TForm1::Bindings()
{
    return kBindings;
}

const TForm1::Binding* TForm1::BindingOf(form1::Command command)
{
    for (const Binding& binding : kBindings)
        if (binding.command == command)
            return &binding;
    return nullptr;
}

void TForm1::Run(form1::Command command)
{
    if (const Binding* binding = BindingOf(command))
        (this->*binding->run)();
}

void TForm1::Label2Click()
{
    RunSystemInfoReport(report_, machine_, application_.ThousandsSeparator());
}

void TForm1::N11Click()
{
    RunSystemOptimisation(report_);
}

void TForm1::N21Click()
{
    RunNetworkAcceleration(report_);
}

void TForm1::N31Click()
{
    RunCleanup(report_);
}

void TForm1::N41Click()
{
    RunOnlineRepair(machine_, Handle(), showMessage_, [this] { return !application_.Ending(); });
}

void TForm1::Shape5ContextPopup()
{
    if (helpWindow_)
        helpWindow_->Show();
}

void TForm1::ToolButton3Click()
{
    if (helpWindow_)
        helpWindow_->Show();
}

void TForm1::ToolButton5Click()
{
    OpenOrSayWhere(machine_, Handle(), std::string("mailto:") + product::kSupportEmail, showMessage_);
}

void TForm1::ToolButton9Click()
{
    ::SendMessageW(Handle(), WM_CLOSE, 0, 0);
}
