#include "services/IniFileLines.h"

#include "services/IniFileNumbers.h"

#include <vector>

namespace tavrin {

namespace {

struct TLine
{
    std::size_t Start = 0;  // offset of the line's first character
    std::string_view Body;  // without the line break
    std::string_view Break; // "\r\n", "\n", "\r" or empty for a last line without one
};

std::vector<TLine> SplitLines(std::string_view text)
{
    std::vector<TLine> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            lines.push_back({pos, text.substr(pos), {}});
            break;
        }
        const std::size_t breakLen = text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
        lines.push_back({pos, text.substr(pos, end - pos), text.substr(end, breakLen)});
        pos = end + breakLen;
    }
    return lines;
}

std::optional<std::string_view> SectionName(std::string_view body)
{
    const std::string_view line = TrimIniText(body);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
    return TrimIniText(line.substr(1, line.size() - 2));
}

std::optional<std::string_view> KeyName(std::string_view body)
{
    const std::string_view line = TrimIniText(body);
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return TrimIniText(line.substr(0, eq));
}

// Where a key sits: the index of its section's header line, the index one past the section's last
// line, and the index of the key's line when it exists.
struct TKeyPlace
{
    std::optional<std::size_t> Header;
    std::size_t SectionEnd = 0;
    std::optional<std::size_t> KeyLine;
};

TKeyPlace FindKey(const std::vector<TLine>& lines, std::string_view section, std::string_view key)
{
    TKeyPlace place;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i].Body);
        if (!place.Header) {
            if (name && SameIniName(*name, section)) place.Header = i;
            continue;
        }
        if (name) break;
        const auto k = KeyName(lines[i].Body);
        if (!place.KeyLine && k && SameIniName(*k, key)) place.KeyLine = i;
        if (!TrimIniText(lines[i].Body).empty()) place.SectionEnd = i + 1;
    }
    if (place.Header && place.SectionEnd == 0) place.SectionEnd = *place.Header + 1;
    return place;
}

std::string_view FileLineBreak(const std::vector<TLine>& lines)
{
    for (const TLine& l : lines)
        if (!l.Break.empty()) return l.Break;
    return "\r\n";
}

} // namespace

std::optional<std::string> ReadIniLine(std::string_view text, std::string_view section, std::string_view key)
{
    const std::vector<TLine> lines = SplitLines(text);
    const TKeyPlace place = FindKey(lines, section, key);
    if (!place.KeyLine) return std::nullopt;
    const std::string_view body = TrimIniText(lines[*place.KeyLine].Body);
    std::string_view value = TrimIniText(body.substr(body.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, MaxIniValueLength));
}

std::string WriteIniLine(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value)
{
    const std::vector<TLine> lines = SplitLines(text);
    const std::string_view lineBreak = FileLineBreak(lines);
    const std::string entry = std::string(key) + "=" + std::string(value);
    const TKeyPlace place = FindKey(lines, section, key);

    std::string out;
    out.reserve(text.size() + entry.size() + section.size() + 8);
    if (place.KeyLine) {
        const TLine& l = lines[*place.KeyLine];
        out.append(text.substr(0, l.Start));
        out += entry;
        out.append(l.Break);
        out.append(text.substr(l.Start + l.Body.size() + l.Break.size()));
        return out;
    }
    // Everything up to the insertion point stays as it is; the line before a new line gets a break if
    // it was the file's last line and had none.
    const std::size_t at = place.Header ? place.SectionEnd : lines.size();
    const std::size_t split = at < lines.size() ? lines[at].Start : text.size();
    out.append(text.substr(0, split));
    if (at > 0 && lines[at - 1].Break.empty()) out += lineBreak;
    if (!place.Header) {
        out += '[';
        out += section;
        out += ']';
        out += lineBreak;
    }
    out += entry;
    out += lineBreak;
    out.append(text.substr(split));
    return out;
}

} // namespace tavrin
