#include "services/ColorCodes.h"

#include <gtest/gtest.h>

using namespace tavrin;

namespace {

struct CodeCase
{
    TColor Color;
    const char* Html;
    const char* Rgb;
    const char* Cpp;
    const char* Delphi;
    const char* EditorCpp; // the editor menu's variants; its HTML and RGB codes are the ones above
    const char* EditorDelphi;
};

// Blue sits in the high byte of a colour value, so the C++ and Delphi codes read blue first.
const CodeCase kCodes[] = {
    {MakeColor(0, 0, 0), "#000000", "RGB(0, 0, 0)", "0x0", "clBlack", "0x000000", "$00000000"},
    {MakeColor(255, 255, 255), "#FFFFFF", "RGB(255, 255, 255)", "0xFFFFFF", "clWhite", "0xFFFFFF", "$00FFFFFF"},
    {MakeColor(255, 0, 0), "#FF0000", "RGB(255, 0, 0)", "0xFF", "clRed", "0x0000FF", "$000000FF"},
    {MakeColor(0, 0, 255), "#0000FF", "RGB(0, 0, 255)", "0xFF0000", "clBlue", "0xFF0000", "$00FF0000"},
    {MakeColor(18, 52, 86), "#123456", "RGB(18, 52, 86)", "0x563412", "$00563412", "0x563412", "$00563412"},
    {MakeColor(192, 220, 192), "#C0DCC0", "RGB(192, 220, 192)", "0xC0DCC0", "clMoneyGreen", "0xC0DCC0", "$00C0DCC0"},
    {MakeColor(160, 160, 164), "#A0A0A4", "RGB(160, 160, 164)", "0xA4A0A0", "clMedGray", "0xA4A0A0", "$00A4A0A0"},
    {MakeColor(255, 128, 0), "#FF8000", "RGB(255, 128, 0)", "0x80FF", "$000080FF", "0x0080FF", "$000080FF"},
    {MakeColor(10, 11, 171), "#0A0BAB", "RGB(10, 11, 171)", "0xAB0B0A", "$00AB0B0A", "0xAB0B0A", "$00AB0B0A"},
    {MakeColor(0, 0, 1), "#000001", "RGB(0, 0, 1)", "0x10000", "$00010000", "0x010000", "$00010000"},
    // What a read outside the picture gives: no standard name, the whole value in both hex codes; the
    // editor's codes keep only the three colour bytes.
    {clInvalidColor, "#FFFFFF", "RGB(255, 255, 255)", "0xFFFFFFFF", "$FFFFFFFF", "0xFFFFFF", "$00FFFFFF"},
};

TEST(ColorCodes, EveryNotationOfEachColour)
{
    for (const CodeCase& c : kCodes) {
        SCOPED_TRACE(c.Html);
        EXPECT_EQ(ColorToHtmlCode(c.Color), c.Html);
        EXPECT_EQ(ColorToRgbCode(c.Color), c.Rgb);
        EXPECT_EQ(ColorToCppCode(c.Color), c.Cpp);
        EXPECT_EQ(ColorToDelphiCode(c.Color), c.Delphi);
        EXPECT_EQ(EditorColorCode(c.Color, ctHtml), c.Html);
        EXPECT_EQ(EditorColorCode(c.Color, ctRgb), c.Rgb);
        EXPECT_EQ(EditorColorCode(c.Color, ctCpp), c.EditorCpp);
        EXPECT_EQ(EditorColorCode(c.Color, ctDelphi), c.EditorDelphi);
    }
}

} // namespace
