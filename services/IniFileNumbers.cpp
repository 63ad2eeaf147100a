#include "services/IniFileNumbers.h"

#include <array>

namespace tavrin {

namespace {

int DigitValue(char c, int base)
{
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string_view TrimIniText(std::string_view text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<std::int32_t> ParseWholeNumber(std::string_view text)
{
    text = TrimIniText(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return std::nullopt;

    // Decimal allows up to 2^31 (for the negative end), hexadecimal the full 32-bit pattern.
    const std::uint64_t limit = base == 10 ? (negative ? 0x80000000u : 0x7FFFFFFFu) : 0xFFFFFFFFu;
    std::uint64_t value = 0;
    for (char c : text) {
        const int d = DigitValue(c, base);
        if (d < 0) return std::nullopt;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
        if (value > limit) return std::nullopt;
    }
    const auto bits = static_cast<std::uint32_t>(negative ? (~value + 1) : value);
    return static_cast<std::int32_t>(bits);
}

std::optional<bool> ParseSwitchText(std::string_view text)
{
    text = TrimIniText(text);
    static constexpr std::array<std::string_view, 3> on{"true", "yes", "y"};
    static constexpr std::array<std::string_view, 3> off{"false", "no", "n"};
    for (auto word : on)
        if (SameIniName(text, word)) return true;
    for (auto word : off)
        if (SameIniName(text, word)) return false;
    if (auto n = ParseWholeNumber(text)) return *n != 0;
    return std::nullopt;
}

bool SameIniName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

} // namespace tavrin
