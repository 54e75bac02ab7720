#include "app/ErrorReport.h"

#include "common/Exception.h"
#include "common/Text.h"
#include "win/ModalScope.h"

#include <cstdint>

namespace {

bool IsGbkLeadByte(unsigned char byte)
{
    return byte >= 0x81 && byte <= 0xFE;
}

// The first byte of the message's last character.
unsigned char FirstByteOfLastCharacter(const std::string& message)
{
    size_t last = 0;
    for (size_t i = 0; i < message.size();) {
        last = i;
        i += IsGbkLeadByte(static_cast<unsigned char>(message[i])) && i + 1 < message.size() ? 2 : 1;
    }
    return static_cast<unsigned char>(message[last]);
}

const char* ClassNameOf(const std::exception& failure)
{
    if (const auto* exception = dynamic_cast<const Exception*>(&failure))
        return exception->ClassName();
    return "Exception";
}

const void* AddressOf(const std::exception& failure)
{
    if (const auto* exception = dynamic_cast<const Exception*>(&failure))
        return exception->Address();
    return nullptr;
}

std::string ModuleFileName()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path);
    const size_t slash = name.find_last_of(L"\\/");
    return GbkFromWide(slash == std::wstring::npos ? name : name.substr(slash + 1));
}

} // namespace

std::string WithClosingPeriod(const std::string& message)
{
    if (!message.empty() && FirstByteOfLastCharacter(message) > static_cast<unsigned char>('.'))
        return message + ".";
    return message;
}

std::string StartupFailureText(const std::exception& failure, const std::string& moduleName)
{
    const std::string message = failure.what();
    const bool addPeriod = !message.empty() && message.back() != '.';
    std::string address(16, '0');
    auto value = reinterpret_cast<uintptr_t>(AddressOf(failure));
    for (size_t digit = address.size(); digit-- > 0; value >>= 4)
        address[digit] = "0123456789ABCDEF"[value & 0xF];
    return std::string("Exception ") + ClassNameOf(failure) + " in module " + moduleName + " at " + address +
           ".\r\n" + message + (addPeriod ? "." : "") + "\r\n";
}

ErrorBoxFunction& ErrorBox()
{
    static ErrorBoxFunction function = [](HWND owner, const wchar_t* text, const wchar_t* caption, UINT flags) {
        return ::MessageBoxW(owner, text, caption, flags);
    };
    return function;
}

void ReportError(const std::exception& failure, HWND owner, const std::string& title) noexcept
{
    try {
        if (::GetCapture())
            ::ReleaseCapture();
        const std::wstring text = WideFromGbk(WithClosingPeriod(failure.what()));
        const std::wstring caption = WideFromGbk(title);

        ModalScope modal;
        ErrorBox()(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
    } catch (...) {
        // Nothing more can be reported; the program goes on.
    }
}

void ReportStartupFailure(const std::exception& failure) noexcept
{
    try {
        const std::wstring text = WideFromGbk(StartupFailureText(failure, ModuleFileName()));
        ErrorBox()(nullptr, text.c_str(), L"Application Error", MB_OK | MB_ICONSTOP | MB_TASKMODAL);
    } catch (...) {
    }
}
