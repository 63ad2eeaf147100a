#pragma once
// How settings files spell numbers and switches. Every reader answers "cannot be read" with an empty
// optional, so the caller keeps its default for that one value and reads the rest.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tavrin {

// Removes leading and trailing characters up to and including the blank (controls, CR, NUL).
std::string_view TrimIniText(std::string_view text);

// A whole number: an optional "+" or "-", then decimal digits, or hexadecimal digits after "$", "0x" or
// "0X". Surrounding blanks are ignored. Decimal numbers must fit 32 signed bits; hexadecimal ones may use
// all 32 bits ("$FFFFFFFF" is -1). Anything else, including an empty text, cannot be read.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

// A switch of status.ini: "TRUE", "YES", "Y" are on and "FALSE", "NO", "N" off, in any case; any other
// text is read as a whole number, non-zero meaning on.
std::optional<bool> ParseSwitchText(std::string_view text);

// ASCII comparison without regard to case, as section and key names are matched.
bool SameIniName(std::string_view a, std::string_view b);

} // namespace tavrin
