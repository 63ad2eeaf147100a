#include "services/ColorCodes.h"

#include "services/ColorNames.h"

#include <cstdio>

namespace tavrin {

namespace {

struct TRgb
{
    unsigned R, G, B;
};

TRgb Components(TColor c)
{
    const std::uint32_t v = RawColorValue(c);
    return {v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF};
}

template <typename... Args> std::string Format(const char* format, Args... args)
{
    char text[32];
    const int n = std::snprintf(text, sizeof text, format, args...);
    return std::string(text, static_cast<std::size_t>(n));
}

} // namespace

std::string ColorToHtmlCode(TColor c)
{
    const TRgb rgb = Components(c);
    return Format("#%02X%02X%02X", rgb.R, rgb.G, rgb.B);
}

std::string ColorToRgbCode(TColor c)
{
    const TRgb rgb = Components(c);
    return Format("RGB(%u, %u, %u)", rgb.R, rgb.G, rgb.B);
}

std::string ColorToCppCode(TColor c) { return Format("0x%X", RawColorValue(c)); }

std::string ColorToDelphiCode(TColor c)
{
    if (auto name = ColorIdent(c))
        return std::string(*name);
    return Format("$%08X", RawColorValue(c));
}

std::string EditorColorCode(TColor c, int tag)
{
    const TRgb rgb = Components(c);
    switch (tag) {
    case ctHtml: return ColorToHtmlCode(c);
    case ctRgb: return ColorToRgbCode(c);
    case ctCpp: return Format("0x%02X%02X%02X", rgb.B, rgb.G, rgb.R);
    case ctDelphi: return Format("$00%02X%02X%02X", rgb.B, rgb.G, rgb.R);
    default: return {};
    }
}

} // namespace tavrin
