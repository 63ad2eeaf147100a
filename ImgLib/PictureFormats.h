#pragma once
// The picture formats this program can open. Each reader registers itself here with a description and its
// file extension; the open dialog's filter and the loader's choice of reader both come from this one list,
// so the dialog never offers a file that no reader can open.

#include "ImgLib/ReadResult.h"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

class TBitmap32;

// Decodes a whole file held in memory. On success `out` is the picture, fully opaque; on failure `out` is
// left as it was and the result carries the reason. The only exception a reader lets through is
// std::bad_alloc, when even a picture within the pixel budget does not fit; ReadPictureFile turns that
// into a message too.
using TPictureReader = TReadResult (*)(std::span<const std::uint8_t> data, TBitmap32& out);

// Decodes a file read from `file` (positioned at its start, `size` bytes long) as it goes, without holding
// it whole. Same contract as TPictureReader otherwise.
using TPictureStreamReader = TReadResult (*)(std::FILE* file, std::int64_t size, TBitmap32& out);

struct TPictureFormat
{
    std::string Description; // shown in the open dialog, e.g. "PNG 이미지"
    std::string Extension;   // lower case, without the dot, e.g. "png"
    TPictureReader Read = nullptr;
    TPictureStreamReader ReadStream = nullptr; // used for files when set
};

struct TPictureFilterEntry
{
    std::string Text;    // "PNG 이미지 (*.png)"
    std::string Pattern; // "*.png", or several joined by ';'
};

class TPictureFormatRegistry
{
  public:
    void Register(TPictureFormat format);

    // In the order of registration.
    const std::vector<TPictureFormat>& Formats() const { return FFormats; }

    // The format whose extension equals `extension`, compared without regard to ASCII case; null if none.
    const TPictureFormat* FindByExtension(std::string_view extension) const;

    // The open dialog's filter: one entry per format, the most recent registration first, preceded by an
    // "All" entry that combines them when there is more than one.
    std::vector<TPictureFilterEntry> FilterEntries() const;

  private:
    std::vector<TPictureFormat> FFormats;
};

// The readers of this program, registered on first use.
const TPictureFormatRegistry& PictureFormats();

} // namespace tavrin
