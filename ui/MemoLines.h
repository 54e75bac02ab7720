#pragma once

#include "actions/Report.h"

#include <windows.h>

#include <string>
#include <vector>

// A multi-line EDIT seen as lines of GBK text: the report area of the main window and the
// help window's text area. Each line is stored followed by a line break.
class MemoLines : public Report {
public:
    MemoLines() = default;
    explicit MemoLines(HWND edit) : edit_(edit) {}

    void Clear() override;
    void AppendLine(const std::string& line) override;
    void AppendValueLine(const std::string& label, const std::string& value, const std::string& suffix) override;
    // Replaces all lines in one go with `lines`, separated by "\n", as Clear and AppendLine for
    // each would.
    void SetLines(const std::string& lines);

    // The lines as the control holds them now, the user's typing included.
    std::vector<std::string> Lines() const;

private:
    void Append(const std::wstring& line);

    HWND edit_ = nullptr;
};
