#pragma once
// Where a ruler puts its band, ticks, numbers and half marks, computed without any drawing: the ruler
// widget paints exactly this, and tests check it with made-up text metrics. Everything is in ruler pixels,
// rectangles with exclusive right and bottom edges.

#include "core/Geometry.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tavrin {

// The edge that carries the ticks. rdTop and rdBottom rulers are horizontal, rdLeft and rdRight vertical.
enum class TRulerDir : std::uint8_t
{
    rdTop,
    rdLeft,
    rdRight,
    rdBottom
};
// Where counting starts: the left or top end (normal) or the right or bottom end (reverse).
enum class TRulerScaleDir : std::uint8_t
{
    rsdNormal,
    rsdReverse
};
enum class TRulerUnit : std::uint8_t
{
    ruKilo,
    ruMeter,
    ruCenti,
    ruMilli,
    ruInch,
    ruPixel,
    ruNone
};
enum class THairLineStyle : std::uint8_t
{
    hlsLine,
    hlsRect
};
// How a number's text runs: upward reads from bottom to top, downward from top to bottom.
enum class TTextReading : std::uint8_t
{
    trHorizontal,
    trUpward,
    trDownward
};

constexpr bool IsHorizontal(TRulerDir d)
{
    return d == TRulerDir::rdTop || d == TRulerDir::rdBottom;
}

// Units per millimetre, used to keep an offset's physical meaning when the unit changes.
double UnitsPerMillimetre(TRulerUnit unit, double pixelsPerInch);

// The multiplier that keeps the distance between numbers readable at every scale. Above 1000 % there is
// no entry and the previous factor stays.
double ScaleFactorFor(int scale, double previousFactor);

// Ruler pixels between successive number positions. A positive `magnification` (ruler pixels per unit at
// the scale's own size) takes the place of scale / 100, for owners whose zoom is not a whole percent.
double TickStepFor(int scale, TRulerUnit unit, double pixelsPerInch, double scaleFactor, double magnification = 0);

// The value printed at number position i (already rounded as its unit requires).
double LabelValue(long long i, double scaleFactor, TRulerUnit unit, double offset);

// "0.##": at most two decimals, no trailing zeros, no thousands separator; a zero never gets a sign.
std::string FormatLabel(double value, bool showMinus, const std::string& decimalSeparator);

struct TRulerParams
{
    int Width = 200;
    int Height = 33;
    TRulerDir Direction = TRulerDir::rdTop;
    TRulerScaleDir ScaleDir = TRulerScaleDir::rsdNormal;
    int Scale = 100;
    double Offset = 0;
    // Where the counting starts along the ruler (the place of Offset), in ruler pixels; may be fractional or
    // negative. A mark at distance d from it stands in the column holding Origin + d.
    double Origin = 0;
    double Magnification = 0; // see TickStepFor; 0: Scale / 100
    TRulerUnit Units = TRulerUnit::ruCenti;
    bool Flat = false;
    bool ShowMinus = true;
    double PixelsPerInch = 96;
    double PreviousScaleFactor = 1; // the factor of the previous paint
    std::string DecimalSeparator = ".";
};

// Text measurement in the fonts the paint uses.
struct TRulerMetrics
{
    int ZeroHeight = 0;                               // height of "0" in the control's font: sizes the band
    int TextHeight = 0;                               // height of a number in the number font
    std::function<int(const std::string&)> TextWidth; // width of a number in the number font
};

struct TRulerTick
{
    long long Index = 0; // tick k stands at number position 2k
    int Pos = 0;         // along the ruler
    bool Long = false;
    TRect Rect; // the pixels to fill
};

struct TRulerLabel
{
    long long Index = 0; // number position i; the distance along the ruler is i * TickStep
    int Pos = 0;         // along the ruler: the number is centred here
    double Value = 0;
    std::string Text;
    TPoint Origin; // the text's top-left corner before rotation
    TTextReading Reading = TTextReading::trHorizontal;
};

struct TRulerHalfMark
{
    int Pos = 0;
    TRect Rect;
};

struct TRulerLayout
{
    double ScaleFactor = 1;
    double TickStep = 1;
    TRect Band; // filled with the scale colour
    std::vector<TRulerTick> Ticks;
    std::vector<TRulerLabel> Labels;
    std::vector<TRulerHalfMark> HalfMarks;
};

// The work is proportional to the ruler's length, whatever the scale and offset.
TRulerLayout LayOutRuler(const TRulerParams& params, const TRulerMetrics& metrics);

// The rectangle the hairline at ruler position pos inverts.
TRect HairLineRect(TRulerDir direction, THairLineStyle style, TRulerScaleDir scaleDir, int pos, int width,
                   int height, int zeroHeight);

} // namespace tavrin
