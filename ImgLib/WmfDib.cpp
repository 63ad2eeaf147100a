#include "ImgLib/WmfDib.h"

#include "ImgLib/ByteAccess.h"
#include "ImgLib/QtFormatReader.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace tavrin {
namespace {

using bytes::Read;
using bytes::Write;

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBitFields = 3;
constexpr std::uint32_t kAlphaBitFields = 6;

// A bitmap inside a metafile is decoded beside the picture it is drawn on; it may cost no more than the
// little the picture's memory allows beyond itself (64 MB at four bytes a pixel).
constexpr std::int64_t kMaxDibPixels = std::int64_t{16} << 20;

// Bytes between the start of the DIB and its pixels: header, colour masks, colour table.
std::uint64_t PixelOffset(std::span<const std::uint8_t> dib)
{
    const auto headerSize = Read<std::uint32_t>(dib, 0);
    if (headerSize == kCoreHeaderSize) {
        const auto bits = Read<std::uint16_t>(dib, 10);
        return headerSize + (bits <= 8 ? (std::uint64_t{1} << bits) * 3 : 0);
    }
    const auto bits = Read<std::uint16_t>(dib, 14);
    const auto compression = Read<std::uint32_t>(dib, 16);
    const auto used = Read<std::uint32_t>(dib, 32);
    std::uint64_t masks = 0;
    if (headerSize == kInfoHeaderSize && compression == kBitFields)
        masks = 12;
    else if (headerSize == kInfoHeaderSize && compression == kAlphaBitFields)
        masks = 16;
    const std::uint64_t colours = used != 0 ? used : (bits <= 8 ? std::uint64_t{1} << bits : 0);
    return headerSize + masks + colours * 4;
}

} // namespace

QImage DibToImage(std::span<const std::uint8_t> dib, bool paletteIndices)
{
    if (paletteIndices || dib.size() < kCoreHeaderSize) return {};
    const auto headerSize = Read<std::uint32_t>(dib, 0);
    if (headerSize != kCoreHeaderSize && (headerSize < kInfoHeaderSize || dib.size() < kInfoHeaderSize))
        return {};
    const std::uint64_t offset = PixelOffset(dib);
    if (offset > dib.size()) return {};
    const std::int64_t width = headerSize == kCoreHeaderSize ? Read<std::uint16_t>(dib, 4) : Read<std::int32_t>(dib, 4);
    const std::int64_t height = headerSize == kCoreHeaderSize ? Read<std::uint16_t>(dib, 6)
                                                              : std::abs(std::int64_t{Read<std::int32_t>(dib, 8)});
    if (width <= 0 || height <= 0 || width * height > kMaxDibPixels) return {};
    // Qt reads a DIB as a BMP file: give it the file header in front.
    std::vector<std::uint8_t> file(kFileHeaderSize + dib.size());
    file[0] = 'B';
    file[1] = 'M';
    Write<std::uint32_t>(file, 2, static_cast<std::uint32_t>(file.size()));
    Write<std::uint32_t>(file, 10, static_cast<std::uint32_t>(kFileHeaderSize + offset));
    std::memcpy(file.data() + kFileHeaderSize, dib.data(), dib.size());
    QImage image;
    if (!ReadWithQt(file, "bmp", image)) return {};
    return image;
}

QImage DibPattern(const TWmfParams& p)
{
    return DibToImage(p.BytesFrom(4), p.U16(1) == 1);
}

} // namespace tavrin
