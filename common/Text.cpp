#include "common/Text.h"

#include <windows.h>

namespace {

constexpr UINT kGbkCodePage = 936;

std::wstring WideFrom(UINT codePage, std::string_view text)
{
    if (text.empty())
        return {};
    const int length = ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

} // namespace

std::wstring WideFromGbk(std::string_view gbk)
{
    return WideFrom(kGbkCodePage, gbk);
}

std::wstring WideFromAnsi(std::string_view ansi)
{
    return WideFrom(CP_ACP, ansi);
}

std::string GbkFromWide(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int length = ::WideCharToMultiByte(kGbkCodePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr,
                                             0, nullptr, nullptr);
    std::string gbk(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(kGbkCodePage, 0, wide.data(), static_cast<int>(wide.size()), gbk.data(), length, nullptr,
                          nullptr);
    return gbk;
}
