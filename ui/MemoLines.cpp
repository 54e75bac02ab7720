#include "ui/MemoLines.h"

#include "common/Text.h"

void MemoLines::Clear()
{
    ::SetWindowTextW(edit_, L"");
}

void MemoLines::SetLines(const std::vector<std::string>& lines)
{
    std::wstring text;
    for (const std::string& line : lines)
        text += WideFromGbk(line) + L"\r\n";
    ::SetWindowTextW(edit_, text.c_str());
}

void MemoLines::AppendLine(const std::string& line)
{
    Append(WideFromGbk(line));
}

void MemoLines::AppendValueLine(const std::string& label, const std::string& value, const std::string& suffix)
{
    // Each part from its own code page: a value's last byte never joins the text after it.
    Append(WideFromGbk(label) + WideFromAnsi(value) + WideFromGbk(suffix));
}

void MemoLines::Append(const std::wstring& line)
{
    const std::wstring text = line + L"\r\n";
    const LRESULT end = ::GetWindowTextLengthW(edit_);
    ::SendMessageW(edit_, EM_SETSEL, static_cast<WPARAM>(end), end);
    ::SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<std::string> MemoLines::Lines() const
{
    const int length = ::GetWindowTextLengthW(edit_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(edit_, text.data(), length + 1)));

    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L"\r\n", start);
        if (end == std::wstring::npos) {
            lines.push_back(GbkFromWide(text.substr(start)));
            break;
        }
        lines.push_back(GbkFromWide(text.substr(start, end - start)));
        start = end + 2;
    }
    return lines;
}
