#pragma once

#include "resources/Facts.h"

// The product's fixed texts and addresses, in one place. The addresses use the reserved
// .example domain, so the program can never send anyone to a stranger's site.
namespace product {

inline constexpr char kTitle[] = "系统优化Kelvane";
inline constexpr char kHomePage[] = "https://www.kelvane.example/";
// The home page as status panel 1 shows it: short enough to stand whole, with room on both
// sides, in the panel at every display scale.
inline constexpr char kHomePageShown[] = "www.kelvane.example";
inline constexpr char kOnlineRepairPage[] = "https://www.kelvane.example/ie.htm";
inline constexpr char kSupportEmail[] = "support@kelvane.example";

// Held by the program while it runs, in every session: the installer and uninstaller look for it
// before they replace or remove the program's files. Written in resources/Facts.txt, from where
// scripts/package.sh hands it to them.
using facts::kRunningMutexName;

} // namespace product
