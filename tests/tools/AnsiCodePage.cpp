// Prints the ANSI code page that Wine gives it, for the test of the locale the launcher starts
// programs under. Written straight to the standard output handle, without the C library's
// newline translation.
#include <windows.h>

#include <string>

int wmain()
{
    const std::string line = std::to_string(::GetACP()) + "\n";
    DWORD written = 0;
    return ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), line.data(), static_cast<DWORD>(line.size()), &written,
                       nullptr) && written == line.size()
               ? 0
               : 1;
}
