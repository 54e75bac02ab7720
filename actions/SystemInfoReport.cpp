#include "actions/SystemInfoReport.h"

#include "registry/TRegistry.h"

#include <string_view>

namespace {

constexpr char kWindowsKey[] = "\\Software\\microsoft\\windows NT\\currentversion";
constexpr char kComputerNameKey[] = "\\system\\currentcontrolset\\control\\computername\\computername";
constexpr char kProcessorKey[] = "\\hardware\\description\\system\\centralprocessor\\0";
constexpr char kBrowserKey[] = "\\Software\\Microsoft\\Internet Explorer";
constexpr char kBrowserPagesKey[] = "\\Software\\microsoft\\Internet explorer\\main";
constexpr char kDownloadKey[] = "\\.DEFAULT\\Software\\Microsoft\\Internet Explorer";
constexpr char kDisplayKey[] = "\\display\\settings";

// What the Windows installation key records. The folders are reported at the very end, so
// they are kept for the whole run; they stay empty when the key does not open.
struct WindowsFacts {
    std::string owner;
    std::string organisation;
    std::string productName;
    std::string productId;
    std::string devicePath;
    std::string programFilesPath;
    std::string version;
    std::string systemRoot;
    std::string build;
};

// The build number, or 0 where the value is not a plain decimal number.
unsigned long BuildNumber(const std::string& build)
{
    if (build.empty() || build.size() > 9 ||
        build.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return std::stoul(build);
}

// Windows 10 and 11 leave "CurrentVersion" at 6.3, and Windows 11 its product name at
// "Windows 10 …"; the build number tells what the machine runs.
std::string ShownVersion(const WindowsFacts& windows)
{
    return BuildNumber(windows.build) >= 10240 ? "10.0." + windows.build : windows.version;
}

std::string ShownProductName(const WindowsFacts& windows)
{
    constexpr std::string_view kWindows10 = "Windows 10";
    if (BuildNumber(windows.build) >= 22000 && windows.productName.starts_with(kWindows10))
        return "Windows 11" + windows.productName.substr(kWindows10.size());
    return windows.productName;
}

// A value keeps to its own line: control characters (a line break among them) show as spaces.
// No byte below 0x20 is part of a double-byte character in any ANSI code page.
std::string Shown(std::string value)
{
    for (char& byte : value)
        if (static_cast<unsigned char>(byte) < 0x20)
            byte = ' ';
    return value;
}

void AppendItem(Report& report, const char* label, const std::string& value, const char* suffix = "")
{
    report.AppendValueLine(label, Shown(value), suffix);
}

void ReportDriveC(Report& report, Machine& machine, char thousandsSeparator)
{
    const Machine::DiskCounts counts = machine.QueryDriveC();
    const unsigned long long clusterBytes =
        static_cast<unsigned long long>(counts.sectorsPerCluster) * counts.bytesPerSector;
    const unsigned long long totalBytes = counts.totalClusters * clusterBytes;
    const unsigned long long freeBytes = counts.freeClusters * clusterBytes;
    report.AppendLine("     C:驱动器总共容量：" + FormatByteCount(totalBytes, thousandsSeparator) + "字节");
    report.AppendLine("     C:驱动器可用容量：" + FormatByteCount(freeBytes, thousandsSeparator) + "字节");
}

} // namespace

std::string FormatByteCount(unsigned long long value, char thousandsSeparator)
{
    char digits[20];  // 18,446,744,073,709,551,615 has 20 digits
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value != 0);

    std::string text;
    text.reserve(static_cast<std::size_t>(count + count / 3));
    for (int place = count; place-- > 0;) {
        text += digits[place];
        if (place > 0 && place % 3 == 0)
            text += thousandsSeparator;
    }
    return text;
}

void RunSystemInfoReport(Report& report, Machine& machine, char thousandsSeparator)
{
    report.Clear();
    TRegistry registry;  // freeing closes the current key, also when an error is raised
    registry.SelectRoot(HKEY_LOCAL_MACHINE);

    // Every group reads all its values before its first line, so a value that cannot be read
    // leaves none of its group's lines behind.
    WindowsFacts windows;
    if (registry.OpenPath(kWindowsKey)) {
        windows.owner = registry.ReadText("registeredowner");
        windows.organisation = registry.ReadText("registeredorganization");
        windows.productName = registry.ReadText("ProductName");
        windows.productId = registry.ReadText("ProductId");
        windows.devicePath = registry.ReadText("DevicePath");
        windows.programFilesPath = registry.ReadText("ProgramFilesPath");
        windows.version = registry.ReadText("CurrentVersion");
        windows.systemRoot = registry.ReadText("SystemRoot");
        windows.build = registry.ReadText("CurrentBuild");
        report.AppendLine("计算机系统：");
        AppendItem(report, "     用户姓名：", windows.owner);
        AppendItem(report, "     组织名称：", windows.organisation);
        AppendItem(report, "     操作系统：", ShownProductName(windows));
        AppendItem(report, "     版本信息：", ShownVersion(windows));
        AppendItem(report, "     序列号码：", windows.productId);
    }

    if (registry.OpenPath(kComputerNameKey)) {
        const std::string computerName = registry.ReadText("computername");
        report.AppendLine("硬件设备：");
        AppendItem(report, "     本机名称：", computerName);
    }

    if (registry.OpenPath(kProcessorKey)) {
        const std::string vendor = registry.ReadText("VendorIdentifier");
        const std::string identifier = registry.ReadText("Identifier");
        AppendItem(report, "     处理器标识：", vendor);
        AppendItem(report, "     处理器名称：", identifier);
    }

    ReportDriveC(report, machine, thousandsSeparator);

    registry.SelectRoot(HKEY_LOCAL_MACHINE);  // already the root: the browser key is absolute
    if (registry.OpenPath(kBrowserKey)) {
        const std::string version = registry.ReadText("Version");
        report.AppendLine("网页浏览器：");
        AppendItem(report, "     IE版本：", version);
    }

    registry.SelectRoot(HKEY_CURRENT_USER);
    if (registry.OpenPath(kBrowserPagesKey)) {
        const std::string defaultPage = registry.ReadText("Default_Page_URL");
        const std::string startPage = registry.ReadText("Start Page");
        const std::string saveDirectory = registry.ReadText("Save Directory");
        AppendItem(report, "     默认主页：", defaultPage);
        AppendItem(report, "     当前主页：", startPage);
        AppendItem(report, "     网页保存目录：", saveDirectory);
    }

    registry.SelectRoot(HKEY_USERS);
    if (registry.OpenPath(kDownloadKey)) {
        const std::string downloadDirectory = registry.ReadText("Download Directory");
        AppendItem(report, "     软件下载目录：", downloadDirectory);
    }

    registry.SelectRoot(HKEY_CURRENT_CONFIG);
    if (registry.OpenPath(kDisplayKey)) {
        const std::string bitsPerPixel = registry.ReadText("BitsPerPixel");
        const std::string resolution = registry.ReadText("Resolution");
        report.AppendLine("系统显示：");
        AppendItem(report, "     系统颜色：", bitsPerPixel, "色");
        AppendItem(report, "     分辨率：", resolution);
    }

    report.AppendLine("系统目录：");
    const std::string tempPath = machine.QueryTempPath();
    AppendItem(report, "     系统目录：", windows.systemRoot);
    AppendItem(report, "     系统临时目录：", tempPath);
    AppendItem(report, "     设备驱动目录：", windows.devicePath);
    AppendItem(report, "     软件安装目录：", windows.programFilesPath);
}
