#pragma once

#include <windows.h>

namespace form1 {

// The numbers commands travel under in WM_COMMAND, by kind. Other programs see them (a tool
// button's number is its id on the tool bar) and may post them to the windows, so each kind
// keeps the range it has always had. The kinds lie a hundred apart, so that a number read in a
// message trace tells its kind, and clear of 0, the number every control of the windows carries,
// whose notifications arrive as WM_COMMAND too.
inline constexpr WORD kFirstTileCommand = 102;
inline constexpr WORD kFirstToolButtonCommand = 203;
// The help window's menu: one item a tile, the tile's topic.
inline constexpr WORD kFirstHelpTopicItem = 301;

// What the user can run on the main window, from a tile, a shortcut key, a tool button or a
// screen reader; each row of the tiles and tool buttons names its own.
enum class Command : WORD {
    // The tiles', top to bottom.
    SystemInformation = kFirstTileCommand,  // 系统信息
    SystemOptimisation,                     // 系统优化
    NetworkAcceleration,                    // 网络加速
    Cleanup,                                // 清理维护
    OnlineRepair,                           // 自动修复
    // The tool buttons', left to right.
    ShowHelp = kFirstToolButtonCommand,  // 常见问题
    WriteToSupport,                      // 给我写信
    Exit,                                // 退出
};

// The help window's menu item for the topic of the tile that runs `tileCommand`.
constexpr WORD HelpTopicItem(Command tileCommand)
{
    return static_cast<WORD>(kFirstHelpTopicItem + (static_cast<WORD>(tileCommand) - kFirstTileCommand));
}

} // namespace form1
