#include "ui/Form1Tiles.h"

#include "resources/Facts.h"

#include <array>

namespace form1 {
namespace {

// One row a tile: everything the window and the help window know of it.
constexpr auto kTileRows = std::to_array<Tile>({
    {
        .frame = {17, 79, 106, 25},
        .label = {17, 85, 109, 19},
        .icon = {23, 84, 32, 32},
        .iconDrawnLast = true,
        .caption = "     系统信息   ",
        .statusHint = "检测并显示系统信息",
        .iconResource = icons::kCategorySystemInfo,
        .shortcut = {'1', true},
        .command = Command::SystemInformation,
        .help = {"系统信息",
                 "                   系统信息\n"
                 "\n"
                 "功能：检测并显示系统信息\n"
                 "\n"
                 "   系统信息包括：\n"
                 "      计算机系统信息\n"
                 "      硬件设备信息\n"
                 "      网页浏览器信息\n"
                 "      系统目录信息"},
    },
    {
        .frame = {17, 111, 106, 25},
        .label = {16, 117, 109, 19},
        .icon = {22, 116, 32, 32},
        .iconDrawnLast = false,
        .caption = "     系统优化   ",
        .statusHint = "系统内部优化达到最佳的运行状态",
        .iconResource = icons::kCategorySystemOptimise,
        .shortcut = {'2', true},
        .command = Command::SystemOptimisation,
        .help = {"系统优化",
                 "                   系统优化\n"
                 "\n"
                 "功能：系统内部优化达到最佳的运行状态\n"
                 "\n"
                 "   系统优化包括：\n"
                 "\n"
                 "      磁盘缓存自动优化\n"
                 "      系统安全自动优化\n"
                 "      文件系统自动优化\n"
                 "      菜单加速优化"},
    },
    {
        .frame = {17, 143, 106, 25},
        .label = {16, 149, 109, 19},
        .icon = {22, 148, 32, 32},
        .iconDrawnLast = false,
        .caption = "     网络加速   ",
        .statusHint = "优化网络配置使上网速度达到最快",
        .iconResource = icons::kCategoryNetwork,
        .shortcut = {'3', true},
        .command = Command::NetworkAcceleration,
        .help = {"网络加速",
                 "                   网络加速\n"
                 "\n"
                 "功能：优化网络配置，使上网速度达到最快\n"
                 "\n"
                 "   网络加速包括：\n"
                 "\n"
                 "      网络加速配置\n"
                 "      网络连接加速\n"
                 "      网络驱动设备加速"},
    },
    {
        .frame = {17, 175, 106, 25},
        .label = {17, 181, 109, 19},
        .icon = {21, 180, 32, 32},
        .iconDrawnLast = false,
        .caption = "     清理维护   ",
        .statusHint = "清理系统内部的垃圾文件和垃圾信息",
        .iconResource = icons::kCategoryCleanup,
        .shortcut = {'4', true},
        .command = Command::Cleanup,
        .help = {"清理维护",
                 "                   清理维护\n"
                 "\n"
                 "功能：清理系统内部的垃圾文件和垃圾信息\n"
                 "\n"
                 "   清理维护包括：\n"
                 "      清理多余的DLL文件\n"
                 "      清理注册表多余信息\n"
                 "      清除“IE”地址栏中的历史记录\n"
                 "      清除病毒和木马\n"
                 "      清除系统安全漏洞"},
    },
    {
        .frame = {17, 207, 106, 25},
        .label = {16, 213, 109, 19},
        .icon = {21, 212, 32, 32},
        .iconDrawnLast = false,
        .caption = "     自动修复   ",
        .statusHint = "网络自动修复、IE修复、广告拦截",
        .iconResource = icons::kCategoryRepair,
        .shortcut = {'5', true},
        .command = Command::OnlineRepair,
        .help = {"自动修复",
                 "                   自动修复\n"
                 "功能：查杀电脑中的恶意代码，全面修复您的IE,有效消除QQ尾巴现象。\n"
                 "   自动修复包括：\n"
                 "      恢复IE浏览器标题为空白\n"
                 "      恢复IE浏览器首页为空白页、地址为系统默认页\n"
                 "      修复IE浏览器的Internet选项为可用\n"
                 "      修复IE浏览器右键菜单不能弹出的问题\n"
                 "      修复重新开机后IE浏览器又被感染的问题\n"
                 "      恢复IE为默认浏览器\n"
                 "      修复注册表编辑器为可用"},
    },
});

// Left to right, each after an 8-pixel separator.
constexpr auto kToolButtonRows = std::to_array<ToolButton>({
    {.glyph = icons::kToolHelp, .hint = "常见问题", .shortcut = {VK_F1, false}, .command = Command::ShowHelp},
    {.glyph = icons::kToolMail, .hint = "给我写信", .shortcut = {}, .command = Command::WriteToSupport},
    {.glyph = icons::kToolExit, .hint = "退出", .shortcut = {}, .command = Command::Exit},
});

} // namespace

constinit const std::span<const Tile> kTiles = kTileRows;
constinit const std::span<const ToolButton> kToolButtons = kToolButtonRows;

std::wstring Shortcut::Text() const
{
    if (!key)
        return {};
    // The keys the tables use: digits, letters and F1 to F9.
    wchar_t text[] = L"Ctrl+F1";
    wchar_t* end = control ? text + 5 : text;
    if (key >= VK_F1 && key <= VK_F9) {
        *end++ = L'F';
        *end++ = static_cast<wchar_t>(L'1' + key - VK_F1);
    } else {
        *end++ = static_cast<wchar_t>(key);
    }
    return std::wstring(text, end);
}

} // namespace form1
