#pragma once
// Reading a picture file from disk with a given format's reader.

#include "ImgLib/PictureFormats.h"
#include "ImgLib/ReadResult.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tavrin {

class TBitmap32;

// Files larger than this are refused unread: no picture within the pixel budget needs more.
inline constexpr std::int64_t kMaxPictureFileBytes = std::int64_t{2} << 30;

// The whole file, or the reason it could not be read. `path` is in the file system's encoding.
TReadResult ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes);

// Reads `path` with `format`'s reader. On failure `out` is unchanged and the error names the file.
TReadResult ReadPictureFile(const std::string& path, const TPictureFormat& format, TBitmap32& out);

} // namespace tavrin
