#include "actions/TuningActions.h"

#include "registry/TRegistry.h"
#include "common/Exception.h"
#include "common/ProductInfo.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace {

constexpr char kLongBanner[] = "********************************";
constexpr char kShortBanner[] = "****************************";
static_assert(sizeof kLongBanner - 1 == 32 && sizeof kShortBanner - 1 == 28);

void AppendLines(Report& report, std::initializer_list<std::string> lines)
{
    for (const std::string& line : lines)
        report.AppendLine(line);
}

// The recently-used lists that cleanup removes: the subkey of the key opened for them, and the
// list as the report names it.
struct List {
    const char* subkey;
    const char* name;
};
constexpr List kRunList = {"runmru", "“运行”对话框中的历史记录"};
constexpr List kFindList = {"Doc Find Spec MRU", "“查找”对话框中的历史记录"};
constexpr List kAddressList = {"typedurls", "“IE”地址栏中的历史记录"};
constexpr List kPlayerList = {"recenturllist", "“MediaPlayer”地址栏中的历史记录"};

std::string Cleared(const List& list) { return std::string("已清除") + list.name; }

// Deletes the lists with a step's key open. A list's "已清除" line goes out before its deletion,
// so one that is still there afterwards is named once more, after the step's own lines; a list
// that was not there counts as cleared.
class ListDeletions {
public:
    ListDeletions(TRegistry& registry, Report& report) : registry_(registry), report_(report) {}

    void Delete(const List& list)
    {
        if (registry_.DeleteTreeOutcome(list.subkey) == TreeDeletion::Refused)
            kept_.push_back(&list);
    }

    void ReportKept()
    {
        for (const List* list : kept_)
            report_.AppendLine(std::string("未能清除：") + list->name);
        kept_.clear();
    }

private:
    TRegistry& registry_;
    Report& report_;
    std::vector<const List*> kept_;
};

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
        ListDeletions lists(registry, report);

        if (registry.OpenPath("\\Software\\microsoft\\windows\\currentversion\\explorer")) {
            AppendLines(report, {Cleared(kRunList), "", Cleared(kFindList)});
            lists.Delete(kRunList);
            lists.Delete(kFindList);
            lists.ReportKept();
        }
        if (registry.OpenPath("\\Software\\microsoft\\internet explorer")) {
            AppendLines(report, {"", Cleared(kAddressList)});
            lists.Delete(kAddressList);
            lists.ReportKept();
        }
        if (registry.OpenPath("\\Software\\microsoft\\mediaplayer\\player")) {
            report.AppendLine("");
            lists.Delete(kPlayerList);
            AppendLines(report, {Cleared(kPlayerList), ""});
            lists.ReportKept();
        }
    }
    AppendLines(report, {"已检查修复系统安全漏洞", "", kShortBanner, "重新启动计算机，垃圾清除有效", kShortBanner});
}

void RunOnlineRepair(Machine& machine, HWND owner, const std::function<void(const std::string&)>& showMessage)
{
    // The notice only asks the user to be online. One that cannot be shown is passed over as
    // silently as a hand-off that fails, and the page is handed over all the same.
    try {
        showMessage("确保已经连到网上！在线自动修复！");
    } catch (const Exception&) {
    }
    machine.OpenWithShell(owner, product::kOnlineRepairPage);
}
