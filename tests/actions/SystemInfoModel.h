#pragma once

// The rules of the system information report as a model written from scratch, shared by the
// tests that compare the report with it: which lines, with which values, which values are read,
// and which error ends the report after which lines, for any state of the seven keys, the
// drive and the temporary folder.

#include "actions/Machine.h"

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace system_info_model {

struct ItemRule {
    const char* label;
    int value;  // index into the group's values; -1 for the temporary folder
    const char* suffix;
};

struct GroupRule {
    HKEY root;
    const char* path;  // as the registry spells it; the report opens it in other letter cases
    std::vector<const char*> values;
    const char* heading;  // nullptr: no heading of its own
    std::vector<ItemRule> items;
};

inline const std::vector<GroupRule> kGroups = {
    {HKEY_LOCAL_MACHINE,
     "Software\\Microsoft\\Windows NT\\CurrentVersion",
     {"registeredowner", "registeredorganization", "ProductName", "ProductId", "DevicePath", "ProgramFilesPath",
      "CurrentVersion", "SystemRoot", "CurrentBuild"},
     "计算机系统",
     {{"用户姓名", 0, ""}, {"组织名称", 1, ""}, {"操作系统", 2, ""}, {"版本信息", 6, ""}, {"序列号码", 3, ""}}},
    {HKEY_LOCAL_MACHINE,
     "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName",
     {"computername"},
     "硬件设备",
     {{"本机名称", 0, ""}}},
    {HKEY_LOCAL_MACHINE,
     "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0",
     {"VendorIdentifier", "Identifier"},
     nullptr,
     {{"处理器标识", 0, ""}, {"处理器名称", 1, ""}}},
    {HKEY_LOCAL_MACHINE,
     "SOFTWARE\\Microsoft\\Internet Explorer",
     {"Version"},
     "网页浏览器",
     {{"IE版本", 0, ""}}},
    {HKEY_CURRENT_USER,
     "Software\\Microsoft\\Internet Explorer\\Main",
     {"Default_Page_URL", "Start Page", "Save Directory"},
     nullptr,
     {{"默认主页", 0, ""}, {"当前主页", 1, ""}, {"网页保存目录", 2, ""}}},
    {HKEY_USERS,
     ".DEFAULT\\Software\\Microsoft\\Internet Explorer",
     {"Download Directory"},
     nullptr,
     {{"软件下载目录", 0, ""}}},
    {HKEY_CURRENT_CONFIG,
     "Display\\Settings",
     {"BitsPerPixel", "Resolution"},
     "系统显示",
     {{"系统颜色", 0, "色"}, {"分辨率", 1, ""}}},
};
inline constexpr size_t kDriveLinesAfterGroup = 2;  // the two drive lines follow the processor group

inline std::string Heading(const char* text) { return std::string(text) + "："; }
// A value's control characters show as spaces, so it keeps to its own line.
inline std::string Item(const char* label, std::string value, const char* suffix)
{
    for (char& c : value)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    return std::string(5, ' ') + label + "：" + value + suffix;
}

// From build 10240 on, the version is "10.0." and the build; from 22000 on, a product name
// "Windows 10…" says "Windows 11…".
inline void ApplyBuildNumber(std::vector<std::string>& windows)
{
    const std::string& build = windows[8];
    const bool number = !build.empty() && build.size() <= 9 && build.find_first_not_of("0123456789") == std::string::npos;
    const unsigned long value = number ? std::stoul(build) : 0;
    if (value >= 22000 && windows[2].rfind("Windows 10", 0) == 0)
        windows[2] = "Windows 11" + windows[2].substr(10);
    if (value >= 10240)
        windows[6] = "10.0." + build;
}

// "###,##0", worked out from the left.
inline std::string Grouped(unsigned long long value, char separator)
{
    const std::string digits = std::to_string(value);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        text += digits[i];
        const size_t left = digits.size() - 1 - i;
        if (left > 0 && left % 3 == 0)
            text += separator;
    }
    return text;
}

enum class ValueKind { Absent, Ascii, Gbk, EmptyText, EmbeddedZero, Unterminated, ExpandText, ZeroLength,
                       Dword, Binary, MultiText };

struct StoredValue {
    ValueKind kind = ValueKind::Absent;
    std::string storedName;
    DWORD type = REG_NONE;
    std::string data;
    // What reading it must give.
    bool invalid = false;
    std::string text;
    // The data cannot be fetched once its size is known (the value grew, or the fetch was refused).
    bool fetchFails = false;
};

enum class KeyState { Absent, Refused, Present };

struct State {
    KeyState keys[7];
    std::vector<StoredValue> values[7];
    Machine::DiskCounts disk;
    std::string tempPath;
    char separator = ',';
};

struct Outcome {
    std::vector<std::string> lines;
    std::vector<std::string> reads;
    std::string error;
};

inline Outcome Model(const State& state)
{
    Outcome outcome;
    std::vector<std::string> windowsValues(kGroups[0].values.size());
    for (size_t g = 0; g < kGroups.size(); ++g) {
        const GroupRule& group = kGroups[g];
        if (state.keys[g] == KeyState::Present) {
            std::vector<std::string> texts;
            for (size_t v = 0; v < group.values.size(); ++v) {
                outcome.reads.push_back(group.values[v]);
                const StoredValue& value = state.values[g][v];
                if (value.fetchFails) {
                    outcome.error = std::string("Failed to get data for '") + group.values[v] + "'";
                    return outcome;
                }
                if (value.invalid) {
                    outcome.error = std::string("Invalid data type for '") + group.values[v] + "'";
                    return outcome;
                }
                texts.push_back(value.text);
            }
            if (g == 0) {
                ApplyBuildNumber(texts);
                windowsValues = texts;
            }
            if (group.heading)
                outcome.lines.push_back(Heading(group.heading));
            for (const ItemRule& item : group.items)
                outcome.lines.push_back(Item(item.label, texts[static_cast<size_t>(item.value)], item.suffix));
        }
        if (g == kDriveLinesAfterGroup) {
            const unsigned long long cluster =
                static_cast<unsigned long long>(state.disk.sectorsPerCluster) * state.disk.bytesPerSector;
            outcome.lines.push_back(Item("C:驱动器总共容量", Grouped(cluster * state.disk.totalClusters, state.separator), "字节"));
            outcome.lines.push_back(Item("C:驱动器可用容量", Grouped(cluster * state.disk.freeClusters, state.separator), "字节"));
        }
    }
    outcome.lines.push_back(Heading("系统目录"));
    outcome.lines.push_back(Item("系统目录", windowsValues[7], ""));
    outcome.lines.push_back(Item("系统临时目录", state.tempPath, ""));
    outcome.lines.push_back(Item("设备驱动目录", windowsValues[4], ""));
    outcome.lines.push_back(Item("软件安装目录", windowsValues[5], ""));
    return outcome;
}

// Builds the seven keys of `state` in the (sandboxed) registry, each from scratch.
inline void Apply(const State& state)
{
    for (size_t g = 0; g < kGroups.size(); ++g) {
        // Every key of the seven is a leaf here, so deleting it takes its values with it.
        ::RegDeleteKeyA(kGroups[g].root, kGroups[g].path);
        if (state.keys[g] == KeyState::Absent)
            continue;
        HKEY key = nullptr;
        if (::RegCreateKeyExA(kGroups[g].root, kGroups[g].path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr) != ERROR_SUCCESS)
            throw std::runtime_error(std::string("cannot create ") + kGroups[g].path);
        for (const StoredValue& value : state.values[g]) {
            if (value.kind != ValueKind::Absent)
                ::RegSetValueExA(key, value.storedName.c_str(), 0, value.type,
                                 reinterpret_cast<const BYTE*>(value.data.data()), static_cast<DWORD>(value.data.size()));
        }
        ::RegCloseKey(key);
    }
}

} // namespace system_info_model
