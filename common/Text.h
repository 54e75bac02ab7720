#pragma once

#include <string>
#include <string_view>

// The program's texts are GBK bytes; windows want UTF-16. The program's own literals convert
// with code page 936 whatever the system's ANSI code page, so they show correctly everywhere.
std::wstring WideFromGbk(std::string_view gbk);
std::string GbkFromWide(std::wstring_view wide);
// Text from the system (registry values, folders) is in the ANSI code page, whatever it is.
std::wstring WideFromAnsi(std::string_view ansi);
