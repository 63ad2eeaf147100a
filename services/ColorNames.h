#pragma once
// The standard colour names (clBlack, clRed, ...) of the plain colour values, in the order they are
// looked up, and the colour text of settings files: a standard name, else the decimal value.

#include "core/Color.h"

#include <optional>
#include <string>
#include <string_view>

namespace tavrin {

// The name of the first standard colour whose value equals c; none for any other value.
std::optional<std::string_view> ColorIdent(TColor c);

// The colour of a standard name, compared without regard to case.
std::optional<TColor> IdentToColor(std::string_view name);

// The standard name when c has one, otherwise its value in decimal (red in the lowest byte).
std::string ColorToSettingText(TColor c);

// A standard name or a whole number (decimal, or hexadecimal after "$" / "0x") giving a plain colour
// value from 0 to $FFFFFF. Anything else cannot be read.
std::optional<TColor> SettingTextToColor(std::string_view text);

} // namespace tavrin
