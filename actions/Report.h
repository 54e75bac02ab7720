#pragma once

#include <string>

// Where a command writes its report: the main window's report area, or a test double.
// Lines are GBK bytes; an empty line is a blank line.
class Report {
public:
    virtual ~Report() = default;
    virtual void Clear() = 0;
    virtual void AppendLine(const std::string& line) = 0;
};
