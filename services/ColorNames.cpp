#include "services/ColorNames.h"

#include "services/IniFileNumbers.h"

#include <array>
#include <utility>

namespace tavrin {

namespace {

constexpr std::array<std::pair<std::string_view, std::uint32_t>, 20> StandardColors{{
    {"clBlack", 0x000000},      {"clMaroon", 0x000080},  {"clGreen", 0x008000}, {"clOlive", 0x008080},
    {"clNavy", 0x800000},       {"clPurple", 0x800080},  {"clTeal", 0x808000},  {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},     {"clRed", 0x0000FF},     {"clLime", 0x00FF00},  {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},       {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},  {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0}, {"clSkyBlue", 0xF0CAA6}, {"clCream", 0xF0FBFF}, {"clMedGray", 0xA4A0A0},
}};

} // namespace

std::optional<std::string_view> ColorIdent(TColor c)
{
    for (auto [name, value] : StandardColors)
        if (static_cast<std::uint32_t>(c) == value) return name;
    return std::nullopt;
}

std::optional<TColor> IdentToColor(std::string_view name)
{
    for (auto [ident, value] : StandardColors)
        if (SameIniName(ident, name)) return TColor{value};
    return std::nullopt;
}

std::string ColorToSettingText(TColor c)
{
    if (auto name = ColorIdent(c)) return std::string(*name);
    return std::to_string(static_cast<std::uint32_t>(c));
}

std::optional<TColor> SettingTextToColor(std::string_view text)
{
    text = TrimIniText(text);
    if (auto c = IdentToColor(text)) return c;
    const auto n = ParseWholeNumber(text);
    if (!n || *n < 0 || *n > 0xFFFFFF) return std::nullopt;
    return TColor{static_cast<std::uint32_t>(*n)};
}

} // namespace tavrin
