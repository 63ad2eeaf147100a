#pragma once
// Pen-and-brush drawing on a TBitmap32, with the pixel results the layers depend on.
//
// Colours are platform values ($00BBGGRR) and are written as the pixel $00RRGGBB, alpha 0.
// pmCopy writes that pixel; pmNotXor writes NOT(pixel XOR existing) over all 32 bits, so on
// transparent black it gives the inverted colour with alpha 255. Interiors are filled with the
// brush through the same pen mode; FillRect always copies the brush colour.

#include "core/Color.h"

#include <cstdint>

namespace tavrin {

class TBitmap32;

enum class TPenMode : std::uint8_t { pmCopy, pmNotXor };
enum class TPenStyle : std::uint8_t { psSolid, psDot };
enum class TBrushStyle : std::uint8_t { bsSolid, bsClear };

struct TPen
{
    TPenMode Mode = TPenMode::pmCopy;
    TPenStyle Style = TPenStyle::psSolid;
    TColor Color = clBlack;
    int Width = 1;
};

struct TBrush
{
    TBrushStyle Style = TBrushStyle::bsSolid;
    TColor Color = clWhite;
};

class TCanvas32
{
public:
    explicit TCanvas32(TBitmap32& target) : FTarget(target) {}
    TCanvas32(const TCanvas32&) = delete;
    TCanvas32& operator=(const TCanvas32&) = delete;

    TPen Pen;
    TBrush Brush;

    // Outline on the border pixels of [x1, x2) x [y1, y2) with the pen, interior with the brush.
    void Rectangle(int x1, int y1, int x2, int y2);
    // The ellipse inscribed in [x1, x2) x [y1, y2), outline and interior as for Rectangle.
    void Ellipse(int x1, int y1, int x2, int y2);
    // Brush colour copied into [x1, x2) x [y1, y2).
    void FillRect(int x1, int y1, int x2, int y2);

private:
    enum class TPart { Interior, OutlineDot, OutlineGap };
    void Plot(int x, int y, TPart part);
    TColor32 Combine(TColor32 colourPixel, TColor32 existing) const;

    TBitmap32& FTarget;
};

} // namespace tavrin
