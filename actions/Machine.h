#pragma once

#include <windows.h>

#include <string>

// The facts and hand-offs that differ from machine to machine, behind one interface so that
// the commands can be tested with any drive, folder, separator or shell.
class Machine {
public:
    struct DiskCounts {
        DWORD sectorsPerCluster = 0;
        DWORD bytesPerSector = 0;
        DWORD freeClusters = 0;
        DWORD totalClusters = 0;
    };

    virtual ~Machine() = default;

    // GetDiskFreeSpaceA("c:"): counts left at 0 where the query fails.
    virtual DiskCounts QueryDriveC() = 0;
    // GetTempPathA with a zero-filled 256-byte buffer and length 255: the text up to the first
    // zero byte, empty when the query left nothing.
    virtual std::string QueryTempPath() = 0;
    // The first character of the thread locale's thousands separator; ',' when it cannot be read
    // or is not a plain ASCII character, which GBK text could not carry on its own.
    virtual char QueryThousandsSeparator() = 0;
    // Hands `file` to the user's shell (ShellHandOff.h: through the desktop's shell when
    // elevated, else ShellExecuteA(owner, no verb, file, no parameters, no directory,
    // SW_SHOWNORMAL)), whose result is ignored. False only where nothing was started because the
    // program runs elevated and only the desktop's shell, which could not be asked, may start it.
    virtual bool OpenWithShell(HWND owner, const std::string& file) = 0;
};

// The real machine.
Machine& SystemMachine();
