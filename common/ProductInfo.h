#pragma once

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

// Held by the program while it runs, in every session. The installer and uninstaller do not rely
// on it, as any user can make an object of this name: they ask which process runs the program.
inline constexpr wchar_t kRunningMutexName[] = L"Global\\Kelvane.Running";

} // namespace product
