#include "ImgLib/WmfFile.h"

#include "ImgLib/ByteAccess.h"

#include <cstring>

namespace tavrin {
namespace {

using bytes::Read;

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kHeaderSize = 18;
constexpr std::size_t kRecordHeader = 6;
constexpr std::uint16_t kMetaEof = 0x0000;

} // namespace

TReadResult ParseWmf(std::span<const std::uint8_t> data, TWmfFile& file)
{
    std::size_t position = 0;
    if (data.size() >= 4 && Read<std::uint32_t>(data, 0) == kPlaceableKey) {
        if (data.size() < kPlaceableSize) return TReadResult::Failure(TruncatedFileError("WMF header"));
        file.Placeable = true;
        file.Left = Read<std::int16_t>(data, 6);
        file.Top = Read<std::int16_t>(data, 8);
        file.Right = Read<std::int16_t>(data, 10);
        file.Bottom = Read<std::int16_t>(data, 12);
        file.UnitsPerInch = Read<std::uint16_t>(data, 14);
        position = kPlaceableSize;
    }
    if (data.size() - position < kHeaderSize) return TReadResult::Failure(TruncatedFileError("WMF header"));
    const auto type = Read<std::uint16_t>(data, position);
    const auto headerWords = Read<std::uint16_t>(data, position + 2);
    if ((type != 1 && type != 2) || headerWords != kHeaderSize / 2)
        return TReadResult::Failure(DamagedFileError("no WMF header"));
    const std::size_t declaredEnd = position + std::size_t{Read<std::uint32_t>(data, position + 6)} * 2;
    file.ObjectCount = Read<std::uint16_t>(data, position + 10);
    position += kHeaderSize;
    const std::size_t first = position;

    while (position + kRecordHeader <= data.size()) {
        const std::size_t bytes = std::size_t{Read<std::uint32_t>(data, position)} * 2;
        const auto function = Read<std::uint16_t>(data, position + 4);
        if (function == kMetaEof) {
            file.Records = data.subspan(first, position - first);
            return TReadResult::Success();
        }
        if (bytes < kRecordHeader || bytes > data.size() - position)
            return TReadResult::Failure(bytes < kRecordHeader ? DamagedFileError("WMF record size")
                                                              : TruncatedFileError("WMF record"));
        position += bytes;
    }
    // Some writers leave out META_EOF; the file is whole if it is as long as its header says.
    if (position < data.size() || declaredEnd > data.size())
        return TReadResult::Failure(TruncatedFileError("no META_EOF"));
    file.Records = data.subspan(first, position - first);
    return TReadResult::Success();
}

} // namespace tavrin
