#include "ImgLib/PcxWriter.h"

#include "ImgLib/ByteWriter.h"
#include "core/Bitmap32.h"

#include <vector>

namespace tavrin {
namespace {

using namespace bytes;

constexpr int kMaxPcxSide = 65535;
constexpr unsigned kMaxRun = 63;

void AppendHeader(std::string& out, int width, int height, unsigned bytesPerLine)
{
    Put8(out, 0x0A); // ZSoft
    Put8(out, 5);    // version 3.0 and later, 24-bit capable
    Put8(out, 1);    // run-length encoding
    Put8(out, 8);    // bits per pixel per plane
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<unsigned>(width - 1));
    Put16(out, static_cast<unsigned>(height - 1));
    Put16(out, 96);
    Put16(out, 96);
    out.append(48, '\0'); // 16-colour palette, unused
    Put8(out, 0);
    Put8(out, 3); // planes
    Put16(out, bytesPerLine);
    Put16(out, 1); // colour
    Put16(out, 0);
    Put16(out, 0);
    out.append(54, '\0');
}

// One plane of one line. A run is a count byte (0xC0 + 1..63) and the value; a single value below 0xC0
// stands for itself.
void AppendRle(std::string& out, const std::uint8_t* data, unsigned count)
{
    unsigned i = 0;
    while (i < count) {
        const std::uint8_t value = data[i];
        unsigned run = 1;
        while (i + run < count && run < kMaxRun && data[i + run] == value)
            ++run;
        if (run > 1 || value >= 0xC0) Put8(out, 0xC0 + run);
        Put8(out, value);
        i += run;
    }
}

} // namespace

TWriteResult WritePcx(const TBitmap32& bitmap, std::string& out)
{
    if (bitmap.Empty()) return TWriteResult::Failure(EmptyPictureError());
    if (bitmap.Width() > kMaxPcxSide || bitmap.Height() > kMaxPcxSide)
        return TWriteResult::Failure(TooLargeForFormatError("PCX", bitmap.Width(), bitmap.Height(), kMaxPcxSide));
    try {
        const int width = bitmap.Width();
        const unsigned bytesPerLine = static_cast<unsigned>(width + (width & 1)); // even, as the format asks
        out.clear();
        AppendHeader(out, width, bitmap.Height(), bytesPerLine);
        std::vector<std::uint8_t> plane(bytesPerLine, 0); // the pad byte of an odd width stays 0
        for (int y = 0; y < bitmap.Height(); ++y) {
            const TColor32* row = bitmap.ScanLine(y);
            for (int shift : {16, 8, 0}) {
                for (int x = 0; x < width; ++x)
                    plane[static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(row[x] >> shift);
                AppendRle(out, plane.data(), bytesPerLine);
            }
        }
    } catch (const std::bad_alloc&) {
        return TWriteResult::Failure(NotEnoughMemoryToWriteError());
    }
    return TWriteResult::Success();
}

} // namespace tavrin
