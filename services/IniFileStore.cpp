#include "services/IniFileStore.h"

#include "services/IniFileNumbers.h"

namespace tavrin {

namespace {

// Calls line(text) for every line, without its line break (LF, CR LF or a lone CR).
template <class F> void ForEachLine(std::string_view text, F line)
{
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            line(text);
            return;
        }
        line(text.substr(0, end));
        const std::size_t next = text.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
        text.remove_prefix(next);
    }
}

std::string WithoutLineBreaks(std::string_view text)
{
    std::string s(text);
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

std::string LowerName(std::string_view name)
{
    std::string s(name);
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

} // namespace

TIniStore TIniStore::Parse(std::string_view text)
{
    TIniStore store;
    TSection* current = nullptr;
    ForEachLine(text, [&](std::string_view raw) {
        const std::string_view line = TrimIniText(raw);
        if (line.empty() || line.front() == ';') return;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            current = &store.SectionForWrite(TrimIniText(line.substr(1, line.size() - 2)));
            return;
        }
        const std::size_t eq = line.find('=');
        if (current == nullptr || eq == std::string_view::npos) return;
        const std::string_view key = TrimIniText(line.substr(0, eq));
        if (key.empty() || FindEntry(*current, key) != nullptr) return;
        AddEntry(*current, key, TrimIniText(line.substr(eq + 1)));
    });
    return store;
}

std::string TIniStore::Format() const
{
    std::string out;
    for (const TSection& s : FSections) {
        out += '[';
        out += s.Name;
        out += "]\r\n";
        for (const TEntry& e : s.Entries) {
            out += e.Key;
            out += '=';
            out += e.Value;
            out += "\r\n";
        }
        out += "\r\n";
    }
    return out;
}

bool TIniStore::HasSection(std::string_view section) const
{
    return FindSection(section) != nullptr;
}

std::optional<std::string> TIniStore::Value(std::string_view section, std::string_view key) const
{
    const TSection* s = FindSection(section);
    if (s == nullptr) return std::nullopt;
    const TEntry* e = FindEntry(*s, key);
    if (e == nullptr) return std::nullopt;
    return e->Value;
}

std::string TIniStore::ReadString(std::string_view section, std::string_view key, std::string_view def) const
{
    return Value(section, key).value_or(std::string(def));
}

std::int32_t TIniStore::ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const
{
    const auto text = Value(section, key);
    return text ? ParseWholeNumber(*text).value_or(def) : def;
}

bool TIniStore::ReadBool(std::string_view section, std::string_view key, bool def) const
{
    const auto text = Value(section, key);
    return text ? ParseSwitchText(*text).value_or(def) : def;
}

void TIniStore::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    TSection& s = SectionForWrite(section);
    if (TEntry* e = FindEntry(s, key))
        e->Value = WithoutLineBreaks(value);
    else
        AddEntry(s, key, value);
}

void TIniStore::WriteInteger(std::string_view section, std::string_view key, std::int32_t value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniStore::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "TRUE" : "FALSE");
}

const TIniStore::TSection* TIniStore::FindSection(std::string_view name) const
{
    const auto it = FSectionIndex.find(LowerName(name));
    return it == FSectionIndex.end() ? nullptr : &FSections[it->second];
}

TIniStore::TSection& TIniStore::SectionForWrite(std::string_view name)
{
    const auto [it, added] = FSectionIndex.try_emplace(LowerName(name), FSections.size());
    if (added) FSections.push_back({WithoutLineBreaks(name), {}, {}});
    return FSections[it->second];
}

TIniStore::TEntry* TIniStore::FindEntry(TSection& section, std::string_view key)
{
    const auto it = section.Keys.find(LowerName(key));
    return it == section.Keys.end() ? nullptr : &section.Entries[it->second];
}

const TIniStore::TEntry* TIniStore::FindEntry(const TSection& section, std::string_view key)
{
    const auto it = section.Keys.find(LowerName(key));
    return it == section.Keys.end() ? nullptr : &section.Entries[it->second];
}

void TIniStore::AddEntry(TSection& section, std::string_view key, std::string_view value)
{
    section.Keys.emplace(LowerName(key), section.Entries.size());
    section.Entries.push_back({WithoutLineBreaks(key), WithoutLineBreaks(value)});
}

} // namespace tavrin
