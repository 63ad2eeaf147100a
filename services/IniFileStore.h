#pragma once
// An INI file held in memory as a whole, for files the program owns and rewrites completely
// (status.ini). Sections and keys keep the order in which they were first read or first written;
// names match without regard to case. The written layout is fixed: "[name]", one "key=value" line per
// key, an empty line after each section, CR LF line breaks.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tavrin {

class TIniStore
{
  public:
    // Reads INI text. Lines are trimmed; empty lines and lines starting with ";" are skipped; a line in
    // brackets opens a section; other lines are split at the first "=" into key and value, both
    // trimmed. Lines before the first section, lines without "=" and lines with an empty key carry no
    // setting and are dropped. A repeated section continues the first one; of repeated keys the first
    // one counts. Never fails: damaged text yields whatever settings can still be recognised.
    static TIniStore Parse(std::string_view text);
    std::string Format() const;

    bool Empty() const { return FSections.empty(); }
    bool HasSection(std::string_view section) const;
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    // Readers give the default when the key is missing or its text cannot be read.
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;
    std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t def) const;
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    // Creates the section and the key when missing, at the end. Line breaks in a value would break the
    // file's layout and become blanks.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, std::int32_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value); // "TRUE" / "FALSE"

  private:
    struct TEntry
    {
        std::string Key;
        std::string Value;
    };
    // Names are looked up through an index of their lower-case spelling, so that a damaged file of many
    // lines is still read in linear time.
    using TNameIndex = std::unordered_map<std::string, std::size_t>;
    struct TSection
    {
        std::string Name;
        std::vector<TEntry> Entries;
        TNameIndex Keys;
    };

    const TSection* FindSection(std::string_view name) const;
    TSection& SectionForWrite(std::string_view name);
    static TEntry* FindEntry(TSection& section, std::string_view key);
    static const TEntry* FindEntry(const TSection& section, std::string_view key);
    static void AddEntry(TSection& section, std::string_view key, std::string_view value);

    std::vector<TSection> FSections;
    TNameIndex FSectionIndex;
};

} // namespace tavrin
