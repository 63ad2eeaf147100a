// TextOut and ExtTextOut.
#include "ImgLib/WmfPlayer.h"

#include "ImgLib/WmfCharset.h"
#include "ImgLib/WmfRecordTypes.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace tavrin {
namespace {

constexpr double kDefaultCellHeight = 16; // pixels, for a font of height 0
constexpr double kMaxEmPixels = 10000;
constexpr std::size_t kMaxTextBytes = 8192;

QFont DeviceFont(const TWmfFont& logical, double scaleX, double scaleY)
{
    QFont font;
    const QString family = DecodeCharset({reinterpret_cast<const std::uint8_t*>(logical.FaceName.constData()),
                                          std::size_t(logical.FaceName.size())},
                                         logical.Charset);
    if (!family.isEmpty()) font.setFamilies({family});
    font.setWeight(logical.Weight <= 0 ? QFont::Normal
                                       : QFont::Weight(std::clamp<int>(logical.Weight, 1, 1000)));
    font.setItalic(logical.Italic);
    font.setUnderline(logical.Underline);
    font.setStrikeOut(logical.StrikeOut);
    font.setStyleStrategy(QFont::PreferAntialias);
    // A negative height is the em size; a positive one the cell height (ascent + descent).
    double em = std::abs(logical.Height * scaleY);
    if (logical.Height >= 0) {
        const double cell = logical.Height == 0 ? kDefaultCellHeight : em;
        font.setPixelSize(100);
        em = cell * 100 / std::max(1.0, QFontMetricsF(font).height());
    }
    font.setPixelSize(std::clamp(static_cast<int>(std::lround(em)), 1, static_cast<int>(kMaxEmPixels)));
    if (logical.Width != 0) {
        const double natural = QFontMetricsF(font).averageCharWidth();
        if (natural > 0)
            font.setStretch(std::clamp(
                static_cast<int>(std::lround(100 * std::abs(logical.Width * scaleX) / natural)), 1, 4000));
    }
    return font;
}

} // namespace

bool TWmfPlayer::PlayTextRecord(std::uint16_t function, const TWmfParams& p)
{
    if (function == wmf::TextOut) {
        const std::size_t length = std::min<std::size_t>(p.U16(0), kMaxTextBytes);
        const std::size_t padded = (length + 1) / 2 * 2;
        const auto bytes = p.Bytes(2, length);
        if (bytes.empty()) return true;
        const std::size_t after = (2 + padded) / 2;
        DrawText(QPointF(p.I16(after + 1), p.I16(after)), bytes, {}, 0, {});
        return true;
    }
    if (function != wmf::ExtTextOut) return false;
    const std::size_t length = std::min<std::size_t>(p.U16(2), kMaxTextBytes);
    const std::uint16_t options = p.U16(3);
    const bool hasRect = (options & (wmf::EtoOpaque | wmf::EtoClipped)) != 0;
    const std::size_t textAt = hasRect ? 16 : 8;
    const auto bytes = p.Bytes(textAt, length);
    const QRectF rect = hasRect ? MapRect(p.I16(4), p.I16(5), p.I16(6), p.I16(7)) : QRectF();
    std::vector<int> dx;
    const std::size_t dxWord = (textAt + (length + 1) / 2 * 2) / 2;
    if (!bytes.empty() && p.Has(dxWord + length))
        for (std::size_t i = 0; i < length; ++i)
            dx.push_back(p.I16(dxWord + i));
    DrawText(QPointF(p.I16(1), p.I16(0)), bytes, dx, options, rect);
    return true;
}

void TWmfPlayer::DrawText(QPointF reference, std::span<const std::uint8_t> bytes, const std::vector<int>& dx,
                          std::uint16_t options, const QRectF& deviceRect)
{
    const bool updateCp = (FDc.TextAlign & wmf::TaUpdateCp) != 0;
    const QPointF origin =
        updateCp ? Map(FDc.Position.x(), FDc.Position.y()) : Map(reference.x(), reference.y());
    if ((options & wmf::EtoOpaque) && Spend(deviceRect)) FPainter.fillRect(deviceRect, FDc.BkColor);
    if (bytes.empty()) return;

    const QFont font = DeviceFont(FDc.Font, ScaleX(), ScaleY());
    const QFontMetricsF metrics(font);
    const std::vector<TDecodedChar> chars = DecodeCharsetChars(bytes, FDc.Font.Charset);
    // Each character's pen position relative to the start: from the record's advances when it has them.
    std::vector<double> offsets;
    double width = 0;
    std::size_t byte = 0;
    for (const TDecodedChar& c : chars) {
        offsets.push_back(width);
        double advance = 0;
        if (!dx.empty()) {
            for (int i = 0; i < c.Bytes && byte < dx.size(); ++i, ++byte)
                advance += dx[byte];
            advance = std::abs(advance * ScaleX());
        } else {
            advance = metrics.horizontalAdvance(c.Text) + std::abs(FDc.TextCharExtra * ScaleX());
        }
        width += advance;
    }
    double x = 0;
    const std::uint16_t horizontal = FDc.TextAlign & wmf::TaCenter;
    if (horizontal == wmf::TaCenter)
        x = -width / 2;
    else if (horizontal == wmf::TaRight)
        x = -width;
    double baseline = metrics.ascent();
    const std::uint16_t vertical = FDc.TextAlign & wmf::TaBaseline;
    if (vertical == wmf::TaBaseline)
        baseline = 0;
    else if (vertical == wmf::TaBottom)
        baseline = -metrics.descent();

    const double angle = -FDc.Font.Escapement / 10.0;
    QTransform placement;
    placement.translate(origin.x(), origin.y());
    placement.rotate(angle);
    const QRectF box(x, baseline - metrics.ascent(), width, metrics.height());
    if (!Spend(placement.mapRect(box))) return;

    FPainter.save();
    if (options & wmf::EtoClipped) FPainter.setClipRect(deviceRect, Qt::IntersectClip);
    FPainter.setTransform(placement);
    if (FDc.BkMode == wmf::Opaque) FPainter.fillRect(box, FDc.BkColor);
    FPainter.setFont(font);
    FPainter.setPen(FDc.TextColor);
    if (dx.empty() && FDc.TextCharExtra == 0) { // whole, so that the font's kerning applies
        QString text;
        for (const TDecodedChar& c : chars)
            text += c.Text;
        FPainter.drawText(QPointF(x, baseline), text);
    } else {
        // Placed one by one, characters may pile up on each other: each counts for its own box.
        for (std::size_t i = 0; i < chars.size(); ++i) {
            const QRectF charBox(x + offsets[i], baseline - metrics.ascent(), metrics.maxWidth(),
                                 metrics.height());
            if (Spend(placement.mapRect(charBox)))
                FPainter.drawText(QPointF(x + offsets[i], baseline), chars[i].Text);
        }
    }
    FPainter.restore();
    if (updateCp && ScaleX() != 0)
        FDc.Position.rx() += (horizontal == wmf::TaRight ? -width : width) / std::abs(ScaleX());
}

} // namespace tavrin
