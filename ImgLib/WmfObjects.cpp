#include "ImgLib/WmfObjects.h"

#include <algorithm>

namespace tavrin {
namespace {

// The table may not grow past what 16-bit object indices can address.
constexpr std::size_t kMaxObjects = 65536;

} // namespace

QColor ColorFromRef(std::uint32_t colorRef)
{
    return QColor(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

TWmfPen ParsePen(const TWmfParams& p)
{
    // Style, width as a POINTS whose y is unused, COLORREF.
    TWmfPen pen;
    pen.Style = p.U16(0);
    pen.Width = p.I16(1);
    pen.Color = ColorFromRef(p.U32(3));
    return pen;
}

TWmfBrush ParseBrush(const TWmfParams& p)
{
    TWmfBrush brush;
    brush.Style = p.U16(0);
    brush.Color = ColorFromRef(p.U32(1));
    brush.Hatch = p.U16(3);
    return brush;
}

TWmfFont ParseFont(const TWmfParams& p)
{
    TWmfFont font;
    font.Height = p.I16(0);
    font.Width = p.I16(1);
    font.Escapement = p.I16(2);
    font.Weight = p.I16(4);
    const auto flags = p.Bytes(10, 8);
    if (!flags.empty()) {
        font.Italic = flags[0] != 0;
        font.Underline = flags[1] != 0;
        font.StrikeOut = flags[2] != 0;
        font.Charset = flags[3];
    }
    const auto face = p.BytesFrom(18);
    const auto name = face.first(std::min<std::size_t>(face.size(), 32));
    const auto end = std::find(name.begin(), name.end(), std::uint8_t{0});
    font.FaceName = QByteArray(reinterpret_cast<const char*>(name.data()), end - name.begin());
    return font;
}

TWmfRegion ParseRegion(const TWmfParams& p)
{
    // nextInChain, objectType, objectCount, regionSize, scanCount, maxScan, bounds (4 words), then scans of
    // [count, top, bottom, count/2 x (left, right), count].
    TWmfRegion region;
    const int scanCount = p.U16(5);
    std::size_t word = 10;
    for (int scan = 0; scan < scanCount && p.Has(word + 3); ++scan) {
        const std::size_t count = p.U16(word);
        const int top = p.I16(word + 1);
        const int bottom = p.I16(word + 2);
        word += 3;
        for (std::size_t i = 0; i + 1 < count && p.Has(word + 2); i += 2, word += 2)
            region.Area.addRect(QRectF(p.I16(word), top, p.I16(word + 1) - p.I16(word), bottom - top));
        word += 1;
    }
    if (region.Area.isEmpty() && p.Has(10)) // no usable scans: the bounds
        region.Area.addRect(QRectF(p.I16(6), p.I16(7), p.I16(8) - p.I16(6), p.I16(9) - p.I16(7)));
    region.Area.setFillRule(Qt::WindingFill);
    return region;
}

TWmfObjectTable::TWmfObjectTable(std::size_t declaredCount) : FSlots(std::min(declaredCount, kMaxObjects))
{
    for (std::size_t i = 0; i < FSlots.size(); ++i)
        FFree.insert(FFree.end(), i);
}

void TWmfObjectTable::Add(TWmfObject object)
{
    if (!FFree.empty()) {
        FSlots[*FFree.begin()] = std::move(object);
        FFree.erase(FFree.begin());
    } else if (FSlots.size() < kMaxObjects) { // the header under-declared its objects; keep going
        FSlots.emplace_back(std::move(object));
    }
}

const TWmfObject* TWmfObjectTable::Find(std::size_t index) const
{
    return index < FSlots.size() && FSlots[index] ? &*FSlots[index] : nullptr;
}

void TWmfObjectTable::Delete(std::size_t index)
{
    if (index < FSlots.size() && FSlots[index]) {
        FSlots[index].reset();
        FFree.insert(index);
    }
}

} // namespace tavrin
