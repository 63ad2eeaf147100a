#include "ImgLib/GifWriter.h"

#include "ImgLib/ErrorDiffusion.h"
#include "ImgLib/OctreeQuantizer.h"
#include "core/Bitmap32.h"

#include <new>

namespace tavrin {
namespace {

constexpr int kMaxGifSide = 65535;
constexpr int kFirstQuantizedEntry = 10;

std::vector<TRgb> PaletteFor(const std::vector<TRgb>& quantized)
{
    std::vector<TRgb> palette(kHalftoneColorCount);
    const auto& statics = StaticSystemColors();
    for (int i = 0; i < kStaticColorCount; ++i)
        palette[static_cast<std::size_t>(StaticColorIndex(i))] = statics[static_cast<std::size_t>(i)];
    for (std::size_t i = 0; i < quantized.size() && i < kQuantizedColorCount; ++i)
        palette[kFirstQuantizedEntry + i] = quantized[i];
    return palette;
}

// A picture of few colours maps each pixel to its own colour; there is no error to spread.
std::vector<std::uint8_t> MapExactly(const TBitmap32& bitmap, const std::vector<TRgb>& palette)
{
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(bitmap.Width()) * static_cast<std::size_t>(bitmap.Height()));
    std::size_t at = 0;
    std::uint32_t previous = 0xFFFFFFFF;
    std::uint8_t previousIndex = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        const TColor32* row = bitmap.ScanLine(y);
        for (int x = 0; x < bitmap.Width(); ++x, ++at) {
            const std::uint32_t rgb = row[x] & 0xFFFFFF;
            if (rgb != previous) {
                previous = rgb;
                previousIndex = static_cast<std::uint8_t>(
                    NearestPaletteIndex(palette, RedOf(rgb), GreenOf(rgb), BlueOf(rgb)));
            }
            indices[at] = previousIndex;
        }
    }
    return indices;
}

} // namespace

TIndexedImage QuantizeWithStaticColors(const TBitmap32& bitmap)
{
    TIndexedImage image;
    image.Width = bitmap.Width();
    image.Height = bitmap.Height();
    const std::vector<TRgb> few = DistinctColors(bitmap, kQuantizedColorCount);
    const bool exact = !few.empty() || bitmap.Empty();
    image.Palette = PaletteFor(exact ? few : OctreePalette(bitmap, kQuantizedColorCount));
    image.Indices = exact ? MapExactly(bitmap, image.Palette) : DiffuseToPalette(bitmap, image.Palette);
    return image;
}

TWriteResult WriteGif(const TBitmap32& bitmap, std::string& out)
{
    if (bitmap.Empty()) return TWriteResult::Failure(EmptyPictureError());
    if (bitmap.Width() > kMaxGifSide || bitmap.Height() > kMaxGifSide)
        return TWriteResult::Failure(TooLargeForFormatError("GIF", bitmap.Width(), bitmap.Height(), kMaxGifSide));
    try {
        const TIndexedImage image = QuantizeWithStaticColors(bitmap);
        std::string reason;
        if (!WriteIndexedGif(image, std::nullopt, out, reason)) return TWriteResult::Failure(reason);
    } catch (const std::bad_alloc&) {
        return TWriteResult::Failure(NotEnoughMemoryToWriteError());
    }
    return TWriteResult::Success();
}

} // namespace tavrin
