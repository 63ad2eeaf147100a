#include "ImgLib/BmpReader.h"

#include "ImgLib/ByteAccess.h"
#include "ImgLib/PictureSignature.h"
#include "ImgLib/PixelBudget.h"
#include "ImgLib/QtFormatReader.h"
#include "ImgLib/QtImageBridge.h"
#include "core/Bitmap32.h"

#include <cstdlib>
#include <cstring>
#include <vector>

namespace tavrin {
namespace {

using bytes::Read;
using bytes::Write;

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kV2HeaderSize = 52; // BITMAPINFOHEADER + RGB masks
constexpr std::uint32_t kV3HeaderSize = 56; // + alpha mask
constexpr std::uint32_t kV4HeaderSize = 108;

// The size the header claims, when there is a header to read.
bool HeaderSize(std::span<const std::uint8_t> data, std::int64_t& width, std::int64_t& height)
{
    if (data.size() < kFileHeaderSize + kCoreHeaderSize || data[0] != 'B' || data[1] != 'M') return false;
    const auto headerSize = Read<std::uint32_t>(data, kFileHeaderSize);
    if (headerSize == kCoreHeaderSize) {
        width = Read<std::uint16_t>(data, kFileHeaderSize + 4);
        height = Read<std::uint16_t>(data, kFileHeaderSize + 6);
        return true;
    }
    width = Read<std::int32_t>(data, kFileHeaderSize + 4);
    height = std::abs(std::int64_t{Read<std::int32_t>(data, kFileHeaderSize + 8)}); // negative: top row first
    return true;
}

// Qt reads the 40-byte and the 108/124-byte headers but not the 52- and 56-byte ones in between, which are
// the 40-byte header followed by the colour masks, exactly as a 108-byte header begins. Pad them to that.
std::vector<std::uint8_t> WithV4Header(std::span<const std::uint8_t> data)
{
    const auto headerSize = Read<std::uint32_t>(data, kFileHeaderSize);
    const std::size_t insertAt = kFileHeaderSize + headerSize;
    const std::size_t padding = kV4HeaderSize - headerSize;
    std::vector<std::uint8_t> upgraded(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(insertAt));
    upgraded.resize(upgraded.size() + padding, 0);
    upgraded.insert(upgraded.end(), data.begin() + static_cast<std::ptrdiff_t>(insertAt), data.end());
    Write<std::uint32_t>(upgraded, 2, static_cast<std::uint32_t>(upgraded.size()));
    Write<std::uint32_t>(upgraded, 10, Read<std::uint32_t>(data, 10) + static_cast<std::uint32_t>(padding));
    Write<std::uint32_t>(upgraded, kFileHeaderSize, kV4HeaderSize);
    return upgraded;
}

// Qt reads what is there of a file cut short and returns a partly drawn picture; check that the pixel data
// is all there first. Compressions other than RLE and plain rows are left to Qt.
bool PixelDataComplete(std::span<const std::uint8_t> data)
{
    if (data.size() < kFileHeaderSize + kCoreHeaderSize) return false;
    const std::uint64_t offset = Read<std::uint32_t>(data, 10);
    const auto headerSize = Read<std::uint32_t>(data, kFileHeaderSize);
    const bool core = headerSize == kCoreHeaderSize;
    if (!core && data.size() < kFileHeaderSize + 20) return false;
    const std::int64_t width = core ? Read<std::uint16_t>(data, 18) : Read<std::int32_t>(data, 18);
    const std::int64_t height =
        core ? Read<std::uint16_t>(data, 20) : std::abs(std::int64_t{Read<std::int32_t>(data, 22)});
    const unsigned bits = Read<std::uint16_t>(data, core ? 24 : 28);
    const std::uint32_t compression = core ? 0 : Read<std::uint32_t>(data, 30);
    if (compression == 0 || compression == 3 || compression == 6) {
        const std::uint64_t stride =
            (static_cast<std::uint64_t>(std::max<std::int64_t>(width, 0)) * bits + 31) / 32 * 4;
        return offset + stride * static_cast<std::uint64_t>(height) <= data.size();
    }
    if (compression != 1 && compression != 2) return true;
    // RLE: runs until the end-of-bitmap mark, or until every row has ended.
    std::uint64_t pos = offset;
    std::int64_t rows = 0;
    while (pos + 2 <= data.size()) {
        const unsigned count = data[pos], value = data[pos + 1];
        pos += 2;
        if (count != 0) continue;
        if (value == 0)
            ++rows;
        else if (value == 1)
            return true;
        else if (value == 2) {
            if (pos + 2 > data.size()) return false;
            rows += data[pos + 1];
            pos += 2;
        } else {
            const unsigned bytes = compression == 1 ? value : (value + 1) / 2;
            pos += (bytes + 1) & ~1u;
        }
    }
    return rows >= height && pos <= data.size();
}

bool HasShortMaskHeader(std::span<const std::uint8_t> data)
{
    if (data.size() < kFileHeaderSize + kV3HeaderSize) return false;
    const auto headerSize = Read<std::uint32_t>(data, kFileHeaderSize);
    return headerSize == kV2HeaderSize || headerSize == kV3HeaderSize;
}

} // namespace

TReadResult ReadBmp(std::span<const std::uint8_t> data, TBitmap32& out)
{
    // Qt would read any format it knows here, whatever it is told.
    if (!HasBmpSignature(data))
        return TReadResult::Failure(data.size() < 2 ? TruncatedFileError() : WrongFormatError("BMP"));
    std::int64_t width = 0, height = 0;
    if (HeaderSize(data, width, height) && width > 0 && height > 0 && !FitsPixelBudget(width, height))
        return TReadResult::Failure(PictureTooLargeError(width, height));
    if (!PixelDataComplete(data)) return TReadResult::Failure(TruncatedFileError());
    return HasShortMaskHeader(data) ? ReadWithQt(WithV4Header(data), "bmp", out)
                                    : ReadWithQt(data, "bmp", out);
}

void RegisterBmpFormat(TPictureFormatRegistry& registry)
{
    registry.Register({"비트맵", "bmp", &ReadBmp});
}

} // namespace tavrin
