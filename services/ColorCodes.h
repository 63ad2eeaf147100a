#pragma once
// A colour value as text in the four notations the colour read-out copies: an HTML colour, an RGB
// call, a C++ hexadecimal constant and a Delphi colour constant. Hexadecimal digits are upper case.

#include "core/Color.h"

#include <string>

namespace tavrin {

// "#RRGGBB" from the red, green and blue bytes: 255/128/0 gives "#FF8000".
std::string ColorToHtmlCode(TColor c);

// "RGB(r, g, b)" in decimal: "RGB(255, 128, 0)".
std::string ColorToRgbCode(TColor c);

// "0x" and the whole value without leading zeros, so blue comes first: 255/128/0 gives "0x80FF",
// black "0x0".
std::string ColorToCppCode(TColor c);

// The standard colour name the whole value equals (first in the table's order), otherwise "$" and the
// whole value as eight digits: 255/128/0 gives "$000080FF", pure red "clRed".
std::string ColorToDelphiCode(TColor c);

// The editor context menu's "색상 복사" items, by their Tags.
enum TColorCodeTag : int
{
    ctHtml = 51,
    ctRgb = 52,
    ctCpp = 53,
    ctDelphi = 54,
};

// The code the editor menu copies. HTML and RGB as above; C++ is "0x" and Delphi "$00", each followed
// by blue, green and red as two digits apiece, so both always have every digit and never a name:
// 255/128/0 gives "0x0080FF" and "$000080FF". Any other tag gives an empty text.
std::string EditorColorCode(TColor c, int tag);

} // namespace tavrin
