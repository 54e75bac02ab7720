#include "ui/MemoLines.h"

#include "common/Text.h"
#include "win/CommonControls.h"

void MemoLines::Clear()
{
    ::SetWindowTextW(edit_, L"");
}

void MemoLines::SetLines(const std::string& lines)
{
    std::wstring text;
    for (const wchar_t c : WideFromGbk(lines))
        text += c == L'\n' ? std::wstring(L"\r\n") : std::wstring(1, c);
    ::SetWindowTextW(edit_, (text + L"\r\n").c_str());
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
    edit::Append(edit_, line + L"\r\n");
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
