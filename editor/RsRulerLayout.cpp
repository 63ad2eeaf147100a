#include "editor/RsRulerLayout.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace tavrin {

namespace {

// Tick line lengths; the end pixel of a line is not drawn, so a long tick covers 7 pixels, a short one 5.
constexpr int kLongTick = 8;
constexpr int kShortTick = 6;

// A one-pixel line across the ruler at position c along it, covering the distances [from, to) from the
// tick edge; distance 0 is the outermost pixel row or column.
TRect AcrossLine(TRulerDir dir, int width, int height, int c, int from, int to)
{
    switch (dir) {
    case TRulerDir::rdTop:
        return {c, height - to, c + 1, height - from};
    case TRulerDir::rdBottom:
        return {c, from, c + 1, to};
    case TRulerDir::rdLeft:
        return {width - to, c, width - from, c + 1};
    case TRulerDir::rdRight:
        return {from, c, to, c + 1};
    }
    return {};
}

TRect BandRect(const TRulerParams& p, int zeroHeight)
{
    const int m = p.Flat ? 1 : 2;
    const int w = p.Width;
    const int h = p.Height;
    switch (p.Direction) {
    case TRulerDir::rdTop:
        return {m, h - zeroHeight - 7, w - m, h - 8};
    case TRulerDir::rdBottom:
        return {m, 8, w - m, zeroHeight + 7};
    case TRulerDir::rdLeft:
        return {w - zeroHeight - 6, m, w - 8, h - m};
    case TRulerDir::rdRight:
        return {8, m, zeroHeight + 6, h - m};
    }
    return {};
}

// The column holding position x along the ruler (x in [0, length)), counted from the far end in reverse.
int PositionOf(double x, int length, TRulerScaleDir scaleDir)
{
    const int t = static_cast<int>(std::floor(x));
    return scaleDir == TRulerScaleDir::rsdNormal ? t : length - t;
}

// The first index k whose mark origin + k * step lies on the ruler (at or after its start); none when the
// ruler is out of any index's reach.
std::optional<long long> FirstIndexOnRuler(double origin, double step)
{
    const double k = std::ceil(-origin / step);
    if (!(std::fabs(k) < 1e15)) return std::nullopt;
    return static_cast<long long>(k);
}

// Number positions are spaced by the tick step; ticks lie two steps apart.
void AddTicks(const TRulerParams& p, int length, TRulerLayout& out)
{
    const double step = 2 * out.TickStep;
    const std::optional<long long> first = FirstIndexOnRuler(p.Origin, step);
    if (!first) return;
    for (long long k = *first;; ++k) {
        const double x = p.Origin + static_cast<double>(k) * step;
        if (!(x < length)) break;
        if (x < 0) continue;
        const int c = PositionOf(x, length, p.ScaleDir);
        const bool isLong = k % 5 == 0;
        const int n = isLong ? kLongTick : kShortTick;
        out.Ticks.push_back({k, c, isLong, AcrossLine(p.Direction, p.Width, p.Height, c, 0, n - 1)});
    }
}

TRulerLabel MakeLabel(const TRulerParams& p, const TRulerMetrics& m, long long i, int c, double value)
{
    TRulerLabel label;
    label.Index = i;
    label.Pos = c;
    label.Value = value;
    label.Text = FormatLabel(value, p.ShowMinus, p.DecimalSeparator);
    const int tw = m.TextWidth ? m.TextWidth(label.Text) : 0;
    const int th = m.TextHeight;
    switch (p.Direction) {
    case TRulerDir::rdTop:
        label.Origin = {c - tw / 2, p.Height - th - 8};
        break;
    case TRulerDir::rdBottom:
        label.Origin = {c - tw / 2, 8};
        break;
    case TRulerDir::rdLeft:
        label.Origin = {p.Width - th - 7, c + tw / 2};
        label.Reading = TTextReading::trUpward;
        break;
    case TRulerDir::rdRight:
        label.Origin = {th + 7, c - tw / 2};
        label.Reading = TTextReading::trDownward;
        break;
    }
    return label;
}

// Numbers every ten positions, half marks halfway between them; the counting start gets neither.
void AddNumbers(const TRulerParams& p, const TRulerMetrics& m, int length, TRulerLayout& out)
{
    const int h2 = (m.TextHeight + 14) / 2;
    const std::optional<long long> first = FirstIndexOnRuler(p.Origin, 5 * out.TickStep);
    if (!first) return;
    for (long long i = 5 * *first;; i += 5) {
        const double x = p.Origin + static_cast<double>(i) * out.TickStep;
        if (!(x < length)) break;
        if (x < 0 || i == 0) continue;
        const int c = PositionOf(x, length, p.ScaleDir);
        if (i % 10 == 0) {
            const double v = LabelValue(i, out.ScaleFactor, p.Units, p.Offset);
            out.Labels.push_back(MakeLabel(p, m, i, c, v));
        } else {
            out.HalfMarks.push_back({c, AcrossLine(p.Direction, p.Width, p.Height, c, h2 - 2, h2 + 1)});
        }
    }
}

} // namespace

double UnitsPerMillimetre(TRulerUnit unit, double pixelsPerInch)
{
    switch (unit) {
    case TRulerUnit::ruKilo:
        return 0.000001;
    case TRulerUnit::ruMeter:
        return 0.001;
    case TRulerUnit::ruCenti:
        return 0.1;
    case TRulerUnit::ruMilli:
        return 1;
    case TRulerUnit::ruInch:
        return 1 / 25.4;
    case TRulerUnit::ruPixel:
        return pixelsPerInch / 25.4;
    case TRulerUnit::ruNone:
        return 1;
    }
    return 1;
}

double ScaleFactorFor(int scale, double previousFactor)
{
    struct Entry
    {
        int UpTo;
        double Factor;
    };
    static constexpr Entry table[] = {{1, 100},    {2, 50},    {5, 25},    {8, 20},  {12, 10},
                                      {25, 5},     {35, 4},    {50, 2},    {125, 1}, {300, 0.5},
                                      {400, 0.25}, {500, 0.2}, {1000, 0.1}};
    if (scale < 1) return previousFactor;
    for (const Entry& e : table)
        if (scale <= e.UpTo) return e.Factor;
    return previousFactor;
}

double TickStepFor(int scale, TRulerUnit unit, double pixelsPerInch, double scaleFactor, double magnification)
{
    const bool own = magnification > 0;
    double step = own ? pixelsPerInch / 10 * magnification : pixelsPerInch / 10 * scale / 100;
    if (unit != TRulerUnit::ruInch) step /= 2.54;
    if (unit == TRulerUnit::ruPixel) step = own ? magnification * 5 : static_cast<double>(scale) * 5 / 100;
    return step * scaleFactor;
}

double LabelValue(long long i, double scaleFactor, TRulerUnit unit, double offset)
{
    double v = static_cast<double>(i) * scaleFactor / 10;
    switch (unit) {
    case TRulerUnit::ruMilli:
        v *= 10;
        break;
    case TRulerUnit::ruMeter:
        v /= 100;
        break;
    case TRulerUnit::ruKilo:
        v /= 100000;
        break;
    case TRulerUnit::ruPixel:
        v *= 50;
        break;
    default:
        break;
    }
    v += offset;
    // Ties go to the even neighbour, as everywhere in the program. Rounded in double, not through int,
    // so that offsets beyond the int range still print their true value.
    if (unit == TRulerUnit::ruPixel)
        v = std::nearbyint(v);
    else if (unit == TRulerUnit::ruInch)
        v = std::nearbyint(v * 100) / 100;
    return v;
}

std::string FormatLabel(double value, bool showMinus, const std::string& decimalSeparator)
{
    if (!std::isfinite(value)) return {};
    if (!showMinus) value = std::fabs(value);
    // Fixed notation of the largest double needs 309 digits before the point.
    char buf[400];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 2);
    std::string s(buf, res.ptr);
    const auto point = s.find('.');
    if (point == std::string::npos) return s;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.')
        s.pop_back();
    else
        s.replace(point, 1, decimalSeparator);
    return s == "-0" ? "0" : s;
}

TRulerLayout LayOutRuler(const TRulerParams& p, const TRulerMetrics& m)
{
    TRulerLayout out;
    out.ScaleFactor = ScaleFactorFor(p.Scale, p.PreviousScaleFactor);
    out.TickStep = TickStepFor(p.Scale, p.Units, p.PixelsPerInch, out.ScaleFactor, p.Magnification);
    out.Band = BandRect(p, m.ZeroHeight);
    // A step that is not a positive number would never reach the end of the ruler.
    if (!(out.TickStep > 0) || !std::isfinite(out.TickStep)) return out;
    const int length = IsHorizontal(p.Direction) ? p.Width : p.Height;
    AddTicks(p, length, out);
    AddNumbers(p, m, length, out);
    return out;
}

TRect HairLineRect(TRulerDir direction, THairLineStyle style, TRulerScaleDir scaleDir, int pos, int width,
                   int height, int zeroHeight)
{
    const int h = zeroHeight + 6;
    const bool line = style == THairLineStyle::hlsLine;
    const bool reverse = scaleDir == TRulerScaleDir::rsdReverse;
    // Along the ruler: a one-pixel line ending at pos, or the span from the counting start to pos.
    const int lineFrom = line ? pos - 1 : (reverse ? pos : 1);
    const int hEnd = line || !reverse ? pos : width;
    const int vEnd = line || !reverse ? pos : height;
    switch (direction) {
    case TRulerDir::rdTop:
        return {lineFrom, height - h - 1, hEnd, height - 8};
    case TRulerDir::rdBottom:
        return {lineFrom, 8, hEnd, line ? h : h + 1};
    case TRulerDir::rdLeft:
        return {width - h, lineFrom, width - 8, vEnd};
    case TRulerDir::rdRight:
        return {8, lineFrom, h, vEnd};
    }
    return {};
}

} // namespace tavrin
