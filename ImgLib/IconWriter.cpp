#include "ImgLib/IconWriter.h"

#include "ImgLib/BmpWriter.h"
#include "ImgLib/ByteWriter.h"
#include "ImgLib/GifIndexedWriter.h"
#include "core/Bitmap32.h"

#include <cstdint>

namespace tavrin {
namespace {

using namespace bytes;

constexpr int kMaxIconSide = 256;
constexpr std::uint32_t kDirectoryBytes = 6 + 16;
constexpr std::uint32_t kInfoHeaderBytes = 40;

std::uint32_t RowBytes(int width, int bitsPerPixel)
{
    return static_cast<std::uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
}

bool FitsIcon(int width, int height)
{
    return width > 0 && height > 0 && width <= kMaxIconSide && height <= kMaxIconSide;
}

// ICONDIR, its one entry and the image's BITMAPINFOHEADER (height doubled for the mask).
void AppendHeaders(std::string& out, int width, int height, int bitsPerPixel, TIconKind kind)
{
    const std::uint32_t paletteBytes = bitsPerPixel == 8 ? 256 * 4 : 0;
    const std::uint32_t pixelBytes = RowBytes(width, bitsPerPixel) * static_cast<std::uint32_t>(height);
    const std::uint32_t maskBytes = RowBytes(width, 1) * static_cast<std::uint32_t>(height);
    Put16(out, 0);
    Put16(out, static_cast<unsigned>(kind));
    Put16(out, 1);
    Put8(out, static_cast<unsigned>(width & 0xFF)); // 256 is written as 0
    Put8(out, static_cast<unsigned>(height & 0xFF));
    Put8(out, 0); // colour count: 0 for 8 bits and above
    Put8(out, 0);
    if (kind == TIconKind::ikCursor) {
        Put16(out, 0); // hotspot x
        Put16(out, 0); // hotspot y
    } else {
        Put16(out, 1);
        Put16(out, static_cast<unsigned>(bitsPerPixel));
    }
    Put32(out, kInfoHeaderBytes + paletteBytes + pixelBytes + maskBytes);
    Put32(out, kDirectoryBytes);
    Put32(out, kInfoHeaderBytes);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height) * 2);
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bitsPerPixel));
    Put32(out, 0);
    Put32(out, pixelBytes + maskBytes);
    out.append(16, '\0');
}

void AppendOpaqueMask(std::string& out, int width, int height)
{
    out.append(static_cast<std::size_t>(RowBytes(width, 1)) * static_cast<std::size_t>(height), '\0');
}

} // namespace

TWriteResult WriteIcon24(const TBitmap32& bitmap, TIconKind kind, std::string& out)
{
    if (bitmap.Empty()) return TWriteResult::Failure(EmptyPictureError());
    if (!FitsIcon(bitmap.Width(), bitmap.Height()))
        return TWriteResult::Failure(TooLargeForFormatError(kind == TIconKind::ikIcon ? "ICO" : "CUR",
                                                            bitmap.Width(), bitmap.Height(), kMaxIconSide));
    out.clear();
    AppendHeaders(out, bitmap.Width(), bitmap.Height(), 24, kind);
    AppendDibRows24(bitmap, out);
    AppendOpaqueMask(out, bitmap.Width(), bitmap.Height());
    return TWriteResult::Success();
}

TWriteResult WriteIcon8(const TIndexedImage& image, TIconKind kind, std::string& out)
{
    if (image.Empty()) return TWriteResult::Failure(EmptyPictureError());
    if (!FitsIcon(image.Width, image.Height))
        return TWriteResult::Failure(TooLargeForFormatError(kind == TIconKind::ikIcon ? "ICO" : "CUR", image.Width,
                                                            image.Height, kMaxIconSide));
    out.clear();
    AppendHeaders(out, image.Width, image.Height, 8, kind);
    for (std::size_t i = 0; i < 256; ++i) {
        const TRgb c = i < image.Palette.size() ? image.Palette[i] : TRgb{};
        const char bgr0[4] = {static_cast<char>(c.B), static_cast<char>(c.G), static_cast<char>(c.R), 0};
        out.append(bgr0, 4);
    }
    const std::size_t rowBytes = RowBytes(image.Width, 8);
    for (int y = image.Height - 1; y >= 0; --y) {
        const auto* row = image.Indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(image.Width);
        out.append(reinterpret_cast<const char*>(row), static_cast<std::size_t>(image.Width));
        out.append(rowBytes - static_cast<std::size_t>(image.Width), '\0');
    }
    AppendOpaqueMask(out, image.Width, image.Height);
    return TWriteResult::Success();
}

} // namespace tavrin
