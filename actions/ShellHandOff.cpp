#include "actions/ShellHandOff.h"

#include "common/ComPtr.h"
#include "common/SystemLibrary.h"
#include "common/Text.h"
#include "common/Variant.h"
#include "common/Wine.h"

#include <exdisp.h>
#include <shellapi.h>
#include <shldisp.h>
#include <shlguid.h>
#include <shlobj.h>

namespace {

bool ProcessIsElevated()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool elevated = ::GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
                          elevation.TokenIsElevated;
    ::CloseHandle(token);
    return elevated;
}

bool AccountAlsoRunsUnelevated()
{
    HANDLE token = nullptr;
    if (RunsUnderWine() || !::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    TOKEN_ELEVATION_TYPE type = TokenElevationTypeDefault;
    DWORD size = 0;
    const bool split = ::GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size) &&
                       type == TokenElevationTypeFull;
    ::CloseHandle(token);
    return split;
}

bool DesktopShellIsRunning()
{
    return ::GetShellWindow() != nullptr;
}

// COM for the calling thread while it lives, where the thread had none.
class ComApartment {
public:
    ComApartment() : initialised_(SUCCEEDED(late::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment()
    {
        if (initialised_)
            late::CoUninitialize();
    }

private:
    bool initialised_;
};

// The desktop window's folder view leads to the shell's automation object, which runs in the
// shell's own process: what it starts runs with the shell's rights.
bool OpenThroughDesktopShell(const std::string& file)
{
    ComApartment apartment;
    ComPtr<IShellWindows> windows;
    if (FAILED(late::CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_LOCAL_SERVER, IID_IShellWindows,
                                      windows.PutVoid())))
        return false;
    VARIANT desktop = LongVariant(CSIDL_DESKTOP);
    VARIANT none{};
    long window = 0;
    ComPtr<IDispatch> found;
    if (windows->FindWindowSW(&desktop, &none, SWC_DESKTOP, &window, SWFO_NEEDDISPATCH, found.Put()) != S_OK ||
        !found)
        return false;
    ComPtr<IServiceProvider> services;
    ComPtr<IShellBrowser> browser;
    ComPtr<IShellView> view;
    ComPtr<IDispatch> background;
    ComPtr<IShellFolderViewDual> folderView;
    ComPtr<IDispatch> application;
    ComPtr<IShellDispatch2> shell;
    if (FAILED(found->QueryInterface(IID_IServiceProvider, services.PutVoid())) ||
        FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.PutVoid())) ||
        FAILED(browser->QueryActiveShellView(view.Put())) ||
        FAILED(view->GetItemObject(SVGIO_BACKGROUND, IID_IDispatch, background.PutVoid())) ||
        FAILED(background->QueryInterface(IID_IShellFolderViewDual, folderView.PutVoid())) ||
        FAILED(folderView->get_Application(application.Put())) ||
        FAILED(application->QueryInterface(IID_IShellDispatch2, shell.PutVoid())))
        return false;

    // The program's own addresses: GBK text, ASCII in fact.
    BSTR name = late::SysAllocString(WideFromGbk(file).c_str());
    if (!name)
        return false;
    const HRESULT result = shell->ShellExecute(name, none, none, none, LongVariant(SW_SHOWNORMAL));
    late::SysFreeString(name);
    return SUCCEEDED(result);
}

} // namespace

const ShellHandOffPlatform& SystemShellHandOff()
{
    static const ShellHandOffPlatform platform{ProcessIsElevated, AccountAlsoRunsUnelevated, DesktopShellIsRunning,
                                               OpenThroughDesktopShell, late::ShellExecuteA};
    return platform;
}

bool HandToShell(const ShellHandOffPlatform& platform, HWND owner, const std::string& file)
{
    const bool elevated = platform.processIsElevated();
    if (elevated && platform.desktopShellIsRunning() && platform.openThroughDesktopShell(file))
        return true;
    // A browser started from here would run as administrator.
    if (elevated && platform.accountAlsoRunsUnelevated())
        return false;
    platform.shellExecute(owner, nullptr, file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}
