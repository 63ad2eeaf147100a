#include "ImgLib/EmfHeader.h"

#include <cmath>
#include <cstring>
#include <string>
#include <uemf_safe.h>

namespace tavrin {
namespace {

constexpr std::uint32_t kEmrHeader = 1;
constexpr std::uint32_t kEmrEof = 14;
constexpr std::uint32_t kEmrComment = 70;
constexpr std::uint32_t kEmfPlusTag = 0x2B464D45; // "EMF+"
constexpr std::uint16_t kEmfPlusHeader = 0x4001;
constexpr std::uint16_t kEmfPlusDual = 0x0001;
constexpr std::uint32_t kEmfSignature = 0x464D4520; // " EMF"
constexpr std::size_t kMinHeaderSize = 88;
constexpr std::size_t kHeaderWithMicrometers = 108;
constexpr double kUnitsPerInch = 2540.0; // 0.01 mm
constexpr double kScreenDpi = 96.0;

std::uint32_t U32(std::span<const std::uint8_t> data, std::size_t offset)
{
    std::uint32_t v = 0;
    std::memcpy(&v, data.data() + offset, sizeof v);
    return v; // little-endian host
}
std::int32_t I32(std::span<const std::uint8_t> data, std::size_t offset)
{
    return static_cast<std::int32_t>(U32(data, offset));
}

// A file of EMF+ records only has no EMF drawing to show. (The converter is not given the EMF+ records:
// its parser of them reads past their ends on damaged files, and dual files carry the same drawing in EMF.)
bool IsEmfPlusOnly(std::span<const std::uint8_t> data, std::size_t record, std::uint32_t size)
{
    if (size < 28 || U32(data, record + 12) != kEmfPlusTag) return false;
    std::uint16_t type = 0, flags = 0;
    std::memcpy(&type, data.data() + record + 16, 2);
    std::memcpy(&flags, data.data() + record + 18, 2);
    return type == kEmfPlusHeader && (flags & kEmfPlusDual) == 0;
}

// Records that set up state or objects and draw nothing by themselves.
bool SetsStateOnly(std::uint32_t type)
{
    return type == kEmrHeader || type == kEmrEof || type == kEmrComment || (type >= 9 && type <= 13) ||
           (type >= 16 && type <= 22) || type == 24 || type == 25 || (type >= 33 && type <= 40);
}

// Every record must lie inside the data, and its own counts and offsets inside the record: the converter
// trusts them.
TReadResult CheckRecordChain(std::span<const std::uint8_t> data)
{
    std::size_t position = 0;
    bool firstComment = true;
    bool draws = false;
    while (position + 8 <= data.size()) {
        const std::uint32_t type = U32(data, position);
        const std::uint32_t size = U32(data, position + 4);
        if (size < 8 || size % 4 != 0 || size > data.size() - position)
            return TReadResult::Failure(size > data.size() - position ? TruncatedFileError("EMF record")
                                                                      : DamagedFileError("EMF record size"));
        if (!U_emf_record_safe(reinterpret_cast<const char*>(data.data() + position)))
            return TReadResult::Failure(DamagedFileError("EMF record " + std::to_string(type)));
        if (type == kEmrComment) {
            if (firstComment && IsEmfPlusOnly(data, position, size))
                return TReadResult::Failure(UnsupportedFormatError("EMF+"));
            firstComment = false;
        }
        draws = draws || !SetsStateOnly(type);
        // A file that draws nothing has no picture, however large its frame says it is.
        if (type == kEmrEof) return draws ? TReadResult::Success() : TReadResult::Failure(NoPictureError());
        position += size;
    }
    return TReadResult::Failure(TruncatedFileError("no EMR_EOF"));
}

// The converter reads the header's description as two strings: the first up to its terminating zero, the
// second from there for as many characters as the whole description has. Both must lie inside the data.
bool DescriptionInside(std::span<const std::uint8_t> data)
{
    const std::uint64_t count = U32(data, 60);
    const std::uint64_t offset = U32(data, 64);
    if (offset == 0) return true; // no description: not read
    if (offset < kMinHeaderSize || offset % 2 != 0 || offset + 2 * count > data.size()) return false;
    std::uint64_t end = offset; // just past the first string's terminating zero
    for (;; end += 2) {
        if (end + 2 > data.size()) return false;
        if (data[end] == 0 && data[end + 1] == 0) break;
    }
    end += 2;
    return end + 2 * count <= data.size();
}

// The converter sizes its drawing from the bounds and divides by the device sizes.
bool DeviceFieldsSound(std::span<const std::uint8_t> data)
{
    const std::int64_t boundsWidth = std::int64_t{I32(data, 16)} - I32(data, 8);
    const std::int64_t boundsHeight = std::int64_t{I32(data, 20)} - I32(data, 12);
    constexpr std::int64_t kLimit = std::int64_t{1} << 30;
    const bool boundsFit = boundsWidth > -kLimit && boundsWidth < kLimit && boundsHeight > -kLimit &&
                           boundsHeight < kLimit;
    return boundsFit && I32(data, 72) > 0 && I32(data, 76) > 0 && I32(data, 80) > 0 && I32(data, 84) > 0;
}

// Reference-device pixels per 0.01 mm; the micrometre field is exact, the millimetre one is rounded.
double DevicePerUnit(std::int32_t devicePixels, std::int32_t micrometres, std::int32_t millimetres)
{
    if (devicePixels > 0 && micrometres > 0) return devicePixels / (micrometres / 10.0);
    if (devicePixels > 0 && millimetres > 0) return devicePixels / (millimetres * 100.0);
    return kScreenDpi / kUnitsPerInch;
}

std::int64_t ScreenPixels(std::int64_t units)
{
    return std::llround(units * kScreenDpi / kUnitsPerInch);
}

} // namespace

TReadResult ParseEmfHeader(std::span<const std::uint8_t> data, TEmfHeader& header)
{
    if (data.size() < kMinHeaderSize) return TReadResult::Failure(TruncatedFileError("EMF header"));
    const std::uint32_t headerSize = U32(data, 4);
    if (U32(data, 0) != kEmrHeader || U32(data, 40) != kEmfSignature || headerSize < kMinHeaderSize)
        return TReadResult::Failure(DamagedFileError("no EMF header"));
    if (!DescriptionInside(data)) return TReadResult::Failure(DamagedFileError("EMF description"));
    if (!DeviceFieldsSound(data)) return TReadResult::Failure(DamagedFileError("EMF device size"));
    if (TReadResult chain = CheckRecordChain(data); !chain) return chain;
    header.FrameLeft = I32(data, 24);
    header.FrameTop = I32(data, 28);
    header.FrameRight = I32(data, 32);
    header.FrameBottom = I32(data, 36);
    const bool hasMicrometres = headerSize >= kHeaderWithMicrometers;
    header.DevicePerUnitX = DevicePerUnit(I32(data, 72), hasMicrometres ? I32(data, 100) : 0, I32(data, 80));
    header.DevicePerUnitY = DevicePerUnit(I32(data, 76), hasMicrometres ? I32(data, 104) : 0, I32(data, 84));
    header.Width = ScreenPixels(std::int64_t{header.FrameRight} - header.FrameLeft + 1);
    header.Height = ScreenPixels(std::int64_t{header.FrameBottom} - header.FrameTop + 1);
    return TReadResult::Success();
}

} // namespace tavrin
