#include "ImgLib/BmpWriter.h"

#include "ImgLib/ByteWriter.h"
#include "core/Bitmap32.h"

#include <cstdint>
#include <limits>

namespace tavrin {
namespace {

using namespace bytes;

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;

std::uint64_t RowBytes(int width, int bitsPerPixel)
{
    return (static_cast<std::uint64_t>(width) * bitsPerPixel + 31) / 32 * 4;
}

void AppendDibRows32(const TBitmap32& bitmap, std::string& out)
{
    for (int y = bitmap.Height() - 1; y >= 0; --y) {
        const TColor32* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x) {
            const TColor32 p = row[x];
            const char bgr0[4] = {static_cast<char>(BlueOf(p)), static_cast<char>(GreenOf(p)),
                                  static_cast<char>(RedOf(p)), 0};
            out.append(bgr0, 4);
        }
    }
}

} // namespace

void AppendDibRows24(const TBitmap32& bitmap, std::string& out)
{
    const std::size_t rowBytes = RowBytes(bitmap.Width(), 24);
    std::size_t at = out.size();
    out.resize(at + rowBytes * static_cast<std::size_t>(bitmap.Height()), '\0');
    for (int y = bitmap.Height() - 1; y >= 0; --y, at += rowBytes) {
        const TColor32* row = bitmap.ScanLine(y);
        char* target = out.data() + at;
        for (int x = 0; x < bitmap.Width(); ++x, target += 3) {
            target[0] = static_cast<char>(BlueOf(row[x]));
            target[1] = static_cast<char>(GreenOf(row[x]));
            target[2] = static_cast<char>(RedOf(row[x]));
        }
    }
}

TWriteResult WriteBmp(const TBitmap32& bitmap, std::string& out, int bitsPerPixel)
{
    if (bitmap.Empty()) return TWriteResult::Failure(EmptyPictureError());
    if (bitsPerPixel != 32) bitsPerPixel = 24;
    const std::uint64_t imageBytes = RowBytes(bitmap.Width(), bitsPerPixel) * static_cast<std::uint64_t>(bitmap.Height());
    const std::uint64_t fileBytes = kFileHeaderBytes + kInfoHeaderBytes + imageBytes;
    if (fileBytes > std::numeric_limits<std::uint32_t>::max())
        return TWriteResult::Failure(TooLargeForFormatError("BMP", bitmap.Width(), bitmap.Height(), 32767));
    try {
        out.clear();
        out.reserve(static_cast<std::size_t>(fileBytes));
        out += "BM";
        Put32(out, static_cast<std::uint32_t>(fileBytes));
        Put32(out, 0);
        Put32(out, kFileHeaderBytes + kInfoHeaderBytes);
        Put32(out, kInfoHeaderBytes);
        Put32(out, static_cast<std::uint32_t>(bitmap.Width()));
        Put32(out, static_cast<std::uint32_t>(bitmap.Height())); // positive: bottom-up rows
        Put16(out, 1);
        Put16(out, static_cast<unsigned>(bitsPerPixel));
        Put32(out, 0); // BI_RGB
        Put32(out, static_cast<std::uint32_t>(imageBytes));
        Put32(out, 3780); // 96 dots per inch, in dots per metre
        Put32(out, 3780);
        Put32(out, 0);
        Put32(out, 0);
        if (bitsPerPixel == 32)
            AppendDibRows32(bitmap, out);
        else
            AppendDibRows24(bitmap, out);
    } catch (const std::bad_alloc&) {
        return TWriteResult::Failure(NotEnoughMemoryToWriteError());
    }
    return TWriteResult::Success();
}

} // namespace tavrin
