#pragma once

#include <string>
#include <vector>

// The help window's texts, line by line (GBK): the introduction it opens with, and one topic
// per category of the main window (0 系统信息 … 4 自动修复).
const std::vector<std::string>& HelpIntroduction();
const std::vector<std::string>& HelpTopic(int category);
inline constexpr int kHelpTopicCount = 5;
