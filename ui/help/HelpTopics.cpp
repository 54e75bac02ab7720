#include "ui/help/HelpTopics.h"

#include "common/Exception.h"
#include "common/ProductInfo.h"


const std::vector<std::string>& HelpIntroduction()
{
    static const std::vector<std::string> lines{
        "               《系统优化Kelvane》",
        "",
        "《系统优化Kelvane》是一款自动系统优化、网络加速、清",
        "理维护的Kelvane软件。麻雀虽小，五脏俱全。轻轻点击，",
        "一切ok。",
        "“Tavrin软件”隆重推出的又一力作。",
        "",
        "                   Tavrin软件",
        std::string("          网址：") + product::kHomePage,
        std::string("          Email：") + product::kSupportEmail,
    };
    return lines;
}

const std::vector<std::string>& HelpTopic(int category)
{
    static const std::vector<std::string> topics[kHelpTopicCount]{
        {
            "                   系统信息",
            "",
            "功能：检测并显示系统信息",
            "",
            "   系统信息包括：",
            "      计算机系统信息",
            "      硬件设备信息",
            "      网页浏览器信息",
            "      系统目录信息",
        },
        {
            "                   系统优化",
            "",
            "功能：系统内部优化达到最佳的运行状态",
            "",
            "   系统优化包括：",
            "",
            "      磁盘缓存自动优化",
            "      系统安全自动优化",
            "      文件系统自动优化",
            "      菜单加速优化",
        },
        {
            "                   网络加速",
            "",
            "功能：优化网络配置，使上网速度达到最快",
            "",
            "   网络加速包括：",
            "",
            "      网络加速配置",
            "      网络连接加速",
            "      网络驱动设备加速",
        },
        {
            "                   清理维护",
            "",
            "功能：清理系统内部的垃圾文件和垃圾信息",
            "",
            "   清理维护包括：",
            "      清理多余的DLL文件",
            "      清理注册表多余信息",
            "      清除“IE”地址栏中的历史记录",
            "      清除病毒和木马",
            "      清除系统安全漏洞",
        },
        {
            "                   自动修复",
            "功能：查杀电脑中的恶意代码，全面修复您的IE,有效消除QQ尾巴现象。",
            "   自动修复包括：",
            "      恢复IE浏览器标题为空白",
            "      恢复IE浏览器首页为空白页、地址为系统默认页",
            "      修复IE浏览器的Internet选项为可用",
            "      修复IE浏览器右键菜单不能弹出的问题",
            "      修复重新开机后IE浏览器又被感染的问题",
            "      恢复IE为默认浏览器",
            "      修复注册表编辑器为可用",
        },
    };
    if (category < 0 || category >= kHelpTopicCount)
        throw Exception("no such help topic");
    return topics[category];
}
