#pragma once
// The graphics objects a metafile creates (pens, brushes, fonts, regions) and the table it keeps them in.
// Objects take the lowest free slot when created, exactly as the metafile's own indices assume.

#include "ImgLib/WmfParams.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainterPath>

#include <cstdint>
#include <optional>
#include <set>
#include <variant>
#include <vector>

namespace tavrin {

QColor ColorFromRef(std::uint32_t colorRef); // COLORREF: 0x00BBGGRR

struct TWmfPen
{
    std::uint16_t Style = 0; // PS_SOLID; line style in the low byte, caps and joins above
    std::int16_t Width = 0;  // logical units; 0 is one device pixel
    QColor Color = Qt::black;
    bool IsNull() const { return (Style & 0x0F) == 5; }
};

struct TWmfBrush
{
    std::uint16_t Style = 0; // BS_SOLID, BS_NULL = 1, BS_HATCHED = 2, patterns
    QColor Color = Qt::white;
    std::uint16_t Hatch = 0;
    QImage Pattern; // for pattern brushes
    bool IsNull() const { return Style == 1; }
};

struct TWmfFont
{
    std::int16_t Height = 0; // logical units: negative is the em size, positive the cell height
    std::int16_t Width = 0;
    std::int16_t Escapement = 0; // tenths of a degree, counter-clockwise
    std::int16_t Weight = 0;
    bool Italic = false, Underline = false, StrikeOut = false;
    std::uint8_t Charset = 0;
    QByteArray FaceName; // in the font's character set
};

struct TWmfRegion
{
    QPainterPath Area; // logical units
};

struct TWmfPalette
{
};

using TWmfObject = std::variant<TWmfPen, TWmfBrush, TWmfFont, TWmfRegion, TWmfPalette>;

TWmfPen ParsePen(const TWmfParams& p);
TWmfBrush ParseBrush(const TWmfParams& p);
TWmfFont ParseFont(const TWmfParams& p);
TWmfRegion ParseRegion(const TWmfParams& p);

class TWmfObjectTable
{
  public:
    explicit TWmfObjectTable(std::size_t declaredCount);

    void Add(TWmfObject object);
    const TWmfObject* Find(std::size_t index) const;
    void Delete(std::size_t index);

  private:
    std::vector<std::optional<TWmfObject>> FSlots;
    std::set<std::size_t> FFree; // indices of empty slots, lowest first
};

} // namespace tavrin
