#include "actions/Machine.h"

#include "actions/ShellHandOff.h"

#include <cstring>

namespace {

class WindowsMachine final : public Machine {
public:
    DiskCounts QueryDriveC() override
    {
        // Counts that a failed query leaves alone stay 0.
        DiskCounts counts;
        ::GetDiskFreeSpaceA("c:", &counts.sectorsPerCluster, &counts.bytesPerSector, &counts.freeClusters,
                            &counts.totalClusters);
        return counts;
    }

    std::string QueryTempPath() override
    {
        // One byte more than the length given, and all zero: the text is always terminated,
        // and a path too long for the buffer leaves it empty.
        char buffer[256] = {};
        ::GetTempPathA(255, buffer);
        return std::string(buffer, ::strnlen(buffer, sizeof buffer));
    }

    char QueryThousandsSeparator() override
    {
        // Read as it is, not in the ANSI code page, where a separator without an ANSI form
        // would come back as "?".
        wchar_t setting[8] = {};
        if (::GetLocaleInfoW(::GetThreadLocale(), LOCALE_STHOUSAND, setting, 8) <= 0)
            return ',';
        // The report is GBK text: a separator outside plain ASCII (a no-break space, a typographic
        // apostrophe) would pair up with the digit after it as one double-byte character.
        return setting[0] >= 0x20 && setting[0] < 0x7F ? static_cast<char>(setting[0]) : ',';
    }

    bool OpenWithShell(HWND owner, const std::string& file) override
    {
        return HandToShell(SystemShellHandOff(), owner, file);
    }
};

} // namespace

Machine& SystemMachine()
{
    static WindowsMachine machine;
    return machine;
}
