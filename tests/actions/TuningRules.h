#pragma once

// The keys, values and report lines of the three registry tuning actions, shared by the tests
// that check the actions against them. Keys are spelled as Windows spells them; the actions
// open them in other letter cases.

#include "testkit/RegistrySandbox.h"

#include <windows.h>

#include <string>
#include <vector>

namespace tuning_rules {

inline const std::string kLongBanner(32, '*');
inline const std::string kShortBanner(28, '*');

// "576" as the registry holds a REG_SZ written with its one terminating zero.
inline RegistrySandbox::Value Sz(const char* text) { return {REG_SZ, std::string(text) + '\0'}; }

struct NamedValue {
    const char* name;
    RegistrySandbox::Value value;
};

// ---- System optimisation (HKEY_CURRENT_USER) ----

inline constexpr char kDesktopKey[] = "Control Panel\\Desktop";
inline const std::vector<NamedValue> kDesktopValues = {{"menushowdelay", Sz("2")}};
inline const std::vector<std::string> kDesktopLines = {"菜单加速优化成功", ""};
inline const std::vector<std::string> kOptimisationClosing = {
    "磁盘缓存自动优化成功", "", "文件系统自动优化成功", "", "系统安全自动优化成功", "",
    kLongBanner,            "重新启动计算机，系统优化设置生效", kLongBanner,
};

// ---- Network acceleration (HKEY_LOCAL_MACHINE) ----

inline constexpr char kTransportKey[] = "System\\CurrentControlSet\\Services\\Class\\NetTrans\\0000";
inline constexpr char kTcpKey[] = "System\\CurrentControlSet\\Services\\VxD\\MSTCP";
inline constexpr char kTcpParametersKey[] = "System\\CurrentControlSet\\Services\\VxD\\MSTCP\\Parameters";

inline const std::vector<std::string> kTransportLines = {"网络加速配置成功！！", "", "网络连接加速成功！！", ""};
inline const std::vector<std::string> kParametersLines = {"网络驱动设备加速成功！！", "", kLongBanner,
                                                          "重新启动计算机，网络加速设置生效", kLongBanner};

inline const std::vector<NamedValue> kTransportValues = {
    {"ipmtu", Sz("576")}, {"maxmss", Sz("536")}, {"maxmtu", Sz("576")}};
inline const std::vector<NamedValue> kTcpValues = {
    {"DefaultMSS", Sz("536")},    {"DefaultRcvWindow", Sz("7168")},   {"DefaultTTL", Sz("255")},
    {"NameSrvQueryTimeout", Sz("3000")}, {"PMTUDiscovery", Sz("1")}, {"PMTUBlackHoleDetect", Sz("1")},
    {"Tcp1323Opts", Sz("3")}};
inline const std::vector<NamedValue> kParametersValues = {
    {"SackOpts", Sz("1")}, {"MaxDupAcks", {REG_DWORD, std::string("\x03\x00\x00\x00", 4)}}};

// ---- Cleanup (HKEY_CURRENT_USER) ----

inline constexpr char kExplorerKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
inline constexpr char kBrowserKey[] = "Software\\Microsoft\\Internet Explorer";
inline constexpr char kPlayerKey[] = "Software\\Microsoft\\MediaPlayer\\Player";

inline const std::vector<std::string> kCleanupOpening = {"清理多余的DLL文件成功；", "", "清理注册表多余信息成功；", ""};
inline const std::vector<std::string> kExplorerLines = {"已清除“运行”对话框中的历史记录", "",
                                                        "已清除“查找”对话框中的历史记录"};
inline const std::vector<std::string> kBrowserLines = {"", "已清除“IE”地址栏中的历史记录"};
inline const std::vector<std::string> kPlayerLines = {"", "已清除“MediaPlayer”地址栏中的历史记录", ""};
inline const std::vector<std::string> kCleanupClosing = {"已检查修复系统安全漏洞", "", kShortBanner,
                                                         "重新启动计算机，垃圾清除有效", kShortBanner};

// A recently-used list: the key it lies under, its own name, and what its "已清除" line calls it.
struct ListRule {
    const char* key;
    const char* subkey;
    const char* shownAs;

    std::string Path() const { return std::string(key) + "\\" + subkey; }
    // The line that follows its step's lines when the list is still there after its deletion.
    std::string NotCleared() const { return std::string("未能清除：") + shownAs; }
};
inline const ListRule kRunList = {kExplorerKey, "RunMRU", "“运行”对话框中的历史记录"};
inline const ListRule kFindList = {kExplorerKey, "Doc Find Spec MRU", "“查找”对话框中的历史记录"};
inline const ListRule kAddressList = {kBrowserKey, "TypedURLs", "“IE”地址栏中的历史记录"};
inline const ListRule kPlayerList = {kPlayerKey, "RecentURLList", "“MediaPlayer”地址栏中的历史记录"};

} // namespace tuning_rules
