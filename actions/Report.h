#pragma once

#include <string>

// Where a command writes its report: the main window's report area, or a test double.
// The program's own texts are GBK bytes; an empty line is a blank line.
class Report {
public:
    virtual ~Report() = default;
    virtual void Clear() = 0;
    virtual void AppendLine(const std::string& line) = 0;
    // A line of the program's own text around a value read from the machine, which is in the
    // system's ANSI code page and holds no control characters: label, value, then suffix.
    virtual void AppendValueLine(const std::string& label, const std::string& value, const std::string& suffix) = 0;
};
