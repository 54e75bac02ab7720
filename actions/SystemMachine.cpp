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
        char setting[8] = {};
        if (::GetLocaleInfoA(::GetThreadLocale(), LOCALE_STHOUSAND, setting, sizeof setting) <= 0)
            return ',';
        // The report is GBK text: a separator outside plain ASCII (a no-break space, a typographic
        // apostrophe) would pair up with the digit after it as one double-byte character.
        const unsigned char first = static_cast<unsigned char>(setting[0]);
        return first >= 0x20 && first < 0x7F ? setting[0] : ',';
    }

    void OpenWithShell(HWND owner, const std::string& file) override
    {
        HandToShell(SystemShellHandOff(), owner, file);
    }
};

} // namespace

Machine& SystemMachine()
{
    static WindowsMachine machine;
    return machine;
}
