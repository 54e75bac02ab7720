#include "actions/TuningActions.h"

#include "registry/TRegistry.h"
#include "common/Exception.h"
#include "common/ProductInfo.h"

#include <initializer_list>
#include <string>

namespace {

constexpr char kLongBanner[] = "********************************";
constexpr char kShortBanner[] = "****************************";
static_assert(sizeof kLongBanner - 1 == 32 && sizeof kShortBanner - 1 == 28);

void AppendLines(Report& report, std::initializer_list<const char*> lines)
{
    for (const char* line : lines)
        report.AppendLine(line);
}

// The recently-used lists that cleanup removes, as its "已清除" lines name them.
constexpr char kRunList[] = "“运行”对话框中的历史记录";
constexpr char kFindList[] = "“查找”对话框中的历史记录";
constexpr char kAddressList[] = "“IE”地址栏中的历史记录";
constexpr char kPlayerList[] = "“MediaPlayer”地址栏中的历史记录";

// Deletes a list's key: true when the key stays (the deletion was refused; a missing key is gone).
// The list's "已清除" line goes out before its deletion, whatever the outcome; a list still there
// is named once more after its step's lines.
bool DeleteList(TRegistry& registry, const char* subkey)
{
    return registry.DeleteTreeOutcome(subkey) == TreeDeletion::Refused;
}

void ReportNotCleared(Report& report, bool stillThere, const char* list)
{
    if (stillThere)
        report.AppendLine(std::string("未能清除：") + list);
}

} // namespace

void RunSystemOptimisation(Report& report)
{
    report.Clear();
    {
        TRegistry registry;  // freeing closes the current key, also when an error is raised
        registry.SelectRoot(HKEY_CURRENT_USER);
        if (registry.OpenPath("\\control panel\\desktop")) {
            registry.WriteText("menushowdelay", "2");
            AppendLines(report, {"菜单加速优化成功", ""});
        }
    }
    // Reached only when no write failed.
    AppendLines(report, {"磁盘缓存自动优化成功", "", "文件系统自动优化成功", "", "系统安全自动优化成功", "",
                         kLongBanner, "重新启动计算机，系统优化设置生效", kLongBanner});
}

void RunNetworkAcceleration(Report& report)
{
    report.Clear();
    TRegistry registry;  // freeing closes the current key, also when an error is raised
    registry.SelectRoot(HKEY_LOCAL_MACHINE);

    if (registry.OpenPath("\\system\\currentcontrolset\\services\\class\\nettrans\\0000")) {
        registry.WriteText("ipmtu", "576");
        registry.WriteText("maxmss", "536");
        registry.WriteText("maxmtu", "576");
        AppendLines(report, {"网络加速配置成功！！", "", "网络连接加速成功！！", ""});
    }

    if (registry.OpenPath("\\system\\currentcontrolset\\services\\vxd\\mstcp")) {
        registry.WriteText("DefaultMSS", "536");
        registry.WriteText("DefaultRcvWindow", "7168");
        registry.WriteText("DefaultTTL", "255");
        registry.WriteText("NameSrvQueryTimeout", "3000");
        registry.WriteText("PMTUDiscovery", "1");
        registry.WriteText("PMTUBlackHoleDetect", "1");
        registry.WriteText("Tcp1323Opts", "3");
    }

    if (registry.OpenPath("\\system\\currentcontrolset\\services\\vxd\\mstcp\\Parameters")) {
        registry.WriteText("SackOpts", "1");
        registry.WriteDword("MaxDupAcks", 3);
        AppendLines(report, {"网络驱动设备加速成功！！", "", kLongBanner, "重新启动计算机，网络加速设置生效", kLongBanner});
    }
}

void RunCleanup(Report& report)
{
    report.Clear();
    // Said for completeness of the maintenance report; nothing is touched for these two.
    AppendLines(report, {"清理多余的DLL文件成功；", "", "清理注册表多余信息成功；", ""});
    {
        TRegistry registry;  // freeing closes the current key, also when an error is raised
        registry.SelectRoot(HKEY_CURRENT_USER);

        if (registry.OpenPath("\\Software\\microsoft\\windows\\currentversion\\explorer")) {
            AppendLines(report, {"已清除“运行”对话框中的历史记录", "", "已清除“查找”对话框中的历史记录"});
            const bool runListThere = DeleteList(registry, "runmru");
            const bool findListThere = DeleteList(registry, "Doc Find Spec MRU");
            ReportNotCleared(report, runListThere, kRunList);
            ReportNotCleared(report, findListThere, kFindList);
        }
        if (registry.OpenPath("\\Software\\microsoft\\internet explorer")) {
            AppendLines(report, {"", "已清除“IE”地址栏中的历史记录"});
            ReportNotCleared(report, DeleteList(registry, "typedurls"), kAddressList);
        }
        if (registry.OpenPath("\\Software\\microsoft\\mediaplayer\\player")) {
            report.AppendLine("");
            const bool playerListThere = DeleteList(registry, "recenturllist");
            AppendLines(report, {"已清除“MediaPlayer”地址栏中的历史记录", ""});
            ReportNotCleared(report, playerListThere, kPlayerList);
        }
    }
    AppendLines(report, {"已检查修复系统安全漏洞", "", kShortBanner, "重新启动计算机，垃圾清除有效", kShortBanner});
}

void OpenOrSayWhere(Machine& machine, HWND owner, const std::string& file,
                    const std::function<void(const std::string&)>& showMessage)
{
    if (machine.OpenWithShell(owner, file))
        return;
    try {
        if (file.rfind("mailto:", 0) == 0)
            showMessage("无法打开邮件程序。请把邮件发送到：" + file.substr(7));
        else
            showMessage("无法打开网页。请在浏览器中打开：" + file);
    } catch (const Exception&) {
    }
}

void RunOnlineRepair(Machine& machine, HWND owner, const std::function<void(const std::string&)>& showMessage,
                     const std::function<bool()>& goesOn)
{
    // The notice only asks the user to be online. One that cannot be shown is passed over as
    // silently as a hand-off that fails, and the page is handed over all the same.
    try {
        showMessage("确保已经连到网上！在线自动修复！");
    } catch (const Exception&) {
    }
    if (goesOn())
        OpenOrSayWhere(machine, owner, product::kOnlineRepairPage, showMessage);
}
