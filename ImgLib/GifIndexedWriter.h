#pragma once
// Writing a picture that already has its palette as a GIF89a file, in memory. No colour reduction happens
// here: the indices and the palette go into the file as they are. The caller puts the bytes on disk.

#include "ImgLib/SystemPalette.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrin {

// An 8-bit paletted picture: Width x Height indices into Palette, row by row, top row first.
struct TIndexedImage
{
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Indices;
    std::vector<TRgb> Palette; // 1 to 256 entries; every index must be below its size

    bool Empty() const { return Width <= 0 || Height <= 0; }
};

// Encodes `image` as a one-picture GIF89a file into `out`, its palette as the global colour table (padded
// with black to the next power of two). With a transparent index, one graphic control extension marks that
// entry transparent (disposal, user input and delay zero). Returns false with a Korean reason in `reason`
// and `out` untouched when the picture cannot be written; never throws.
bool WriteIndexedGif(const TIndexedImage& image, std::optional<std::uint8_t> transparentIndex,
                     std::string& out, std::string& reason);

} // namespace tavrin
